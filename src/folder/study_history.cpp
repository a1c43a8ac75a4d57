#include "study_history.h"

#include "local_time.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace folder {

namespace {

constexpr std::array<QLatin1StringView, book::kModeCount> kModeNames{
    QLatin1StringView("reading"), QLatin1StringView("writing"), QLatin1StringView("listening")};
constexpr int kFieldCount = 9;
constexpr qint64 kReadPiece = 1024 * 1024;
constexpr int kSecondsPerDay = 24 * 60 * 60;
// No drill was played with this program before then.
const QDate kFirstDay(2000, 1, 1);

std::optional<int> number(QByteArrayView text, int minimum, int maximum) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

// The local date and time of a start: the form the program writes read directly, any
// other ISO 8601 form through Qt.
bool parseStart(QByteArrayView text, QDate* day, QTime* time) {
    if (parseLocalDateTime(text, day, time))
        return true;
    const QDateTime start = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
    *day = start.date();
    *time = start.time();
    return day->isValid() && time->isValid();
}

HistoryRow rowOf(const HistoryEntry& entry) {
    return {.start = QDateTime(entry.day, entry.time),
            .bookTitle = QString::fromUtf8(entry.bookTitle),
            .className = QString::fromUtf8(entry.className),
            .mode = entry.mode,
            .seconds = entry.seconds,
            .right = entry.right,
            .misses = entry.misses,
            .classMemorised = entry.classMemorised,
            .bookMemorised = entry.bookMemorised};
}

} // namespace

QString historyText(QString text) {
    for (QChar& c : text) {
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    }
    return text;
}

QByteArray historyHeader() {
    return "start\tbook\tclass\tmode\tseconds\tright\tmisses\tclass_memorised\t"
           "book_memorised\n";
}

QByteArray historyLine(const HistoryRow& row) {
    const QList<QByteArray> fields{row.start.toString(Qt::ISODate).toLatin1(),
                                   historyText(row.bookTitle).toUtf8(),
                                   historyText(row.className).toUtf8(),
                                   QByteArray(kModeNames[row.mode].data()),
                                   QByteArray::number(row.seconds),
                                   QByteArray::number(row.right),
                                   QByteArray::number(row.misses),
                                   QByteArray::number(row.classMemorised),
                                   QByteArray::number(row.bookMemorised)};
    return fields.join('\t') + '\n';
}

std::optional<HistoryEntry> parseHistoryEntry(QByteArrayView line) {
    if (line.endsWith('\r'))
        line.chop(1);
    // Columns added later are left to whoever added them.
    std::array<QByteArrayView, kFieldCount> fields;
    for (int i = 0; i < kFieldCount; ++i) {
        const qsizetype tab = line.indexOf('\t');
        if (tab < 0 && i < kFieldCount - 1)
            return std::nullopt;
        fields[i] = tab < 0 ? line : line.first(tab);
        line = tab < 0 ? QByteArrayView() : line.sliced(tab + 1);
    }
    HistoryEntry entry;
    const auto mode = std::find(kModeNames.begin(), kModeNames.end(),
                                QLatin1StringView(fields[3].data(), fields[3].size()));
    const int most = std::numeric_limits<int>::max();
    const auto seconds = number(fields[4], 0, kSecondsPerDay);
    const auto right = number(fields[5], 0, most);
    const auto misses = number(fields[6], 0, most);
    const auto classMemorised = number(fields[7], 0, book::kWordsPerClass);
    const auto bookMemorised = number(fields[8], 0, book::kMaxClasses * book::kWordsPerClass);
    if (!parseStart(fields[0], &entry.day, &entry.time) || entry.day < kFirstDay ||
        mode == kModeNames.end() || !seconds || !right || !misses || !classMemorised ||
        !bookMemorised)
        return std::nullopt;
    entry.bookTitle = fields[1];
    entry.className = fields[2];
    entry.mode = book::Mode(mode - kModeNames.begin());
    entry.seconds = *seconds;
    entry.right = *right;
    entry.misses = *misses;
    entry.classMemorised = *classMemorised;
    entry.bookMemorised = *bookMemorised;
    return entry;
}

std::optional<HistoryRow> parseHistoryLine(QByteArrayView line) {
    const std::optional<HistoryEntry> entry = parseHistoryEntry(line);
    return entry ? std::optional(rowOf(*entry)) : std::nullopt;
}

bool appendHistoryRow(const QString& path, const HistoryRow& row, book::FileFailure* failure) {
    const QFileInfo info(path);
    // A folder or a FIFO of that name is no history to append to.
    if (info.exists() && !info.isFile()) {
        *failure = {book::FileFailure::Kind::NotRegular, {}};
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append)) {
        *failure = book::failureFromSystemText(file.errorString());
        return false;
    }
    QByteArray bytes;
    char last = '\n';
    if (file.size() == 0)
        bytes = historyHeader();
    else if (file.seek(file.size() - 1) && file.getChar(&last) && last != '\n')
        bytes = "\n";
    bytes += historyLine(row);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        *failure = book::failureFromSystemText(file.errorString());
        return false;
    }
    return true;
}

void forEachHistoryEntry(QByteArrayView lines,
                         const std::function<void(const HistoryEntry&)>& take) {
    while (!lines.isEmpty()) {
        const qsizetype end = lines.indexOf('\n');
        if (const std::optional<HistoryEntry> entry =
                parseHistoryEntry(end < 0 ? lines : lines.first(end)))
            take(*entry);
        lines = end < 0 ? QByteArrayView() : lines.sliced(end + 1);
    }
}

void scanHistory(const QString& path, const std::function<void(const HistoryEntry&)>& take,
                 qint64 maxBytes) {
    // A FIFO would never end; a folder holds no rows.
    if (!QFileInfo(path).isFile())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // Of a file read from its middle, the bytes up to the first line end are a piece of a
    // row (none, when the byte before the middle is a line end).
    const qint64 from = std::max<qint64>(0, file.size() - maxBytes);
    bool inPiece = from > 0 && file.seek(from - 1);
    QByteArray pending;
    while (true) {
        const QByteArray piece = file.read(kReadPiece);
        if (piece.isEmpty())
            break;
        pending += piece;
        if (inPiece) {
            const qsizetype end = pending.indexOf('\n');
            if (end < 0) {
                pending.clear();
                continue;
            }
            pending.remove(0, end + 1);
            inPiece = false;
        }
        const qsizetype whole = pending.lastIndexOf('\n') + 1;
        forEachHistoryEntry(QByteArrayView(pending).first(whole), take);
        pending.remove(0, whole);
    }
    forEachHistoryEntry(pending, take); // an unfinished last row
}

QList<HistoryRow> readHistory(const QString& path) {
    QList<HistoryRow> rows;
    scanHistory(path, [&rows](const HistoryEntry& entry) { rows << rowOf(entry); });
    return rows;
}

} // namespace folder
