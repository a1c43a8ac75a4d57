// Arbitrary bytes as a word list, as Open and velbook read it: reading must refuse or
// accept, never crash; the words of a list it accepts, saved as a CSV list, read back the
// same. (A TSV list has no header row, so a first word that reads as column names may
// be refused on its way back; velbook export then says so.)
#include "book/list_writer.h"
#include "book/word_list.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const book::ParsedList parsed = book::parseWordList(QByteArrayView(data, qsizetype(size)));
    if (!parsed.problems.isEmpty())
        return 0;
    for (const QByteArray& list :
         {book::bookToCsv(parsed.content), book::bookToTsv(parsed.content)}) {
        const book::Reason why = book::listReadBackProblem(parsed.content, list);
        if (!why.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(why.english));
            std::abort();
        }
    }
    return 0;
}
