// Arbitrary bytes as a CP932 text file (display.txt, result.txt, a saved view): decoding
// never fails, and what it decodes encodes back to the same text.
#include "book/cp932.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = book::decodeCp932(QByteArrayView(data, qsizetype(size)));
    const QByteArray again = book::encodeCp932Lossy(text);
    // Every decoded character but the replacement mark has a CP932 form.
    if (!text.contains(QChar(QChar::ReplacementCharacter)))
        Q_ASSERT(book::decodeCp932(again) == text);
    (void)book::trimBlanks(text);
    return 0;
}
