#include "book_writer.h"

#include "record_map.h"

#include <QBuffer>

namespace book {

namespace {

QString headerText(int classIndex) { return QStringLiteral("Class %1").arg(classIndex + 1); }

} // namespace

QString classHeaderEnglish(int classIndex) {
    // Made once for the classes a book holds: reading a list checks each class it opens
    // against its header's slot.
    static const QStringList kept = [] {
        QStringList texts;
        for (int k = 0; k < kMaxClasses; ++k)
            texts << headerText(k);
        return texts;
    }();
    return classIndex < kept.size() ? kept[classIndex] : headerText(classIndex);
}

WriteStatus writeBookRecords(RecordFile& file, const BookContent& content) {
    int r = 1;
    auto put = [&](const QString& english, const QString& japanese) {
        const WriteStatus status = file.write(r, WordRecord{r, english, japanese, {}});
        ++r;
        return status;
    };
    for (int k = 0; k < content.classes.size(); ++k) {
        const BookClass& bookClass = content.classes[k];
        if (WriteStatus s = put(classHeaderEnglish(k), bookClass.name); s != WriteStatus::Ok)
            return s;
        for (const BookWord& word : bookClass.words) {
            if (WriteStatus s = put(word.english, word.japanese); s != WriteStatus::Ok)
                return s;
        }
    }
    if (WriteStatus s = put(QStringLiteral("EOF"), QString()); s != WriteStatus::Ok)
        return s;
    if (WriteStatus s = put(content.title, QString()); s != WriteStatus::Ok)
        return s;
    while (r <= endRecordFor(int(content.classes.size())) + kTrailerRecords) {
        if (WriteStatus s = put(QStringLiteral("0"), QStringLiteral("0")); s != WriteStatus::Ok)
            return s;
    }
    return WriteStatus::Ok;
}

std::optional<QByteArray> bookFileBytes(const BookContent& content) {
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    RecordFile records(buffer);
    if (writeBookRecords(records, content) != WriteStatus::Ok)
        return std::nullopt;
    return buffer.data();
}

} // namespace book
