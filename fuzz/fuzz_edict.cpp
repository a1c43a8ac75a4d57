// Arbitrary bytes as EDICT: loading never crashes nor hangs, and looking up words (the
// input's own glosses among them) and proposing meanings from it neither.
#include "dictionary/edict_dictionary.h"
#include "dictionary/meaning_proposer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const dictionary::EdictDictionary edict(bytes);

    QStringList words = {QStringLiteral("go"), QStringLiteral("to have"), QStringLiteral("apples"),
                         QStringLiteral("quickly")};
    const QList<QByteArray> fields = bytes.split('/');
    for (qsizetype i = 1; i < fields.size() && i <= 16; ++i)
        words.append(QString::fromLatin1(fields[i]));
    for (const QString& word : words) {
        for (const dictionary::EdictMatch& match : edict.lookup(word)) {
            if (match.reading.isEmpty() || match.sense < 0 || match.gloss < 0)
                std::abort();
        }
    }

    const dictionary::MeaningProposer proposer({}, {}, bytes);
    for (const QString& word : words) {
        if (proposer.proposalsFor(word, 3).size() > 3)
            std::abort();
    }
    return 0;
}
