#include "help_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString helpPagePath() {
    const QString installed =
        QDir::cleanPath(QDir(QCoreApplication::applicationDirPath())
                            .filePath(QStringLiteral("../share/veltyping/help/index.html")));
    if (QFileInfo::exists(installed))
        return installed;
    // A browser needs a real file: the built-in page is copied out once it is asked for.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString copy = QDir(cache).filePath(QStringLiteral("help/index.html"));
    QDir().mkpath(QFileInfo(copy).path());
    QFile::remove(copy);
    QFile::copy(QStringLiteral(":/veltyping/help/index.html"), copy);
    return copy;
}

} // namespace platform
