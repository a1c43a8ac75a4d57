#include "texts.h"

#include "platform/help_page.h"

namespace mainwin {

QString productAndVersion() {
    return QString::fromUtf8(kProductName) + u' ' + QString::fromUtf8(kVersion);
}

QString windowCaption(const QString& bookTitle, const QString& suffix) {
    return productAndVersion() + QStringLiteral(" / ") + bookTitle + suffix;
}

QString dropAccessibleName(int drop, const QString& shown) {
    const QString name = QStringLiteral("落下単語%1").arg(drop + 1);
    return shown.isEmpty() ? name : name + u'：' + shown;
}

QString obsoleteBookMessage() {
    return QStringLiteral("単語帳ファイルが不正です。\r\n") + platform::homePageUrl() +
           QStringLiteral("より、\r\n単語帳の最新版を入手して下さい。");
}

} // namespace mainwin
