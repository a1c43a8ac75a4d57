#include "texts.h"

namespace mainwin {

QString productAndVersion() {
    return QString::fromUtf8(kProductName) + u' ' + QString::fromUtf8(kVersion);
}

QString windowCaption(const QString& bookTitle, const QString& suffix) {
    return productAndVersion() + QStringLiteral(" / ") + bookTitle + suffix;
}

} // namespace mainwin
