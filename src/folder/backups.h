#pragma once

#include "book/whole_file.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>

namespace folder {

// One dated copy of the working book in the backup folder.
struct BackupInfo {
    QString path;
    QDateTime taken;
    bool holdsBook = false; // whether an end record was found
    QString title;
    int classes = 0;
    std::array<qint16, 3> memorised{}; // the memorised totals, per drill mode
    // Whether the program's index names it; copies an earlier version made, or the
    // learner put there, are offered too but are never pruned.
    bool recorded = true;
};

// A copy the program made, as its index in the backup folder keeps it.
struct BackupEntry {
    QString name;      // a file name of the form Word-YYYYMMDD-HHMMSS[-N].dat
    QByteArray taken;  // when it was made, by the clock of the day: yyyy-MM-ddTHH:mm:ss
    QByteArray sha256; // of its bytes, as written: a file changed since is no longer ours
    bool operator==(const BackupEntry&) const = default;
};

// The index: one entry per line, oldest first, in the order the copies were made. Lines
// that are not such an entry are left out.
QList<BackupEntry> parseBackupIndex(QByteArrayView bytes);
QByteArray backupIndexBytes(const QList<BackupEntry>& entries);

// The folder `backup` of the program folder: dated copies of Word.dat taken before every
// command that replaces or resets the book, the newest kKept of them. An index there
// names the copies the program made; other files, whatever their names, are the learner's
// and are neither counted nor removed.
class BackupFolder {
public:
    static constexpr int kKept = 20;

    explicit BackupFolder(const QString& programFolder);

    // Writes the bytes as Word-YYYYMMDD-HHMMSS.dat of `now` (with -2, -3 ... when that
    // name is taken) and enters it in the index, then removes the program's copies but
    // the kKept made last. False, with the reason and the path it tried, when the copy
    // or the index could not be written whole; then nothing changed.
    bool add(QByteArrayView bookBytes, const QDateTime& now, book::FileFailure* failure,
             QString* path);
    // Every word book the folder holds, newest first: the program's copies in the order
    // they were made, and the other books there (by the date in their name, else their
    // last change) between them. Only regular files directly in the folder are offered,
    // never a link to a file elsewhere.
    QList<BackupInfo> list() const;
    // Whether `path` is a regular file directly in the folder, as a restore needs.
    bool holds(const QString& path) const;
    QString path() const { return folder_; }

private:
    QList<BackupEntry> readIndex() const;
    QString indexPath() const;

    QString folder_;
};

// What a backup holds, from its bytes: the title, classes and memorised totals.
BackupInfo describeBackup(const QString& path, const QDateTime& taken, QByteArray bytes);

} // namespace folder
