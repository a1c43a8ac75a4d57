#include "texts.h"

namespace mainwin {

QString productAndVersion() {
    return QString::fromUtf8(kProductName) + u' ' + QString::fromUtf8(kVersion);
}

QString windowCaption(const QString& bookTitle, const QString& suffix) {
    return productAndVersion() + QStringLiteral(" / ") + bookTitle + suffix;
}

QString signedBlank(long long value) {
    return value >= 0 ? u' ' + QString::number(value) : QString::number(value);
}

} // namespace mainwin
