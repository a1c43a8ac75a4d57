#include "inflection.h"

#include <algorithm>

namespace dictionary {

namespace {

bool isVowel(QChar c) { return QStringView(u"aeiou").contains(c.toLower()); }

// One rewrite of an ending: the word minus `cut` characters, plus `add`.
struct Rule {
    const char16_t* ending;
    qsizetype cut;
    const char16_t* add;
    Inflection inflection;
};

constexpr Rule kRules[] = {
    {u"ies", 3, u"y", Inflection::Plural},     {u"ves", 3, u"f", Inflection::Plural},
    {u"ves", 3, u"fe", Inflection::Plural},    {u"es", 2, u"", Inflection::Plural},
    {u"s", 1, u"", Inflection::Plural},        {u"ied", 3, u"y", Inflection::Past},
    {u"ed", 2, u"", Inflection::Past},         {u"ed", 1, u"", Inflection::Past},
    {u"ing", 3, u"", Inflection::Progressive}, {u"ing", 3, u"e", Inflection::Progressive},
    {u"ily", 3, u"y", Inflection::Adverb},     {u"ically", 4, u"", Inflection::Adverb},
    {u"ly", 2, u"", Inflection::Adverb},       {u"ly", 2, u"le", Inflection::Adverb},
    {u"ly", 1, u"", Inflection::Adverb},
};

} // namespace

QList<BaseForm> baseForms(const QString& word) {
    QList<BaseForm> forms;
    const auto add = [&](const QString& base, Inflection inflection) {
        // A stem needs a vowel: "bed" is no "b" + "-ed".
        if (base.size() < 2 || std::none_of(base.cbegin(), base.cend(), isVowel))
            return;
        for (const BaseForm& form : forms) {
            if (form.word == base)
                return;
        }
        forms.append({base, inflection});
    };
    for (const Rule& rule : kRules) {
        const QStringView ending(rule.ending);
        if (!word.endsWith(ending, Qt::CaseInsensitive) || word.size() <= ending.size() + 1)
            continue;
        if (rule.ending == QStringView(u"s") && (word.endsWith(u"ss") || word.endsWith(u"us")))
            continue;
        const QString stem = word.first(word.size() - rule.cut);
        add(stem + QString::fromUtf16(rule.add), rule.inflection);
        // "stopped", "running": the doubled consonant of a short stem goes too.
        const bool suffixOfItsOwn =
            rule.inflection == Inflection::Past || rule.inflection == Inflection::Progressive;
        if (suffixOfItsOwn && QStringView(rule.add).isEmpty() && stem.size() >= 3 &&
            stem.back() == stem.at(stem.size() - 2) && !isVowel(stem.back()))
            add(stem.chopped(1), rule.inflection);
    }
    return forms;
}

} // namespace dictionary
