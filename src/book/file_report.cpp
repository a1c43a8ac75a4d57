#include "file_report.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace book {

namespace {

// What stands at `path` where a regular file was expected.
QString oddFileText(const QString& path) {
    if (QFileInfo(path).isDir())
        return QStringLiteral("it is a folder");
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0) {
        if (S_ISFIFO(status.st_mode))
            return QStringLiteral("it is a FIFO (named pipe)");
        if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
            return QStringLiteral("it is a device");
    }
#endif
    return QStringLiteral("it is not a regular file");
}

} // namespace

QString fileFailureText(const FileFailure& failure, const QString& path, qint64 maxBytes) {
    switch (failure.kind) {
    case FileFailure::Kind::NotFound:
        return QStringLiteral("no such file or folder");
    case FileFailure::Kind::NotRegular:
        return oddFileText(path);
    case FileFailure::Kind::TooLarge:
        return maxBytes > 0 ? QStringLiteral("the file is larger than %1 MiB").arg(maxBytes >> 20)
                            : QStringLiteral("the file is too large");
    case FileFailure::Kind::DiskFull:
        return QStringLiteral("the disk is full");
    case FileFailure::Kind::Denied:
        return failure.systemText.isEmpty() ? QStringLiteral("permission denied")
                                            : failure.systemText;
    case FileFailure::Kind::Other:
        break;
    }
    return failure.systemText.isEmpty() ? QStringLiteral("unknown error") : failure.systemText;
}

QString openRegularFile(QFile& file) {
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isFile())
        return fileFailureText({FileFailure::Kind::NotRegular, {}}, file.fileName());
    if (!file.open(QIODevice::ReadOnly))
        return fileFailureText(failureFromSystemText(file.errorString()), file.fileName());
    return {};
}

} // namespace book
