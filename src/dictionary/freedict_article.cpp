#include "freedict_article.h"

namespace dictionary {

namespace {

// Whether the text holds a kana or kanji character.
bool hasJapanese(QStringView text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3040 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) ||
            (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF66 && u <= 0xFF9F) || c.isHighSurrogate())
            return true;
    }
    return false;
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The line without its sense number "2. " in front, nor the stray " 2." the data leaves at
// the end of some lines.
QStringView withoutSenseNumbers(QStringView line) {
    line = line.trimmed();
    qsizetype digits = 0;
    while (digits < line.size() && isDigit(line[digits]))
        ++digits;
    if (digits > 0 && digits < line.size() && line[digits] == u'.')
        line = line.sliced(digits + 1).trimmed();
    if (line.endsWith(u'.')) {
        qsizetype start = line.size() - 1;
        while (start > 0 && isDigit(line[start - 1]))
            --start;
        if (start < line.size() - 1 && start > 0 && line[start - 1] == u' ')
            line = line.first(start).trimmed();
    }
    return line;
}

} // namespace

FreedictArticle parseFreedictArticle(QByteArrayView text) {
    FreedictArticle article;
    const QStringList lines = QString::fromUtf8(text).split(u'\n');
    if (lines.isEmpty())
        return article;

    // "headword //pronunciation// /[…]/ <pos>"
    const QString& head = lines.first();
    qsizetype marks = head.indexOf(QStringLiteral(" /"));
    const qsizetype partMark = head.indexOf(QStringLiteral(" <"));
    if (marks < 0 || (partMark >= 0 && partMark < marks))
        marks = partMark;
    article.headword = (marks < 0 ? head : head.first(marks)).trimmed();
    const qsizetype open = head.lastIndexOf(u'<');
    const qsizetype close = head.lastIndexOf(u'>');
    if (open >= 0 && close > open)
        article.partOfSpeech = head.sliced(open + 1, close - open - 1);

    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringView line = withoutSenseNumbers(lines[i]);
        if (!hasJapanese(line))
            continue;
        QStringList translations;
        for (const QStringView item : line.split(u',')) {
            const QString translation = item.trimmed().toString();
            if (hasJapanese(translation) && !translations.contains(translation))
                translations.append(translation);
        }
        article.senses.append(translations);
    }
    return article;
}

} // namespace dictionary
