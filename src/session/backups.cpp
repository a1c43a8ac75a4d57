#include "backups.h"

#include "book/book.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace session {

namespace {

const QRegularExpression& backupName() {
    static const QRegularExpression pattern(
        QStringLiteral("^Word-(\\d{8}-\\d{6})(?:-(\\d+))?\\.dat$"));
    return pattern;
}

BackupInfo describe(const QString& path, const QDateTime& taken) {
    BackupInfo info{path, taken, {}, 0, {}};
    std::optional<QByteArray> bytes = book::readFileStart(path, book::kMaxBookBytes);
    if (!bytes)
        return info;
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    const book::RecordFile records(buffer);
    const book::EndRecord end = book::findEndRecord(records);
    if (end.record < 1)
        return info;
    info.title =
        records.read(book::trailerRecord(end.record, book::Trailer::Title)).trimmed().english;
    info.classes = book::classCount(end.record);
    info.memorised =
        records.read(book::trailerRecord(end.record, book::Trailer::MemorisedTotal)).modeCount;
    return info;
}

} // namespace

BackupFolder::BackupFolder(const QString& programFolder)
    : folder_(QDir(programFolder).filePath(QStringLiteral("backup"))) {}

QStringList BackupFolder::namesNewestFirst() const {
    struct Named {
        QString name;
        QString stamp;
        int sequence;
    };
    QList<Named> found;
    for (const QString& name : QDir(folder_).entryList(QDir::Files)) {
        const QRegularExpressionMatch match = backupName().match(name);
        if (match.hasMatch())
            found.append({name, match.captured(1), match.captured(2).toInt()});
    }
    std::sort(found.begin(), found.end(), [](const Named& a, const Named& b) {
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.sequence > b.sequence;
    });
    QStringList names;
    for (const Named& entry : found)
        names << entry.name;
    return names;
}

bool BackupFolder::add(QByteArrayView bookBytes, const QDateTime& now, book::FileFailure* failure,
                       QString* path) {
    const QDir dir(folder_);
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = QStringLiteral("Word-%1.dat").arg(stamp);
    for (int n = 2; dir.exists(name); ++n)
        name = QStringLiteral("Word-%1-%2.dat").arg(stamp).arg(n);
    *path = dir.filePath(name);
    if (!QDir().mkpath(folder_)) {
        *failure = {book::FileFailure::Kind::Denied, {}};
        return false;
    }
    if (!book::writeWholeFile(*path, bookBytes, failure))
        return false;
    // The copy just written stays, even when a clock put back makes it look the oldest.
    const QStringList names = namesNewestFirst();
    for (int i = kKept; i < names.size(); ++i) {
        if (names[i] != name)
            QFile::remove(dir.filePath(names[i]));
    }
    return true;
}

QList<BackupInfo> BackupFolder::list() const {
    QList<BackupInfo> backups;
    const QDir dir(folder_);
    for (const QString& name : namesNewestFirst()) {
        const QRegularExpressionMatch match = backupName().match(name);
        const QDateTime taken =
            QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
        backups.append(describe(dir.filePath(name), taken));
    }
    return backups;
}

} // namespace session
