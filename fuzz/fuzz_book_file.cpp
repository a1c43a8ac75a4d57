// Arbitrary bytes as one slot and as a whole word book file: reading them must never
// crash, hang or read outside the data, however damaged they are.
#include "book/book.h"
#include "book/book_check.h"
#include "book/word_record.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    const book::WordRecord slot = book::decodeSlot(bytes);
    (void)slot.trimmed();

    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Word.dat"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(bytes.data(), bytes.size());
    }
    book::RecordFile file(path);
    if (!file.open(book::RecordFile::Access::ReadOnly))
        return 0;
    const book::EndRecord end = book::findEndRecord(file);
    const QStringList classes = book::listClasses(file, end.record);
    (void)book::findClassByName(file, end.record, classes.value(0));
    (void)book::checkBook(path);
    return 0;
}
