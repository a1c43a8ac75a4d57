#include "file_to_open.h"

#include "list_meanings.h"

#include "book/book.h"

#include <QBuffer>
#include <QDir>

namespace session {

namespace {

FileToOpen refused(const QString& path, const QString& text) {
    FileToOpen file;
    file.path = path;
    file.refusal = {folder::kFileOpenError, text};
    return file;
}

book::EndRecord endRecordIn(QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return book::findEndRecord(book::RecordFile(buffer));
}

} // namespace

FileToOpen readFileToOpen(const QString& path, const ProposerAccess& proposer) {
    if (isWordListPath(path)) {
        FileToOpen file;
        file.path = path;
        // Read aside: a list of many megabytes must not stop the window.
        file.list = readListToOpenAside(path);
        proposeMissingMeanings(file.list, proposer);
        if (!file.list.accepted())
            return refused(path, listRefusalText(file.list));
        file.kind = FileToOpen::Kind::WordList;
        return file;
    }
    book::FileFailure failure;
    std::optional<QByteArray> bytes = book::readWholeFile(path, kMaxFileBytes, &failure);
    if (!bytes)
        return refused(path, folder::failureText(failure, path) + QStringLiteral("\r\n") +
                                 QDir::toNativeSeparators(path));
    // A file that is no word book at all would leave the program without one.
    if (endRecordIn(*bytes).state == book::BookState::NoEndRecord)
        return refused(path, folder::obsoleteBookMessage());
    FileToOpen file;
    file.kind = FileToOpen::Kind::Book;
    file.path = path;
    file.bookBytes = std::move(*bytes);
    return file;
}

} // namespace session
