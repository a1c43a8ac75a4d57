// The book session's command that saves the book as a word list.
#include "book_session.h"

#include "failure_text.h"

#include "book/book_lists.h"
#include "book/cp932.h"
#include "book/list_writer.h"

namespace session {

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
