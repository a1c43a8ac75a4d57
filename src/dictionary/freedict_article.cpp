#include "freedict_article.h"

#include <QRegularExpression>

namespace dictionary {

bool hasJapanese(QStringView text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3040 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
            (u >= 0xFF66 && u <= 0xFF9F) || c.isHighSurrogate())
            return true;
    }
    return false;
}

namespace {

// "2. " in front of a sense; the data also leaves a stray " 2." at the end of some lines.
const QRegularExpression& senseNumberAtStart() {
    static const QRegularExpression pattern(QStringLiteral("^\\s*\\d+\\.\\s*"));
    return pattern;
}
const QRegularExpression& senseNumberAtEnd() {
    static const QRegularExpression pattern(QStringLiteral("\\s+\\d+\\.\\s*$"));
    return pattern;
}

} // namespace

FreedictArticle parseFreedictArticle(QByteArrayView text) {
    FreedictArticle article;
    const QStringList lines = QString::fromUtf8(text).split(u'\n');
    if (lines.isEmpty())
        return article;

    // "headword //pronunciation// /[…]/ <pos>"
    const QString& head = lines.first();
    const qsizetype marks = head.indexOf(QRegularExpression(QStringLiteral(" [/<]")));
    article.headword = (marks < 0 ? head : head.first(marks)).trimmed();
    const qsizetype open = head.lastIndexOf(u'<');
    const qsizetype close = head.lastIndexOf(u'>');
    if (open >= 0 && close > open)
        article.partOfSpeech = head.sliced(open + 1, close - open - 1);

    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString line = lines[i];
        line.remove(senseNumberAtStart());
        line.remove(senseNumberAtEnd());
        if (!hasJapanese(line))
            continue;
        QStringList translations;
        for (const QString& item : line.split(u',')) {
            const QString translation = item.trimmed();
            if (hasJapanese(translation) && !translations.contains(translation))
                translations.append(translation);
        }
        article.senses.append(translations);
    }
    return article;
}

} // namespace dictionary
