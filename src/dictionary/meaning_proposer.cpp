#include "meaning_proposer.h"

#include "book/cp932.h"
#include "book/word_record.h"
#include "dictd_dictionary.h"
#include "edict_dictionary.h"
#include "freedict_article.h"

#include <QFile>

#include <algorithm>
#include <limits>

namespace dictionary {

namespace {

constexpr qint64 kMaxDataBytes = 256 << 20;

// The file's bytes, no more than `limit`; empty when it cannot be read.
QByteArray readFile(const QString& path, qint64 limit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(limit);
}

// How much each thing a dictionary says about a meaning counts. Tuned over the default
// book (bench/meaning_proposals.sh), where the figures sit on a plateau: a quarter more or
// less of any weight moves them by less than one word in a hundred. FreeDict's sense
// order (Wiktionary's) said nothing there and is not counted.
constexpr double kFreedict = 8.0;      // a translation FreeDict gives
constexpr double kFreedictPlace = 1.5; // less for each translation before it in its sense
constexpr double kEdictCommon = 3.0;   // an EDICT word marked common
constexpr double kEdictSense = 1.0;    // less for each sense of the entry before the gloss's
constexpr double kEdictPlace = 1.5;    // less for each gloss before it in its sense
constexpr double kEdictUnusual = 3.0;  // less for an archaic, obsolete or slang word
constexpr double kEdictReading = 1.5;  // less for the kana of a word written in kanji
constexpr double kRepeated = 0.25;     // more for each further place that gives it
constexpr int kCountedRepeats = 2;
constexpr double kBothSources = 1.0; // more when both dictionaries give it
constexpr double kKatakana = 1.5;    // less for a word in katakana alone (a loanword)
constexpr double kLongerChar = 0.2;  // less for each character beyond kShort
constexpr qsizetype kShort = 3;
constexpr int kCountedPlaces = 3; // places further back count as the last one

constexpr double kAbsent = -std::numeric_limits<double>::infinity();

double place(int index) { return std::min(index, kCountedPlaces); }

// An adjective's meaning made into the adverb's: 静か → 静かに, 速い → 速く.
QString adverbOf(const EdictMatch& match) {
    const QString meaning = match.meaning();
    switch (match.kind) {
    case WordKind::AdjectiveI:
        return meaning.endsWith(u'い') ? meaning.chopped(1) + u'く' : QString();
    case WordKind::AdjectiveNa:
        return meaning + u'に';
    case WordKind::Adverb:
        return meaning;
    default:
        return {};
    }
}

bool startsUpper(const QString& word) { return !word.isEmpty() && word.front().isUpper(); }

bool isKatakana(const QString& meaning) {
    return std::all_of(meaning.cbegin(), meaning.cend(), [](QChar c) {
        return (c.unicode() >= 0x30A0 && c.unicode() <= 0x30FF) || c == u'・';
    });
}

// What one dictionary says about a meaning: its best place, and how many places give it.
struct Evidence {
    double best = kAbsent;
    int places = 0;

    void add(double score) {
        best = std::max(best, score);
        ++places;
    }
    bool given() const { return places > 0; }
    double score() const { return best + kRepeated * std::min(places - 1, kCountedRepeats); }
};

} // namespace

DictionaryPaths DictionaryPaths::installed() {
    return {QStringLiteral("/usr/share/dictd/freedict-eng-jpn.index"),
            QStringLiteral("/usr/share/dictd/freedict-eng-jpn.dict.dz"),
            QStringLiteral("/usr/share/edict/edict")};
}

struct MeaningProposer::Candidate {
    QString meaning;
    Evidence freedict;
    Evidence edict;
    bool common = false;

    double score() const {
        double total = 0;
        if (freedict.given())
            total += freedict.score();
        if (edict.given())
            total += edict.score();
        if (freedict.given() && edict.given())
            total += kBothSources;
        if (isKatakana(meaning))
            total -= kKatakana;
        return total - kLongerChar * double(std::max<qsizetype>(0, meaning.size() - kShort));
    }
};

MeaningProposer::MeaningProposer(const DictionaryPaths& paths)
    : MeaningProposer(readFile(paths.freedictIndex, DictdDictionary::kMaxIndexBytes),
                      readFile(paths.freedictData, kMaxDataBytes),
                      readFile(paths.edict, EdictDictionary::kMaxFileBytes)) {}

MeaningProposer::MeaningProposer(const QByteArray& freedictIndex, const QByteArray& freedictData,
                                 const QByteArray& edict) {
    if (!freedictIndex.isEmpty() && !freedictData.isEmpty())
        freedict_ = std::make_unique<DictdDictionary>(freedictIndex, freedictData);
    if (!edict.isEmpty())
        edict_ = std::make_unique<EdictDictionary>(edict);
}

MeaningProposer::~MeaningProposer() = default;

void MeaningProposer::collect(const QString& word, std::optional<Inflection> inflection,
                              QList<Candidate>& candidates) const {
    // An adverb's meaning comes from the adjective's kind (FreeDict does not say it); a
    // past form's from verbs alone.
    const bool adverb = inflection == Inflection::Adverb;
    const bool past = inflection == Inflection::Past;
    const auto candidate = [&](const QString& meaning) -> Candidate& {
        for (Candidate& known : candidates) {
            if (known.meaning == meaning)
                return known;
        }
        candidates.append({meaning, {}, {}, false});
        return candidates.last();
    };
    if (freedict_ && !adverb) {
        for (const QByteArray& text : freedict_->articles(word)) {
            const FreedictArticle parsed = parseFreedictArticle(text);
            // "Apple" the company is no meaning of "apple".
            if ((parsed.partOfSpeech == u"pn" && !startsUpper(word)) ||
                (past && parsed.partOfSpeech != u"v"))
                continue;
            for (const QStringList& translations : parsed.senses) {
                for (int i = 0; i < translations.size(); ++i) {
                    candidate(translations[i]).freedict.add(kFreedict - kFreedictPlace * place(i));
                }
            }
        }
    }
    if (edict_) {
        for (const EdictMatch& match : edict_->lookup(word)) {
            const QString meaning = adverb ? adverbOf(match) : match.meaning();
            if (meaning.isEmpty() || (past && match.kind != WordKind::Verb))
                continue;
            const double score =
                (match.common ? kEdictCommon : 0.0) - kEdictSense * place(match.sense) -
                kEdictPlace * place(match.gloss) - (match.unusual ? kEdictUnusual : 0.0);
            Candidate& found = candidate(meaning);
            found.edict.add(score);
            found.common = found.common || match.common;
            // 猫 is also written ねこ.
            if (!adverb && meaning != match.reading) {
                Candidate& kana = candidate(match.reading);
                kana.edict.add(score - kEdictReading);
                kana.common = kana.common || match.common;
            }
        }
    }
}

QList<Proposal> MeaningProposer::proposalsFor(const QString& english, int max) const {
    QList<Proposal> proposals;
    const QString word = book::trimBlanks(english);
    if (word.isEmpty() || max <= 0)
        return proposals;

    QList<Candidate> candidates;
    QString baseWord;
    collect(word, std::nullopt, candidates);
    if (candidates.isEmpty()) {
        for (const BaseForm& base : baseForms(word)) {
            collect(base.word, base.inflection, candidates);
            if (!candidates.isEmpty()) {
                baseWord = base.word;
                break;
            }
        }
    }
    // Stable: equal scores keep the dictionaries' own order.
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.score() > b.score(); });
    for (const Candidate& candidate : candidates) {
        if (proposals.size() >= max)
            break;
        if (book::encodeSlot({0, word, candidate.meaning, {}}).error != book::SlotError::None ||
            !book::firstControlCharacter(candidate.meaning).isEmpty())
            continue;
        proposals.append({candidate.meaning, candidate.freedict.given(), candidate.edict.given(),
                          candidate.common, baseWord});
    }
    return proposals;
}

namespace {

const book::Reason kFreedictCredit{
    QStringLiteral("FreeDict English-Japanese (FreeDict+WikDict, from Wiktionary; "
                   "Debian package dict-freedict-eng-jpn; CC BY-SA 3.0)"),
    QStringLiteral("FreeDict 英日辞書（FreeDict+WikDict、Wiktionary より。"
                   "Debian パッケージ dict-freedict-eng-jpn。CC BY-SA 3.0）")};
const book::Reason kEdictCredit{
    QStringLiteral("EDICT (© Electronic Dictionary Research and Development Group; "
                   "Debian package edict; CC BY-SA 3.0)"),
    QStringLiteral("EDICT（© Electronic Dictionary Research and Development Group。"
                   "Debian パッケージ edict。CC BY-SA 3.0）")};

} // namespace

QStringList MeaningProposer::meaningsFor(const QString& english, int max) const {
    QStringList meanings;
    for (const Proposal& proposal : proposalsFor(english, max))
        meanings.append(proposal.meaning);
    return meanings;
}

book::Reason MeaningProposer::creditsText() {
    return {QStringLiteral("Meanings are proposed from ") + kFreedictCredit.english +
                QStringLiteral(" and ") + kEdictCredit.english + u'.',
            QStringLiteral("訳語の候補の出典：") + kFreedictCredit.japanese + u'、' +
                kEdictCredit.japanese};
}

book::Reason MeaningProposer::sourcesText() const {
    const book::Reason& freedict = kFreedictCredit;
    const book::Reason& edict = kEdictCredit;
    book::Reason text{QStringLiteral("Meanings proposed from "), QStringLiteral("訳語の候補：")};
    if (hasFreedict())
        text = {text.english + freedict.english, text.japanese + freedict.japanese};
    if (hasFreedict() && hasEdict())
        text = {text.english + QStringLiteral(" and "), text.japanese + u'、'};
    if (hasEdict())
        text = {text.english + edict.english, text.japanese + edict.japanese};
    if (!hasDictionaries())
        return missingText();
    return {text.english + u'.', text.japanese};
}

book::Reason MeaningProposer::missingText() {
    return {QStringLiteral("no dictionary to propose meanings from is installed: install the "
                           "Debian packages dict-freedict-eng-jpn and edict."),
            QStringLiteral("訳語の候補を出す辞書がインストールされていません。Debian パッケージ "
                           "dict-freedict-eng-jpn と edict をインストールしてください。")};
}

} // namespace dictionary
