#include "word_list_open.h"

#include "failure_text.h"
#include "list_meanings.h"

#include "book/book_lists.h"
#include "book/cp932.h"
#include "book/whole_file.h"

#include <QDir>
#include <QFileInfo>

namespace session {

namespace {

// Problems beyond these are only counted: the box must fit the screen.
constexpr int kListedProblems = 10;

} // namespace

ListToOpen readListToOpen(const QString& path, const ProposerAccess& proposer) {
    ListToOpen list{path, QFileInfo(path).completeBaseName(), {}, {}};
    book::FileFailure failure;
    const std::optional<QByteArray> bytes =
        book::readWholeFile(path, book::kMaxListBytes, &failure);
    if (!bytes) {
        list.problems << failureText(failure, path);
        return list;
    }
    const book::ParsedList parsed = book::parseWordList(*bytes);
    list.title = book::listTitle(parsed, path);
    list.content = parsed.content;
    list.problems = listProblemTexts(parsed);
    list.bytes = *bytes;
    if (!list.accepted() && proposer && lacksMeanings(list.bytes))
        proposeMeanings(list, proposer());
    return list;
}

QStringList listProblemTexts(const book::ParsedList& parsed) {
    QStringList texts;
    for (const book::ListProblem& problem : parsed.problems)
        texts << (problem.line > 0
                      ? QStringLiteral("行 %1：%2")
                            .arg(QString::number(problem.line), problem.reason.japanese)
                      : problem.reason.japanese);
    return texts;
}

bool isWordListPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"csv" || suffix == u"tsv" || suffix == u"txt";
}

QString listRefusalText(const ListToOpen& list) {
    QStringList lines{QDir::toNativeSeparators(list.path),
                      QStringLiteral("から単語帳を作れません。")};
    lines << list.problems.mid(0, kListedProblems);
    if (list.problems.size() > kListedProblems)
        lines << QStringLiteral("ほか %1 件").arg(list.problems.size() - kListedProblems);
    return lines.join(QStringLiteral("\r\n"));
}

QString listConfirmationText(const ListToOpen& list) {
    QStringList lines{QDir::toNativeSeparators(list.path),
                      QStringLiteral("から、次の %1 クラスの単語帳を作ります。")
                          .arg(list.content.classes.size())};
    for (const book::BookClass& bookClass : list.content.classes)
        lines << QStringLiteral("%1（%2語）")
                     .arg(bookClass.name, QString::number(bookClass.words.size()));
    return lines.join(QStringLiteral("\r\n"));
}

QString listTitleProblem(const QString& title) {
    return book::titleProblem(book::trimBlanks(title)).japanese;
}

} // namespace session
