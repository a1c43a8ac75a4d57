#include "program_folder.h"

#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mainwin {

ProgramFiles programFiles(const QString& folder) {
    return {folder, platform::pathInFolder(folder, QStringLiteral("Word.dat")),
            platform::pathInFolder(folder, QStringLiteral("display.txt")),
            platform::pathInFolder(folder, QStringLiteral("result.txt"))};
}

bool prepareProgramFolder(const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("フォルダを作成できません: %1").arg(folder);
        return false;
    }
    const QString book = programFiles(folder).wordBook;
    if (QFileInfo::exists(book))
        return true;
    const QString resource = QString::fromLatin1(kDefaultBookResource);
    if (!QFileInfo::exists(resource)) {
        *error = QStringLiteral("既定の単語帳が組み込まれていません。");
        return false;
    }
    QString reason;
    if (!platform::copyFileReplacing(resource, book, &reason)) {
        *error = QStringLiteral("%1 を作成できません: %2").arg(book, reason);
        return false;
    }
    // Resource files are read-only; the working book must be writable.
    QFile::setPermissions(book, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                    QFile::ReadOther);
    return true;
}

} // namespace mainwin
