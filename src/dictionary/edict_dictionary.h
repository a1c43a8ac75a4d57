#pragma once

#include "hashed_index.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace dictionary {

// What a meaning is, as far as the ranking needs to know.
enum class WordKind { Other, Noun, Verb, AdjectiveI, AdjectiveNa, Adverb };

// An EDICT entry one of whose English glosses is the word looked up.
struct EdictMatch {
    QString written;          // the first written form ("林檎"); empty for a kana-only entry
    QString reading;          // its kana ("りんご")
    bool common = false;      // marked (P)
    bool usuallyKana = false; // the matched sense is marked (uk): written in kana
    bool unusual = false;     // archaic, obsolete, slang, vulgar, …
    WordKind kind = WordKind::Other; // of the matched sense
    int sense = 0;                   // the matched sense, 0 for the first
    int gloss = 0;                   // the matched gloss's place in its sense, 0 for the first

    // The form a learner writes: the kana of a (uk) sense or of a kana-only entry,
    // otherwise the written form.
    QString meaning() const;
};

// EDICT (Japanese → English, EUC-JP, one entry a line:
//   林檎 [りんご] /(n) (1) (uk) apple (fruit)/(n) (2) (uk) apple tree/(P)/)
// read the other way round, by English gloss. A gloss matches a word when they are equal
// without case, without what is in parentheses and without a leading "to " (so
// "to hold (in one's hand)" is found by "hold"). Loading indexes the glosses by hash;
// entries are parsed only when looked up. Lines that do not read as entries are skipped.
class EdictDictionary {
public:
    explicit EdictDictionary(QByteArray file);

    // Each entry with a matching gloss once, at its first matching gloss, in file order.
    QList<EdictMatch> lookup(const QString& english) const;

    // Files beyond this are read only this far (the real one is 19 MB).
    static constexpr qsizetype kMaxFileBytes = qsizetype(256) << 20;

private:
    QByteArray file_;
    HashedIndex lines_; // the start of each line by the keys of its glosses
};

} // namespace dictionary
