#include "book_lists.h"

#include "book.h"
#include "book_check.h"
#include "cp932.h"
#include "file_report.h"
#include "list_writer.h"
#include "record_map.h"
#include "whole_file.h"

#include <QFile>
#include <QFileInfo>

namespace book {

QString listTitle(const ParsedList& list, const QString& path) {
    return list.hasTitleLine ? list.content.title : QFileInfo(path).completeBaseName();
}

QStringList createBookFromList(const QString& listPath, const QString& outPath,
                               const std::optional<QString>& title, ListMeanings* meanings) {
    if (isSameFile(listPath, outPath))
        return {QStringLiteral("%1: the book would replace the list it is made from; name "
                               "another file for the book")
                    .arg(outPath)};
    FileFailure failure;
    const std::optional<QByteArray> bytes = readWholeFile(listPath, kMaxListBytes, &failure);
    if (!bytes)
        return {QStringLiteral("%1: %2").arg(listPath,
                                             fileFailureText(failure, listPath, kMaxListBytes))};
    ParsedList parsed = parseWordList(*bytes, meanings);
    int titleLine = 1;
    QString titleSource;
    if (title) {
        parsed.content.title = trimBlanks(*title);
        titleLine = 0;
        titleSource = QStringLiteral("--title: ");
    } else if (!parsed.hasTitleLine) {
        parsed.content.title = listTitle(parsed, listPath);
        titleLine = 0;
        titleSource = QStringLiteral("the file name as title: ");
    }
    if (const Reason why = titleProblem(parsed.content.title); !why.isEmpty()) {
        parsed.problems.prepend({titleLine, why.prefixed({titleSource, titleSource})});
        ++parsed.problemCount;
    }

    QStringList messages;
    for (const ListProblem& p : std::as_const(parsed.problems)) {
        messages << (p.line > 0 ? QStringLiteral("%1:%2: %3")
                                      .arg(listPath, QString::number(p.line), p.reason.english)
                                : QStringLiteral("%1: %2").arg(listPath, p.reason.english));
    }
    if (const qsizetype more = parsed.problemCount - messages.size(); more > 0)
        messages << QStringLiteral("%1: %2 more %3 not shown")
                        .arg(listPath, QString::number(more),
                             more == 1 ? QStringLiteral("problem") : QStringLiteral("problems"));
    if (!messages.isEmpty())
        return messages;
    // Every text was checked against its slot above: the records cannot fail to fit.
    const std::optional<QByteArray> book = bookFileBytes(parsed.content);
    if (!book)
        return {QStringLiteral("%1: a record does not fit its slot").arg(outPath)};
    if (!writeWholeFile(outPath, *book, &failure))
        return {QStringLiteral("%1: cannot write the book: %2")
                    .arg(outPath, fileFailureText(failure, outPath))};
    return {};
}

std::optional<BookContent> readBookContent(const RecordFile& file, QString* error) {
    const EndRecord end = findEndRecord(file);
    if (end.state == BookState::NoEndRecord) {
        *error = QStringLiteral("no end record (\"EOF\") in records 1 to %1").arg(kEndSearchLimit);
        return std::nullopt;
    }
    if (end.state == BookState::Obsolete) {
        *error = QStringLiteral("an obsolete word book (\"Fin.\" at record %1)").arg(end.record);
        return std::nullopt;
    }
    BookContent content{file.read(trailerRecord(end.record, Trailer::Title)).trimmed().english, {}};
    const QStringList names = listClasses(file, end.record);
    for (int k = 0; k < names.size(); ++k) {
        BookClass bookClass{names[k], {}};
        for (int r = firstWordRecord(k); r < firstWordRecord(k) + kWordsPerClass; ++r) {
            const WordRecord word = file.read(r).trimmed();
            bookClass.words.append({word.english, word.japanese});
        }
        content.classes.append(bookClass);
    }
    return content;
}

std::optional<QByteArray> exportBookTsv(const QString& bookPath, QString* error) {
    QFile book(bookPath);
    if (const QString why = openRegularFile(book); !why.isEmpty()) {
        *error = QStringLiteral("cannot open the file: %1").arg(why);
        return std::nullopt;
    }
    // What a broken book's records hold is no word list.
    const BookCheck check = checkBook(book);
    if (check.verdict != BookVerdict::Valid) {
        *error = QStringLiteral("not a valid word book:\n  ") + check.problems.join(u"\n  ");
        return std::nullopt;
    }
    const RecordFile file(book);
    const std::optional<BookContent> content = readBookContent(file, error);
    if (!content)
        return std::nullopt;
    QByteArray list = bookToTsv(*content);
    if (const Reason why = listReadBackProblem(*content, list); !why.isEmpty()) {
        *error = why.english;
        return std::nullopt;
    }
    return list;
}

} // namespace book
