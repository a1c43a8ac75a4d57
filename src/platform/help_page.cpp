#include "help_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {

QString homePageUrl() { return QStringLiteral("https://veltyping.example.jp/"); }

QString helpPagePath() {
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral("../share/veltyping/help/index.html"));
    if (QFileInfo::exists(installed))
        return QDir::cleanPath(installed);
#ifdef VELTYPING_SOURCE_DIR
    return QStringLiteral(VELTYPING_SOURCE_DIR "/data/help/index.html");
#else
    return QDir::cleanPath(installed);
#endif
}

} // namespace platform
