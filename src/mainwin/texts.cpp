#include "texts.h"

#include "dictionary/meaning_proposer.h"

namespace mainwin {

QString productAndVersion() {
    return QString::fromUtf8(kProductName) + u' ' + QString::fromUtf8(kVersion);
}

QString aboutText() {
    return productAndVersion() + QStringLiteral("\r\n\r\n") +
           dictionary::MeaningProposer::creditsText().japanese +
           QStringLiteral("\r\n辞書はこの機械にインストールされたものだけを読み、ネットワークは"
                          "使いません。");
}

QString windowCaption(const QString& bookTitle, const QString& suffix) {
    return productAndVersion() + QStringLiteral(" / ") + bookTitle + suffix;
}

QString linesText(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

QString dropAccessibleName(int drop, const QString& shown) {
    const QString name = QStringLiteral("落下単語%1").arg(drop + 1);
    return shown.isEmpty() ? name : name + u'：' + shown;
}

} // namespace mainwin
