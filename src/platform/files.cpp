#include "files.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QUrl>

namespace platform {

QString pathInFolder(const QString& folder, const QString& name) {
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(name);
}

bool copyFileReplacing(const QString& source, const QString& target, QString* error) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = in.errorString();
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = out.errorString();
        return false;
    }
    out.write(in.readAll());
    if (in.error() != QFile::NoError || !out.commit()) {
        if (error)
            *error = in.error() != QFile::NoError ? in.errorString() : out.errorString();
        return false;
    }
    return true;
}

void openUrl(const QString& url) {
    const QUrl parsed = QUrl::fromUserInput(url);
    QDesktopServices::openUrl(parsed);
}

} // namespace platform
