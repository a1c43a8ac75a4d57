#include "backups.h"

#include "local_time.h"

#include "book/book.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace folder {

namespace {

constexpr QLatin1StringView kIndexName("index.tsv");
// Far more lines than kKept copies need; a larger index is read only as far.
constexpr qint64 kMaxIndexBytes = 1024 * 1024;
constexpr QLatin1StringView kTakenFormat("yyyy-MM-ddTHH:mm:ss");
const QByteArray kIndexHeader = "# copies of Word.dat made by veltyping, oldest first: "
                                "file, made, sha256\n";

// The names the program gives its copies, with the date and time they were made.
const QRegularExpression& backupNamePattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^Word-(\\d{8}-\\d{6})(?:-\\d{1,9})?\\.dat$"));
    return pattern;
}

// Only names of this form are ever removed: never a path, never another file.
bool isBackupName(const QString& name) { return backupNamePattern().match(name).hasMatch(); }

// Books in the folder that the index does not name are looked at only this many, so that
// a folder full of files cannot stall the restore command.
constexpr int kMaxOtherFiles = 200;

QByteArray sha256(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// Whether the path is a regular file itself, not a link that may lead out of the folder.
bool isPlainFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink();
}

// The file's bytes while it still holds what the program wrote; a file changed since is
// the learner's.
std::optional<QByteArray> ourBytes(const QString& path, const BackupEntry& entry) {
    std::optional<QByteArray> bytes;
    if (isPlainFile(path))
        bytes = book::readWholeFile(path, book::kMaxBookBytes);
    if (bytes && sha256(*bytes) != entry.sha256)
        bytes.reset();
    return bytes;
}

// When a book the program did not record was made: the time its name gives, as the
// program names its copies, else its last change.
QDateTime takenFromName(const QFileInfo& file) {
    const QRegularExpressionMatch match = backupNamePattern().match(file.fileName());
    const QDateTime named =
        match.hasMatch()
            ? QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd-HHmmss"))
            : QDateTime();
    return named.isValid() ? named : file.lastModified();
}

} // namespace

QList<BackupEntry> parseBackupIndex(QByteArrayView bytes) {
    QList<BackupEntry> entries;
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf('\n');
        const QByteArrayView line = end < 0 ? bytes : bytes.first(end);
        bytes = end < 0 ? QByteArrayView() : bytes.sliced(end + 1);
        const QList<QByteArray> fields = line.toByteArray().split('\t');
        if (fields.size() != 3)
            continue;
        BackupEntry entry{QString::fromUtf8(fields[0]), fields[1], QByteArray::fromHex(fields[2])};
        QDate day;
        QTime time;
        if (isBackupName(entry.name) && parseLocalDateTime(entry.taken, &day, &time) &&
            fields[2].size() == 2 * entry.sha256.size() &&
            entry.sha256.size() == QCryptographicHash::hashLength(QCryptographicHash::Sha256))
            entries << entry;
    }
    return entries;
}

QByteArray backupIndexBytes(const QList<BackupEntry>& entries) {
    QByteArray bytes = kIndexHeader;
    for (const BackupEntry& entry : entries)
        bytes += entry.name.toUtf8() + '\t' + entry.taken + '\t' + entry.sha256.toHex() + '\n';
    return bytes;
}

BackupInfo describeBackup(const QString& path, const QDateTime& taken, QByteArray bytes) {
    BackupInfo info{path, taken};
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const book::RecordFile records(buffer);
    const book::EndRecord end = book::findEndRecord(records);
    if (end.record < 1)
        return info;
    info.holdsBook = true;
    info.title =
        records.read(book::trailerRecord(end.record, book::Trailer::Title)).trimmed().english;
    info.classes = book::classCount(end.record);
    info.memorised =
        records.read(book::trailerRecord(end.record, book::Trailer::MemorisedTotal)).modeCount;
    return info;
}

BackupFolder::BackupFolder(const QString& programFolder)
    : folder_(QDir(programFolder).filePath(QStringLiteral("backup"))) {}

QString BackupFolder::indexPath() const { return QDir(folder_).filePath(kIndexName); }

QList<BackupEntry> BackupFolder::readIndex() const {
    const std::optional<QByteArray> bytes = book::readFileStart(indexPath(), kMaxIndexBytes);
    return bytes ? parseBackupIndex(*bytes) : QList<BackupEntry>{};
}

bool BackupFolder::add(QByteArrayView bookBytes, const QDateTime& now, book::FileFailure* failure,
                       QString* path) {
    const QDir dir(folder_);
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = QStringLiteral("Word-%1.dat").arg(stamp);
    for (int n = 2; dir.exists(name); ++n)
        name = QStringLiteral("Word-%1-%2.dat").arg(stamp).arg(n);
    if (!book::makeFolder(folder_, failure)) {
        *path = folder_;
        return false;
    }
    *path = dir.filePath(name);
    if (!book::writeWholeFile(*path, bookBytes, failure))
        return false;

    QList<BackupEntry> entries = readIndex();
    entries.append({name, now.toString(kTakenFormat).toLatin1(), sha256(bookBytes)});
    const QList<BackupEntry> pruned =
        entries.mid(0, std::max<qsizetype>(0, entries.size() - kKept));
    entries.remove(0, pruned.size());
    // The index first: a copy it no longer names is left alone, never one it names lost.
    if (!book::writeWholeFile(indexPath(), backupIndexBytes(entries), failure)) {
        QFile::remove(*path);
        return false;
    }
    for (const BackupEntry& entry : pruned) {
        const QString oldPath = dir.filePath(entry.name);
        if (ourBytes(oldPath, entry))
            QFile::remove(oldPath);
    }
    return true;
}

QList<BackupInfo> BackupFolder::list() const {
    const QDir dir(folder_);
    QList<BackupInfo> own;
    QSet<QString> listed{kIndexName};
    const QList<BackupEntry> entries = readIndex();
    for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
        const QString path = dir.filePath(entry->name);
        if (std::optional<QByteArray> bytes = ourBytes(path, *entry)) {
            own.append(describeBackup(
                path, QDateTime::fromString(QString::fromLatin1(entry->taken), kTakenFormat),
                std::move(*bytes)));
            listed.insert(entry->name);
        }
    }

    QList<BackupInfo> others;
    const QFileInfoList files =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Time);
    for (const QFileInfo& file : files.first(std::min<qsizetype>(files.size(), kMaxOtherFiles))) {
        if (listed.contains(file.fileName()) || !isPlainFile(file.filePath()))
            continue;
        std::optional<QByteArray> bytes = book::readWholeFile(file.filePath(), book::kMaxBookBytes);
        if (!bytes)
            continue;
        BackupInfo info = describeBackup(file.filePath(), takenFromName(file), std::move(*bytes));
        info.recorded = false;
        if (info.holdsBook)
            others.append(info);
    }
    std::stable_sort(others.begin(), others.end(),
                     [](const BackupInfo& a, const BackupInfo& b) { return a.taken > b.taken; });

    // The program's copies keep the order they were made in, even when the clock was put
    // back; the others go in before the first copy older than they are.
    QList<BackupInfo> backups;
    auto other = others.cbegin();
    for (const BackupInfo& copy : own) {
        for (; other != others.cend() && other->taken > copy.taken; ++other)
            backups.append(*other);
        backups.append(copy);
    }
    backups.append(QList<BackupInfo>(other, others.cend()));
    return backups;
}

bool BackupFolder::holds(const QString& path) const {
    const QFileInfo file(path);
    return isPlainFile(path) && file.absoluteDir().canonicalPath() == QDir(folder_).canonicalPath();
}

} // namespace folder
