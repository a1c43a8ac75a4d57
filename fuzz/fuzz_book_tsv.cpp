// Arbitrary bytes as a word list: parsing must refuse or accept, never crash.
#include "book/list_writer.h"
#include "book/word_list.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const book::ParsedList parsed = book::parseWordList(QByteArrayView(data, qsizetype(size)));
    if (parsed.problems.isEmpty())
        (void)book::bookToTsv(parsed.content);
    return 0;
}
