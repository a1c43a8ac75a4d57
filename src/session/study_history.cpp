#include "study_history.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <limits>

namespace session {

namespace {

constexpr std::array<QLatin1StringView, book::kModeCount> kModeNames{
    QLatin1StringView("reading"), QLatin1StringView("writing"), QLatin1StringView("listening")};
constexpr int kFieldCount = 9;
// Far more drills than anyone plays; a larger file is read only as far.
constexpr qint64 kMaxHistoryBytes = 16 * 1024 * 1024;

std::optional<int> number(QByteArrayView text, int minimum) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum)
        return std::nullopt;
    return value;
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

std::optional<HistoryRow> parseHistoryLine(QByteArrayView line) {
    if (line.endsWith('\r'))
        line.chop(1);
    // Columns added later are left to whoever added them.
    const QList<QByteArray> fields = line.toByteArray().split('\t');
    if (fields.size() < kFieldCount)
        return std::nullopt;
    HistoryRow row;
    row.start = QDateTime::fromString(QString::fromLatin1(fields[0]), Qt::ISODate);
    const auto mode = std::find(kModeNames.begin(), kModeNames.end(),
                                QLatin1StringView(fields[3].constData(), fields[3].size()));
    const auto seconds = number(fields[4], 0);
    const auto right = number(fields[5], 0);
    const auto misses = number(fields[6], 0);
    const auto classMemorised = number(fields[7], 0);
    const auto bookMemorised = number(fields[8], std::numeric_limits<int>::min());
    if (!row.start.isValid() || mode == kModeNames.end() || !seconds || !right || !misses ||
        !classMemorised || *classMemorised > book::kWordsPerClass || !bookMemorised)
        return std::nullopt;
    row.bookTitle = QString::fromUtf8(fields[1]);
    row.className = QString::fromUtf8(fields[2]);
    row.mode = book::Mode(mode - kModeNames.begin());
    row.seconds = *seconds;
    row.right = *right;
    row.misses = *misses;
    row.classMemorised = *classMemorised;
    row.bookMemorised = *bookMemorised;
    return row;
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

QList<HistoryRow> readHistory(const QString& path) {
    QList<HistoryRow> rows;
    const std::optional<QByteArray> bytes = book::readFileStart(path, kMaxHistoryBytes);
    if (!bytes)
        return rows;
    for (const QByteArray& line : bytes->split('\n')) {
        if (auto row = parseHistoryLine(line))
            rows << *row;
    }
    return rows;
}

} // namespace session
