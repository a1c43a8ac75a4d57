#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace book {

// Why a whole-file read or write failed, in terms both the program and velbook can word.
struct FileFailure {
    enum class Kind {
        NotFound,
        NotRegular, // a folder, a FIFO, a device: nothing the program reads or replaces
        TooLarge,   // larger than anything of its kind could be
        DiskFull,   // no space left, or a file-size limit reached
        Denied,     // no permission, or a read-only file system
        Other,
    };
    Kind kind = Kind::Other;
    QString systemText; // the system's own words, for the cases Kind does not name
};

// The reason a failed file operation gave, as the system worded it.
FileFailure failureFromSystemText(const QString& systemText);

// The first `maxBytes` bytes of a regular file (all of a shorter one); refuses anything else.
std::optional<QByteArray> readFileStart(const QString& path, qint64 maxBytes,
                                        FileFailure* failure = nullptr);

// Reads a regular file of at most `maxBytes` whole; refuses anything else.
std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes,
                                        FileFailure* failure = nullptr);

// Replaces `target` with `bytes` all or nothing: every byte is written and flushed to
// disk before the rename, and the folder after it, so that a power cut cannot take back
// the new name; on failure the old target is untouched and no temporary file is left. A
// target that exists must be a regular file.
bool writeWholeFile(const QString& target, QByteArrayView bytes, FileFailure* failure = nullptr);

// Whether both paths name one existing file, through links too (symbolic or hard), so
// that a command never writes its output over its own input.
bool isSameFile(const QString& one, const QString& other);

// Makes the folder `path` (and the folders above it) unless it is there, and flushes each
// new folder's entry to disk. False, with the reason, when it cannot be made.
bool makeFolder(const QString& path, FileFailure* failure = nullptr);

// Whether a file name is that of a temporary file that a whole-file write left behind
// when the program died before its rename.
bool isLeftoverTemporary(const QString& fileName);

} // namespace book
