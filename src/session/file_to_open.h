#pragma once

#include "folder/failure_text.h"
#include "list_meanings.h"
#include "word_list_open.h"

#include <QByteArray>
#include <QString>

namespace session {

// A book file or a view chosen to open: anything larger is no file of the program's.
inline constexpr qint64 kMaxFileBytes = 16 << 20;

// A file chosen to become the working book, read and checked, with what the learner is
// asked about it. Its format is decided here, once: a word list by its name, else a book.
struct FileToOpen {
    enum class Kind {
        Refused, // `refusal` says why; nothing may be written
        Book,    // `bookBytes` hold a word book
        // `list` was accepted; its meanings, if it lacked some, and its title are to be
        // confirmed
        WordList,
    };
    Kind kind = Kind::Refused;
    QString path;
    QByteArray bookBytes;
    ListToOpen list;
    folder::Failure refusal;
};

// Reads and checks the file at `path`. Nothing is written. A word list without some of its
// meanings takes the dictionaries' proposals (readListToOpen).
FileToOpen readFileToOpen(const QString& path, const ProposerAccess& proposer = {});

} // namespace session
