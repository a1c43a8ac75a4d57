#pragma once

#include "book/list_reason.h"
#include "inflection.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace dictionary {

class DictdDictionary;
class EdictDictionary;

// A Japanese meaning proposed for an English word.
struct Proposal {
    QString meaning;
    bool fromFreedict = false;
    bool fromEdict = false;
    bool common = false; // EDICT marks the word common
    // The word it was found under when the word asked for is not in the dictionaries
    // ("apples" → "apple"); empty otherwise.
    QString baseWord;

    bool operator==(const Proposal&) const = default;
};

// Where the installed dictionaries are.
struct DictionaryPaths {
    QString freedictIndex;
    QString freedictData;
    QString edict;

    // Debian's: the packages dict-freedict-eng-jpn and edict.
    static DictionaryPaths installed();
};

// Proposes Japanese meanings for English words from the English-Japanese dictionaries on
// the machine (never the network): FreeDict's (dictd) and EDICT read by English gloss.
// Either may be missing. Loading reads and indexes both (0.15 s of processor time, some 35 MB):
// a window does it off its thread. Once made, it may be asked from any thread, a word
// taking well under a millisecond.
class MeaningProposer {
public:
    explicit MeaningProposer(const DictionaryPaths& paths = DictionaryPaths::installed());
    // From the files' bytes; an empty array stands for a missing file.
    MeaningProposer(const QByteArray& freedictIndex, const QByteArray& freedictData,
                    const QByteArray& edict);
    ~MeaningProposer();
    MeaningProposer(const MeaningProposer&) = delete;
    MeaningProposer& operator=(const MeaningProposer&) = delete;

    bool hasFreedict() const { return freedict_ != nullptr; }
    bool hasEdict() const { return edict_ != nullptr; }
    bool hasDictionaries() const { return hasFreedict() || hasEdict(); }

    // At most `max` meanings for the English word, best first: common words, meanings
    // both dictionaries give and short ones ahead. Each fits a word record's slot with
    // that English text in CP932; others are left out. A word neither dictionary has is
    // looked up as a plural, -ed, -ing or -ly form of another.
    QList<Proposal> proposalsFor(const QString& english, int max) const;
    // The meanings of proposalsFor alone.
    QStringList meaningsFor(const QString& english, int max) const;
    // How many proposals a row of a word list without a meaning chooses from.
    static constexpr int kListProposals = 10;

    // Names the dictionaries read and their licences.
    book::Reason sourcesText() const;

    // Says that no dictionary is installed and names the packages that bring them.
    static book::Reason missingText();
    // Names both dictionaries and their licences, installed or not.
    static book::Reason creditsText();

private:
    struct Candidate;
    // Adds what the dictionaries give for the word, taken as the given inflection of the
    // word asked for (nothing: the word itself).
    void collect(const QString& word, std::optional<Inflection> inflection,
                 QList<Candidate>& candidates) const;

    std::unique_ptr<DictdDictionary> freedict_;
    std::unique_ptr<EdictDictionary> edict_;
};

} // namespace dictionary
