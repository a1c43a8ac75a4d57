// Arbitrary bytes as a dictd dictionary: the first byte says how much of the rest is the
// index, the remainder is the data (dictzip, gzip or plain text). Reading never crashes
// nor hangs, whatever the index points at; every headword of the index is looked up and
// its articles read as FreeDict's.
#include "dictionary/dictd_dictionary.h"
#include "dictionary/freedict_article.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const QByteArrayView rest(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const QByteArrayView index = rest.first(rest.size() * data[0] / 255);
    const dictionary::DictdDictionary dictionary(index.toByteArray(),
                                                 rest.sliced(index.size()).toByteArray());

    qsizetype at = 0;
    for (int lines = 0; lines < 64 && at < index.size(); ++lines) {
        qsizetype end = index.indexOf('\n', at);
        if (end < 0)
            end = index.size();
        const QByteArrayView line = index.sliced(at, end - at);
        at = end + 1;
        const qsizetype tab = line.indexOf('\t');
        for (const QByteArray& article :
             dictionary.articles(QString::fromUtf8(tab < 0 ? line : line.first(tab)))) {
            if (article.size() > dictionary::DictzipData::kMaxRead)
                std::abort();
            (void)dictionary::parseFreedictArticle(article);
        }
    }
    return 0;
}
