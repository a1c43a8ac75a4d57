#include "book_check.h"

#include "book.h"
#include "cp932.h"
#include "file_report.h"
#include "learning.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <optional>

namespace book {

namespace {

// Damaged slots listed one by one before the rest are only counted.
constexpr int kListedSlotProblems = 10;

const char* const kModeNames[kModeCount] = {"reading", "writing", "listening"};

// Why the raw bytes of one slot are not a sound record; empty when they are.
QString slotProblem(QByteArrayView slot) {
    auto lengthAt = [&](qsizetype at) -> qsizetype {
        return at + 2 <= slot.size() ? qFromLittleEndian<quint16>(slot.data() + at) : 0;
    };
    const qsizetype englishLength = lengthAt(4);
    const qsizetype japaneseAt = 6 + englishLength;
    const qsizetype japaneseLength = japaneseAt + 2 <= kSlotSize ? lengthAt(japaneseAt) : 0;
    if (japaneseAt + 2 + japaneseLength + 2 * kModeCount > kSlotSize)
        return QStringLiteral("its string lengths (%1 and %2 bytes) run past the end of its "
                              "%3-byte slot")
            .arg(englishLength)
            .arg(japaneseLength)
            .arg(kSlotSize);
    const auto textProblem = [&](qsizetype at, qsizetype length, const char* which) {
        const QByteArrayView bytes =
            slot.sliced(std::min(at, slot.size()))
                .first(std::min(length, slot.size() - std::min(at, slot.size())));
        const QString text = decodeCp932(bytes);
        if (text.contains(QChar::ReplacementCharacter))
            return QStringLiteral("its %1 text is not Shift-JIS (CP932)")
                .arg(QLatin1StringView(which));
        if (const QString control = firstControlCharacter(text); !control.isEmpty())
            return QStringLiteral("its %1 text holds the control character %2")
                .arg(QLatin1StringView(which), control);
        return QString();
    };
    if (QString why = textProblem(6, englishLength, "English"); !why.isEmpty())
        return why;
    return textProblem(japaneseAt + 2, japaneseLength, "Japanese");
}

void checkSlots(const QByteArray& bytes, QStringList& problems) {
    int damaged = 0;
    for (qsizetype at = 0; at < bytes.size(); at += kSlotSize) {
        const QString why = slotProblem(QByteArrayView(bytes).sliced(at).first(
            std::min<qsizetype>(kSlotSize, bytes.size() - at)));
        if (why.isEmpty())
            continue;
        if (++damaged <= kListedSlotProblems)
            problems << QStringLiteral("record %1: %2").arg(at / kSlotSize + 1).arg(why);
    }
    if (damaged > kListedSlotProblems)
        problems << QStringLiteral("%1 more damaged records").arg(damaged - kListedSlotProblems);
}

// The statistics are counted up one answer at a time, so a drill cut short between a
// word's write and its totals' leaves them off: a warning, not a broken book.
void checkStatistics(const RecordFile& file, int eofRecord, QStringList& warnings) {
    const WordTotals totals = countWordTotals(file, eofRecord);
    struct Statistic {
        Trailer record;
        const char* name;
        const std::array<int, kModeCount>& counted;
    };
    const Statistic statistics[] = {
        {Trailer::MemorisedTotal, "memorised words", totals.memorised},
        {Trailer::ForgottenTotal, "forgotten words", totals.forgotten},
        {Trailer::MemorisedClasses, "fully memorised classes", totals.memorisedClasses},
    };
    for (const Statistic& statistic : statistics) {
        const int recordNo = trailerRecord(eofRecord, statistic.record);
        const WordRecord stored = file.read(recordNo);
        for (int m = 0; m < kModeCount; ++m) {
            if (stored.modeCount[m] != statistic.counted[m])
                warnings << QStringLiteral("the statistics record %1 counts %2 %3 in %4 mode, but "
                                           "the word records hold %5")
                                .arg(recordNo)
                                .arg(stored.modeCount[m])
                                .arg(QLatin1StringView(statistic.name),
                                     QLatin1StringView(kModeNames[m]))
                                .arg(statistic.counted[m]);
        }
    }
}

// Reads up to `limit` bytes; nothing, with the device's reason, when a read fails. Room
// grows with what arrives: most books are far smaller than the largest.
std::optional<QByteArray> readUpTo(QIODevice& device, qint64 limit) {
    const qint64 told = device.isSequential() ? 0 : device.size() - device.pos();
    QByteArray bytes(std::min(limit, std::max<qint64>(told + 1, 64 * kSlotSize)),
                     Qt::Uninitialized);
    qint64 done = 0;
    while (done < limit) {
        if (done == bytes.size())
            bytes.resize(std::min(limit, 2 * bytes.size()));
        const qint64 read = device.read(bytes.data() + done, bytes.size() - done);
        if (read < 0)
            return std::nullopt;
        if (read == 0)
            break;
        done += read;
    }
    bytes.truncate(done);
    return bytes;
}

} // namespace

BookCheck checkBook(QIODevice& device) {
    BookCheck check;
    std::optional<QByteArray> read = readUpTo(device, kMaxBookBytes + 1);
    if (!read) {
        check.problems << QStringLiteral("the file cannot be read: %1").arg(device.errorString());
        return check;
    }
    QByteArray& bytes = *read;
    if (bytes.isEmpty()) {
        check.problems << QStringLiteral("the file is empty");
        return check;
    }
    if (bytes.size() > kMaxBookBytes) {
        check.problems << QStringLiteral("the file is larger than any word book (at most %1 "
                                         "records of %2 bytes)")
                              .arg(kEndSearchLimit + kTrailerRecords)
                              .arg(kSlotSize);
        bytes.truncate(kMaxBookBytes);
    } else if (bytes.size() % kSlotSize != 0) {
        check.problems << QStringLiteral("the file size (%1 bytes) is not a whole number of "
                                         "%2-byte records")
                              .arg(bytes.size())
                              .arg(kSlotSize);
    }
    checkSlots(bytes, check.problems);

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const RecordFile file(buffer);
    const EndRecord end = findEndRecord(file);
    if (end.state == BookState::NoEndRecord) {
        check.problems << QStringLiteral("there is no end record: none of records 1 to %1 has the "
                                         "English text \"EOF\"")
                              .arg(kEndSearchLimit);
        return check;
    }
    check.classes = classCount(end.record);
    check.title = file.read(trailerRecord(end.record, Trailer::Title)).trimmed().english;
    if (end.state == BookState::Obsolete) {
        check.problems.prepend(QStringLiteral("record %1 holds \"Fin.\": this is an obsolete word "
                                              "book, which the program does not play")
                                   .arg(end.record));
        check.verdict = BookVerdict::Obsolete;
        return check;
    }
    if (end.record != endRecordFor(check.classes))
        check.problems << QStringLiteral("the end record %1 does not follow whole classes of %2 "
                                         "words")
                              .arg(end.record)
                              .arg(kWordsPerClass);
    const int needed = end.record + kTrailerRecords;
    if (bytes.size() < qsizetype(needed) * kSlotSize)
        check.problems << QStringLiteral("the file ends before record %1, the last of the %2 "
                                         "records behind the end record")
                              .arg(needed)
                              .arg(kTrailerRecords);
    checkStatistics(file, end.record, check.warnings);
    check.verdict = check.problems.isEmpty() ? BookVerdict::Valid : BookVerdict::Broken;
    return check;
}

BookCheck checkBook(const QString& path) {
    QFile file(path);
    if (const QString why = openRegularFile(file); !why.isEmpty()) {
        BookCheck check;
        check.problems << QStringLiteral("the file cannot be opened: %1").arg(why);
        return check;
    }
    return checkBook(file);
}

} // namespace book
