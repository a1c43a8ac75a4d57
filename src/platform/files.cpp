#include "files.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

void openUrl(const QString& url) {
    const QUrl parsed = QUrl::fromUserInput(url);
    QDesktopServices::openUrl(parsed);
}

} // namespace platform
