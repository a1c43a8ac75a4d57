#pragma once

#include "book/whole_file.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>

namespace session {

// One dated copy of the working book in the backup folder.
struct BackupInfo {
    QString path;
    QDateTime taken;
    QString title; // empty when the copy holds no word book
    int classes = 0;
    std::array<qint16, 3> memorised{}; // the memorised totals, per drill mode
};

// The folder `backup` of the program folder: dated copies of Word.dat taken before every
// command that replaces or resets the book, the newest kKept of them.
class BackupFolder {
public:
    static constexpr int kKept = 20;

    explicit BackupFolder(const QString& programFolder);

    // Writes the bytes as Word-YYYYMMDD-HHMMSS.dat of `now` (with -2, -3 ... when that
    // name is taken), then removes all but the newest kKept. False, with the reason and
    // the path it tried, when the copy could not be written whole.
    bool add(QByteArrayView bookBytes, const QDateTime& now, book::FileFailure* failure,
             QString* path);
    // Newest first.
    QList<BackupInfo> list() const;
    QString path() const { return folder_; }

private:
    QStringList namesNewestFirst() const;

    QString folder_;
};

} // namespace session
