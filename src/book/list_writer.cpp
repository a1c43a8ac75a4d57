#include "list_writer.h"

#include "list_records.h"
#include "word_list.h"

#include <QHash>

namespace book {

namespace {

// A field as spreadsheets write it: quoted when it holds the delimiter, a quote or a line
// end, its quotes doubled; and never the start of a formula.
QString listField(const QString& word, QChar delimiter) {
    QString text = guardedCell(word);
    if (!text.contains(delimiter) && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString listRows(const BookContent& content, QChar delimiter, QLatin1StringView lineEnd) {
    QString text;
    for (const BookClass& bookClass : content.classes) {
        for (const BookWord& word : bookClass.words)
            text += listField(bookClass.name, delimiter) + delimiter +
                    listField(word.english, delimiter) + delimiter +
                    listField(word.japanese, delimiter) + lineEnd;
    }
    return text;
}

} // namespace

QByteArray bookToTsv(const BookContent& content) {
    return (kTitlePrefix.toString() + u' ' + content.title + u'\n' +
            listRows(content, u'\t', QLatin1StringView("\n")))
        .toUtf8();
}

QByteArray bookToCsv(const BookContent& content) {
    return "\xEF\xBB\xBF" + (QStringLiteral("class,english,japanese\r\n") +
                             listRows(content, u',', QLatin1StringView("\r\n")))
                                .toUtf8();
}

Reason listReadBackProblem(const BookContent& content, QByteArrayView list) {
    QHash<QString, int> classByName;
    for (int k = 0; k < content.classes.size(); ++k) {
        const QString& name = content.classes[k].name;
        if (const int first = classByName.value(name, -1); first >= 0)
            return Reason{QStringLiteral("classes %1 and %2 are both named \"%3\", which a word "
                                         "list cannot tell apart"),
                          QStringLiteral("%1 番目と %2 番目のクラスがどちらも「%3」という名前の"
                                         "ため、単語リストでは区別できません。")}
                .arg(first + 1, k + 1, quotedText(name));
        classByName.insert(name, k);
        if (name.startsWith(u'#'))
            return Reason{QStringLiteral("the name of class %1 starts with '#', which would make "
                                         "its rows comments in a word list"),
                          QStringLiteral("%1 番目のクラスの名前が # で始まるため、単語リストでは"
                                         "その行がコメントになってしまいます。")}
                .arg(k + 1);
    }
    const ParsedList parsed = parseWordList(list);
    if (!parsed.problems.isEmpty()) {
        const ListProblem& first = parsed.problems.first();
        const QString line = QString::number(first.line);
        return {QStringLiteral("the list would not read back: line %1: %2")
                    .arg(line, first.reason.english),
                QStringLiteral("単語リストにすると読み込めなくなります（行 %1：%2）")
                    .arg(line, first.reason.japanese)};
    }
    if (parsed.content.classes != content.classes ||
        (parsed.hasTitleLine && parsed.content.title != content.title))
        return {QStringLiteral("the list would not read back to the same words"),
                QStringLiteral("単語リストにすると同じ単語に戻りません。")};
    return {};
}

} // namespace book
