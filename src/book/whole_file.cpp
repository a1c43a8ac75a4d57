#include "whole_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <filesystem>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace book {

// Qt gives a failed file operation's reason only as the system's text; these are the
// reasons the learner can act on.
FileFailure failureFromSystemText(const QString& systemText) {
    const auto is = [&systemText](int code) { return systemText == qt_error_string(code); };
    FileFailure failure{FileFailure::Kind::Other, systemText};
    if (is(ENOSPC) || is(EFBIG) || is(EDQUOT))
        failure.kind = FileFailure::Kind::DiskFull;
    else if (is(EACCES) || is(EPERM) || is(EROFS))
        failure.kind = FileFailure::Kind::Denied;
    else if (is(ENOENT))
        failure.kind = FileFailure::Kind::NotFound;
    else if (is(EISDIR))
        failure.kind = FileFailure::Kind::NotRegular;
    return failure;
}

namespace {

bool fail(FileFailure* out, FileFailure failure) {
    if (out)
        *out = std::move(failure);
    return false;
}

} // namespace

std::optional<QByteArray> readFileStart(const QString& path, qint64 maxBytes,
                                        FileFailure* failure) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        fail(failure,
             {info.exists() ? FileFailure::Kind::NotRegular : FileFailure::Kind::NotFound, {}});
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(failure, failureFromSystemText(file.errorString()));
        return std::nullopt;
    }
    QByteArray bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError) {
        fail(failure, failureFromSystemText(file.errorString()));
        return std::nullopt;
    }
    return bytes;
}

std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes,
                                        FileFailure* failure) {
    // One byte past the limit tells a file that is too large, even one that grew meanwhile.
    std::optional<QByteArray> bytes = readFileStart(path, maxBytes + 1, failure);
    if (bytes && bytes->size() > maxBytes) {
        fail(failure, {FileFailure::Kind::TooLarge, {}});
        return std::nullopt;
    }
    return bytes;
}

namespace {

// The temporary file of a whole-file write: hidden, in the target's folder (so that the
// rename stays on one file system), and named as nothing a learner would name a file.
constexpr QLatin1StringView kTemporaryInfix(".veltyping-");

QString temporaryName(const QFileInfo& target) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix +=
            QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)]);
    return target.dir().filePath(u'.' + target.fileName() + kTemporaryInfix + suffix);
}

// A new file keeps what the umask allows of rw-rw-rw-; a replaced one keeps its own.
QFileDevice::Permissions permissionsFor(const QFileInfo& target) {
    constexpr QFileDevice::Permissions kOwnerGroupOther =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (target.exists())
        return target.permissions() & kOwnerGroupOther;
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
           QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
}

bool flushToDisk(QFile& file) {
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return file.flush();
#endif
}

// A rename or a new entry is on the disk only once its folder is. Elsewhere the file
// system keeps its folders itself.
bool flushFolder(const QString& folder) {
#ifdef Q_OS_UNIX
    const int handle =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return false;
    const bool flushed = ::fsync(handle) == 0;
    ::close(handle);
    return flushed;
#else
    Q_UNUSED(folder);
    return true;
#endif
}

} // namespace

// Not QSaveFile: where it cannot use an unnamed file it names its temporary like a learner's own
// file ("Word.dat.XXXXXX"), which a crash would leave behind where nothing can safely clear it.
bool writeWholeFile(const QString& target, QByteArrayView bytes, FileFailure* failure) {
    const QFileInfo info(target);
    if (info.exists() && !info.isFile())
        return fail(failure, {FileFailure::Kind::NotRegular, {}});
    QFile temporary;
    // Unbuffered, so that every write reports what really reached the file: a buffered
    // write's flush takes a short write for success.
    const QIODevice::OpenMode mode =
        QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered;
    do
        temporary.setFileName(temporaryName(info));
    while (!temporary.open(mode, permissionsFor(info)) && QFileInfo::exists(temporary.fileName()));
    if (!temporary.isOpen())
        return fail(failure, failureFromSystemText(temporary.errorString()));
    const auto discard = [&temporary, failure](FileFailure why) {
        temporary.close();
        temporary.remove();
        return fail(failure, std::move(why));
    };
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = temporary.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return discard(failureFromSystemText(temporary.errorString()));
        done += written;
    }
    // Every byte is on the disk before the new file takes the old one's name.
    if (!flushToDisk(temporary))
        return discard(failureFromSystemText(qt_error_string(errno)));
    temporary.close();
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(temporary.fileName()).toStdString(),
                            QFile::encodeName(target).toStdString(), error);
    if (error)
        return discard(failureFromSystemText(qt_error_string(error.value())));
    // The new file is whole under its name; a folder that cannot be flushed (some network
    // file systems refuse) leaves it as safe as the system keeps it.
    flushFolder(info.absolutePath());
    return true;
}

bool isSameFile(const QString& one, const QString& other) {
    std::error_code error;
    return std::filesystem::equivalent(QFile::encodeName(one).toStdString(),
                                       QFile::encodeName(other).toStdString(), error) &&
           !error;
}

bool makeFolder(const QString& path, FileFailure* failure) {
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    if (info.exists() || info.isSymLink())
        return fail(failure, failureFromSystemText(qt_error_string(ENOTDIR)));
    if (!makeFolder(info.absolutePath(), failure))
        return false;
    if (!QDir().mkdir(path) && !QFileInfo(path).isDir())
        return fail(failure, failureFromSystemText(qt_error_string(errno)));
    flushFolder(info.absolutePath());
    return true;
}

bool isLeftoverTemporary(const QString& fileName) {
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.veltyping-[A-Za-z0-9]{6}$"));
    return pattern.match(fileName).hasMatch();
}

} // namespace book
