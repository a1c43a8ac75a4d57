#include "list_writer.h"

#include "list_records.h"
#include "word_list.h"

#include <algorithm>

namespace book {

namespace {

// Appends a field as spreadsheets write it: quoted when it holds the delimiter, a quote or
// a line end, its quotes doubled; and never the start of a formula. Appended in place, as
// a list of a full book has over a thousand fields.
void appendField(QString& text, const QString& word, QChar delimiter) {
    const QString cell = guardedCell(word);
    if (!cell.contains(delimiter) && !cell.contains(u'"') && !cell.contains(u'\n') &&
        !cell.contains(u'\r')) {
        text += cell;
        return;
    }
    text += u'"';
    text += QString(cell).replace(u'"', QStringLiteral("\"\""));
    text += u'"';
}

// The rows of the list after `text`, its first line, as UTF-8.
QByteArray listText(QString text, const BookContent& content, QChar delimiter,
                    QStringView lineEnd) {
    for (const BookClass& bookClass : content.classes) {
        for (const BookWord& word : bookClass.words) {
            appendField(text, bookClass.name, delimiter);
            text += delimiter;
            appendField(text, word.english, delimiter);
            text += delimiter;
            appendField(text, word.japanese, delimiter);
            text += lineEnd;
        }
    }
    return text.toUtf8();
}

} // namespace

QByteArray bookToTsv(const BookContent& content) {
    return listText(kTitlePrefix.toString() + u' ' + content.title + u'\n', content, u'\t', u"\n");
}

QByteArray bookToCsv(const BookContent& content) {
    // U+FEFF is the byte order mark spreadsheets look for, EF BB BF in UTF-8.
    return listText(QStringLiteral("\uFEFFclass,english,japanese\r\n"), content, u',', u"\r\n");
}

Reason listReadBackProblem(const BookContent& content, QByteArrayView list) {
    for (int k = 0; k < content.classes.size(); ++k) {
        const QString& name = content.classes[k].name;
        // A book has at most 24 classes: looked through, not hashed.
        const auto earlier = std::find_if(content.classes.cbegin(), content.classes.cbegin() + k,
                                          [&](const BookClass& c) { return c.name == name; });
        if (const int first = int(earlier - content.classes.cbegin()); first < k)
            return Reason{QStringLiteral("classes %1 and %2 are both named \"%3\", which a word "
                                         "list cannot tell apart"),
                          QStringLiteral("%1 番目と %2 番目のクラスがどちらも「%3」という名前の"
                                         "ため、単語リストでは区別できません。")}
                .arg(first + 1, k + 1, quotedText(name));
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
