#include "word_list_open.h"

#include "folder/failure_text.h"

#include "book/book_lists.h"
#include "book/cp932.h"
#include "book/whole_file.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QThread>

#include <memory>

namespace session {

namespace {

// Problems beyond these are only counted: the box must fit the screen.
constexpr int kListedProblems = 10;

} // namespace

ListToOpen readListToOpen(const QString& path) {
    ListToOpen list;
    list.path = path;
    list.title = QFileInfo(path).completeBaseName();
    book::FileFailure failure;
    const std::optional<QByteArray> bytes =
        book::readWholeFile(path, book::kMaxListBytes, &failure);
    if (!bytes) {
        list.problems << folder::failureText(failure, path);
        list.problemCount = 1;
        return list;
    }
    const book::ParsedList parsed = book::parseWordList(*bytes);
    list.title = book::listTitle(parsed, path);
    list.content = parsed.content;
    list.problemCount = parsed.problemCount;
    list.problems = listProblemTexts(parsed);
    list.bytes = *bytes;
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

ListToOpen readListToOpenAside(const QString& path) {
    ListToOpen list;
    QEventLoop waiting;
    const std::unique_ptr<QThread> reader(
        QThread::create([&list, &path] { list = readListToOpen(path); }));
    QObject::connect(reader.get(), &QThread::finished, &waiting, &QEventLoop::quit);
    reader->start();
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
    reader->wait();
    return list;
}

bool isWordListPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"csv" || suffix == u"tsv" || suffix == u"txt";
}

QString listRefusalText(const ListToOpen& list) {
    QStringList lines{QDir::toNativeSeparators(list.path),
                      QStringLiteral("から単語帳を作れません。")};
    lines << list.problems.mid(0, kListedProblems);
    if (list.problemCount > kListedProblems)
        lines << QStringLiteral("ほか %1 件").arg(list.problemCount - kListedProblems);
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
