// Arbitrary bytes as one slot and as a whole word book file: reading them must never
// crash, hang or read outside the data, however damaged they are.
#include "book/book.h"
#include "book/book_check.h"
#include "book/word_record.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    const book::WordRecord slot = book::decodeSlot(bytes);
    (void)slot.trimmed();

    QByteArray raw = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&raw);
    if (!buffer.open(QIODevice::ReadOnly))
        return 0;
    const book::RecordFile file(buffer);
    const book::EndRecord end = book::findEndRecord(file);
    const QStringList classes = book::listClasses(file, end.record);
    (void)book::findClassByName(file, end.record, classes.value(0));
    buffer.seek(0);
    (void)book::checkBook(buffer);
    return 0;
}
