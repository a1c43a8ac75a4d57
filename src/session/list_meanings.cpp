#include "list_meanings.h"

#include "book/book_lists.h"
#include "book/cp932.h"

#include <QDir>

#include <algorithm>

namespace session {

namespace {

// Words beyond these are only counted: the text must fit the screen.
constexpr int kListedWords = 20;

// The read list's content, problems and title in `list`.
void takeParsed(ListToOpen& list, const book::ParsedList& parsed) {
    list.title = book::listTitle(parsed, list.path);
    list.content = parsed.content;
    list.problems = listProblemTexts(parsed);
    list.problemCount = parsed.problemCount;
}

} // namespace

void proposeMissingMeanings(ListToOpen& list, const ProposerAccess& proposer) {
    if (!list.accepted() && proposer && lacksMeanings(list.bytes))
        proposeMeanings(list, proposer());
}

bool lacksMeanings(const QByteArray& bytes) {
    book::ListMeanings probe;
    probe.proposals = [](const QString&) { return QStringList(); };
    book::parseWordList(bytes, &probe);
    return !probe.unfilled.isEmpty();
}

void proposeMeanings(ListToOpen& list, const dictionary::MeaningProposer& proposer) {
    if (!proposer.hasDictionaries()) {
        list.problems.prepend(dictionary::MeaningProposer::missingText().japanese);
        ++list.problemCount;
        return;
    }
    QHash<QString, QStringList> proposals;
    book::ListMeanings meanings;
    meanings.proposals = [&](const QString& english) {
        auto found = proposals.find(english);
        if (found == proposals.end())
            found = proposals.insert(
                english,
                proposer.meaningsFor(english, dictionary::MeaningProposer::kListProposals));
        return *found;
    };
    const book::ParsedList parsed = book::parseWordList(list.bytes, &meanings);
    takeParsed(list, parsed);
    list.sources = proposer.sourcesText().japanese;
    for (const book::ListMeanings::Row& row : std::as_const(meanings.filled))
        list.toChoose.append({row.line, row.english, proposals.value(row.english), row.japanese});
    for (const book::ListMeanings::Row& row : std::as_const(meanings.unfilled))
        list.toChoose.append({row.line, row.english, proposals.value(row.english), {}});
    std::sort(list.toChoose.begin(), list.toChoose.end(),
              [](const MeaningToChoose& a, const MeaningToChoose& b) { return a.line < b.line; });
    // Each row left without a meaning is one problem, which the learner may yet solve by
    // typing one; any other problem refuses the list.
    if (parsed.problemCount == meanings.unfilled.size()) {
        list.problems.clear();
        list.problemCount = 0;
    } else
        list.toChoose.clear();
}

ListToOpen withMeanings(const ListToOpen& list, const QStringList& meanings) {
    book::ListMeanings chosen;
    chosen.proposals = [](const QString&) { return QStringList(); };
    for (qsizetype i = 0; i < list.toChoose.size(); ++i)
        chosen.chosen.insert(list.toChoose[i].line, book::trimBlanks(meanings.value(i)));
    ListToOpen result = list;
    result.toChoose.clear();
    takeParsed(result, book::parseWordList(list.bytes, &chosen));
    return result;
}

QString meaningsProblem(const ListToOpen& list, const QStringList& meanings) {
    const ListToOpen result = withMeanings(list, meanings);
    return result.accepted() ? QString() : listRefusalText(result);
}

QString meaningsConfirmationText(const ListToOpen& list) {
    QStringList unfound;
    for (const MeaningToChoose& row : list.toChoose) {
        if (row.meaning.isEmpty())
            unfound << row.english;
    }
    QStringList lines{
        QDir::toNativeSeparators(list.path),
        QStringLiteral("の %1 語に日本語がありません。辞書の訳語を %2 語に提案します。")
            .arg(list.toChoose.size())
            .arg(list.toChoose.size() - unfound.size()),
        QStringLiteral("日本語の欄で候補を選ぶか、書き換えて下さい。「はい」を押すまで"
                       "何も書き込みません。")};
    if (!unfound.isEmpty())
        lines << QStringLiteral("辞書に訳語がない単語（%1 語、日本語を入力して下さい）：%2")
                     .arg(unfound.size())
                     .arg(unfound.mid(0, kListedWords).join(QStringLiteral("、")) +
                          (unfound.size() > kListedWords
                               ? QStringLiteral(" ほか %1 語").arg(unfound.size() - kListedWords)
                               : QString()));
    lines << list.sources;
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace session
