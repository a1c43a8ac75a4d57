// Arbitrary bytes as a word list: parsing must refuse or accept, never crash.
#include "book/book_tsv.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const book::ParsedBook parsed = book::parseBookTsv(QByteArrayView(data, qsizetype(size)));
    if (parsed.problems.isEmpty())
        (void)book::bookToTsv(parsed.content);
    return 0;
}
