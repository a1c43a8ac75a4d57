#include "book.h"

#include <cmath>

namespace book {

namespace {

QByteArrayView trimmedBlanks(QByteArrayView bytes) {
    while (bytes.startsWith(' '))
        bytes = bytes.sliced(1);
    while (bytes.endsWith(' '))
        bytes.chop(1);
    return bytes;
}

} // namespace

EndRecord findEndRecord(const RecordFile& file) {
    const int last = std::min(kEndSearchLimit, file.recordCount());
    // The marks are ASCII, and in CP932 neither a blank nor an ASCII letter starts a
    // two-byte character: the stored bytes tell a mark without decoding 1,241 texts.
    for (int r = 1; r <= last; ++r) {
        const QByteArray english = file.readEnglishBytes(r);
        const QByteArrayView mark = trimmedBlanks(english);
        if (mark == "EOF")
            return {r, BookState::Valid};
        if (mark == "Fin.")
            return {r, BookState::Obsolete};
    }
    return {};
}

long long roundHalfEven(double value) { return std::llrint(std::nearbyint(value)); }

int classCount(int eofRecord) {
    return int(roundHalfEven((eofRecord - 52) / double(kRecordsPerClass))) + 1;
}

QStringList listClasses(const RecordFile& file, int eofRecord) {
    QStringList names;
    const int count = classCount(eofRecord);
    for (int k = 0; k < count; ++k)
        names << file.read(classHeaderRecord(k)).trimmed().japanese;
    return names;
}

std::optional<int> findClassByName(const RecordFile& file, int eofRecord, const QString& name) {
    const int count = classCount(eofRecord);
    for (int k = 0; k < count; ++k) {
        if (file.read(classHeaderRecord(k)).trimmed().japanese == name)
            return k;
    }
    return std::nullopt;
}

WriteStatus resetLearningData(RecordFile& file, int eofRecord) {
    // Without an end record there is no book to reset; writing records 1 to 19 would
    // overwrite the first class of whatever the file holds.
    if (eofRecord < 1)
        return WriteStatus::BadRecordNumber;
    // Keep going after a failed write so that as much as possible is reset; report the first.
    WriteStatus first = WriteStatus::Ok;
    auto keep = [&first](WriteStatus status) {
        if (first == WriteStatus::Ok)
            first = status;
    };
    for (int r = 1; r <= eofRecord + 1; ++r) {
        WordRecord record = file.read(r).trimmed();
        record.id = r;
        record.modeCount = {};
        keep(file.write(r, record));
    }
    for (int r = eofRecord + 2; r <= eofRecord + kTrailerRecords; ++r)
        keep(file.write(r, WordRecord{r, QStringLiteral("0"), QStringLiteral("0"), {}}));
    return first;
}

} // namespace book
