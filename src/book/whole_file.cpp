#include "whole_file.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>

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

bool writeWholeFile(const QString& target, QByteArrayView bytes, FileFailure* failure) {
    const QFileInfo info(target);
    if (info.exists() && !info.isFile())
        return fail(failure, {FileFailure::Kind::NotRegular, {}});
    QSaveFile out(target);
    // Unbuffered, so that every write reports what really reached the file: a buffered
    // write's flush takes a short write for success.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(failure, failureFromSystemText(out.errorString()));
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = out.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            const FileFailure why = failureFromSystemText(out.errorString());
            out.cancelWriting();
            return fail(failure, why);
        }
        done += written;
    }
    // commit() flushes the file to disk before it renames it over the target.
    if (!out.commit())
        return fail(failure, failureFromSystemText(out.errorString()));
    return true;
}

bool isLeftoverTemporary(const QString& fileName, const QStringList& names) {
    // QSaveFile's temporary files are the target's name and six more characters.
    static const QRegularExpression suffix(QStringLiteral("^\\.[A-Za-z0-9]{6}$"));
    for (const QString& name : names) {
        if (fileName.size() == name.size() + 7 && fileName.startsWith(name, Qt::CaseInsensitive) &&
            suffix.match(fileName.mid(name.size())).hasMatch())
            return true;
    }
    return false;
}

} // namespace book
