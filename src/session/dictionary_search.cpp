#include "dictionary_search.h"

namespace session {

namespace {

constexpr int kShownMeanings = 8;

} // namespace

void addDictionaryMeanings(views::SearchView& view, const dictionary::MeaningProposer& proposer,
                           const QString& text) {
    if (view.hits > 0)
        return;
    const QList<dictionary::Proposal> proposals = proposer.proposalsFor(text, kShownMeanings);
    if (proposals.isEmpty())
        return;
    QStringList lines{QStringLiteral("\u3000"), QStringLiteral("   単語帳にはありません。"),
                      QStringLiteral("   （辞書より）")};
    for (const dictionary::Proposal& proposal : proposals)
        lines << QStringLiteral(" ・ ") + text + QStringLiteral("  ") + proposal.meaning +
                     (proposal.baseWord.isEmpty()
                          ? QString()
                          : QStringLiteral("  （%1 より）").arg(proposal.baseWord));
    lines << QStringLiteral(" ") << QStringLiteral("   ") + proposer.sourcesText().japanese
          << QStringLiteral("    \u3000");
    view.lines = lines;
}

} // namespace session
