#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace platform {

QFont fixedPitchFont(double pointSize) {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const QString& candidate :
             {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
              QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")}) {
            if (installed.contains(candidate, Qt::CaseInsensitive))
                return candidate;
        }
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    }();
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

} // namespace platform
