// The book session's commands on word lists: a list opened as the book, the book saved
// as a list.
#include "book_session.h"

#include "failure_text.h"

#include "book/book_lists.h"
#include "book/cp932.h"
#include "book/list_writer.h"

namespace session {

bool BookSession::replaceBookFromList(const ListToOpen& list, const QString& title) {
    if (!list.accepted()) {
        Q_EMIT failed({kFileOpenError, listRefusalText(list)});
        return false;
    }
    if (const QString why = listTitleProblem(title); !why.isEmpty()) {
        Q_EMIT failed({kFileOpenError, why});
        return false;
    }
    book::BookContent content = list.content;
    content.title = book::trimBlanks(title);
    // Every text of an accepted list and the title were checked against their slots.
    const std::optional<QByteArray> bytes = book::bookFileBytes(content);
    if (!bytes) {
        Q_EMIT failed({kFileOpenError, listRefusalText(list)});
        return false;
    }
    return replaceBookWith(list.path, *bytes);
}

bool BookSession::saveBookAsList(const QString& target) {
    if (endRecord_.state == book::BookState::Obsolete) {
        Q_EMIT failed({kFileOpenError, obsoleteBookMessage()});
        return false;
    }
    QString error;
    const std::optional<book::BookContent> content =
        writable() ? book::readBookContent(records(), &error) : std::nullopt;
    if (!content) {
        tellSaveFailure(target, QStringLiteral("保存する内容がありません。"));
        return false;
    }
    const QByteArray list = book::bookToCsv(*content);
    // A list that would not open as this book again is no copy of it.
    if (const book::Reason why = book::listReadBackProblem(*content, list); !why.isEmpty()) {
        tellSaveFailure(target, why.japanese);
        return false;
    }
    return saveBytes(files_.wordBook, list, {}, target);
}

} // namespace session
