#include "word_list.h"

#include "cp932.h"
#include "list_records.h"
#include "list_text.h"
#include "record_map.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace book {

namespace {

// A text of the list as a message shows it: a control character in it would act on the
// terminal.
QString visible(QString text) {
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = u'?';
    }
    return text;
}

// The first character of the text that CP932 has no form for.
QString firstUnencodable(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (!encodeCp932(text.mid(i, width)))
            return text.mid(i, width);
        i += width - 1;
    }
    return {};
}

// Why two texts do not fit one record's slot; empty when they fit.
Reason slotProblem(const QString& english, const QString& japanese) {
    const QString both = english + japanese;
    if (both.contains(u'\n'))
        return {QStringLiteral("a field holds a line break, which a word book cannot store"),
                QStringLiteral("セルの中の改行は単語帳に入れられません。")};
    if (const Reason why = controlCharacterProblem(both); !why.isEmpty())
        return why;
    switch (encodeSlot(WordRecord{0, english, japanese, {}}).error) {
    case SlotError::None:
        return {};
    case SlotError::NotEncodable: {
        const QString bad = firstUnencodable(both);
        return Reason{QStringLiteral("the character \"%1\" (%2) cannot be stored in a word book "
                                     "(it has no Shift-JIS form)"),
                      QStringLiteral("文字「%1」（%2）は Shift_JIS で表せないため、"
                                     "単語帳に入れられません。")}
            .arg(bad)
            .arg(codePointName(bad.toUcs4().value(0)));
    }
    case SlotError::TooLong:
        return Reason{QStringLiteral("the texts take %1 bytes in Shift-JIS, but a record holds at "
                                     "most %2"),
                      QStringLiteral("Shift_JIS で %1 バイトあります。1 つのレコードに入るのは "
                                     "%2 バイトまでです。")}
            .arg(encodeCp932(english)->size() + encodeCp932(japanese)->size())
            .arg(kMaxTextBytes);
    }
    return {};
}

// The shapes a row can take: class, English, Japanese; or English, Japanese with the
// class given by the row's place; or, in a list read with meanings, English alone.
enum class ListForm { ThreeColumns, TwoColumns, OneColumn };

Reason columnProblem(ListForm form, qsizetype columns) {
    if (form != ListForm::ThreeColumns)
        return columns == 1
                   ? Reason{QStringLiteral("the Japanese column is missing (a row is English, "
                                           "Japanese)"),
                            QStringLiteral(
                                "日本語の列がありません（1行は「英語、日本語」の2列です）。")}
                   : Reason{QStringLiteral("the row has %1 columns; a row is English, Japanese"),
                            QStringLiteral("列が %1 個あります。1行は「英語、日本語」の2列です。")}
                         .arg(columns);
    if (columns == 1)
        return {QStringLiteral("the English and Japanese columns are missing (a row is class, "
                               "English, Japanese)"),
                QStringLiteral("英語と日本語の列がありません（1行は「クラス名、英語、日本語」の3列"
                               "です）。")};
    if (columns == 2)
        return {
            QStringLiteral("the Japanese column is missing (a row is class, English, "
                           "Japanese)"),
            QStringLiteral("日本語の列がありません（1行は「クラス名、英語、日本語」の3列です）。")};
    return Reason{QStringLiteral("the row has %1 columns; a row is class, English, Japanese"),
                  QStringLiteral("列が %1 個あります。1行は「クラス名、英語、日本語」の3列です。")}
        .arg(columns);
}

bool isColumnName(const QString& field, std::initializer_list<QStringView> names) {
    const QString name = trimBlanks(field);
    return std::any_of(names.begin(), names.end(), [&](QStringView known) {
        return name.compare(known, Qt::CaseInsensitive) == 0;
    });
}

// Whether a row is the column names that spreadsheets keep in their first row. Only the
// English and Japanese columns are looked at: the class column goes by many names.
bool isHeaderRow(const QStringList& fields) {
    return (fields.size() == 2 || fields.size() == 3) &&
           isColumnName(fields[fields.size() - 2],
                        {u"english", u"英語", u"英単語", u"word", u"単語"}) &&
           isColumnName(fields.last(),
                        {u"japanese", u"日本語", u"日本語訳", u"訳", u"和訳", u"意味", u"meaning"});
}

const Reason kOpenQuote{QStringLiteral("the quote that opens a field in this row is never closed"),
                        QStringLiteral("この行で始まる引用符（\"）が閉じられていません。")};

// A row of the list with the blank fields a spreadsheet adds at its end taken off.
struct Row {
    int line = 0;
    QStringList fields;
    bool broken = false;    // a line of it is no text in the list's encoding
    bool openQuote = false; // it took in every line after it
};

// The list's own rows: no blank rows, no comments. The title line goes into `parsed`.
QList<Row> dataRows(const ListText& text, ParsedList& parsed) {
    const QChar delimiter = listDelimiter(text.text);
    const QList<ListRecord> records = splitListRecords(text.text, delimiter);
    const int lines = int(text.text.count(u'\n')) + 1;
    QList<Row> rows;
    for (qsizetype k = 0; k < records.size(); ++k) {
        const ListRecord& record = records[k];
        const int lastLine = k + 1 < records.size() ? records[k + 1].line - 1 : lines;
        Row row{record.line, record.fields, false, record.openQuote};
        for (int line = record.line; line <= lastLine; ++line)
            row.broken = row.broken || text.brokenLines.contains(line);
        while (!row.fields.isEmpty() && trimBlanks(row.fields.constLast()).isEmpty())
            row.fields.removeLast();
        if (row.fields.isEmpty())
            continue;
        if (row.fields.constFirst().startsWith(u'#')) {
            if (row.openQuote)
                parsed.problems.append({row.line, kOpenQuote});
            if (record.line == 1 && row.fields.constFirst().startsWith(kTitlePrefix) &&
                !row.broken) {
                parsed.hasTitleLine = true;
                parsed.content.title =
                    trimBlanks(row.fields.join(delimiter).sliced(kTitlePrefix.size()));
            }
            continue;
        }
        rows.append(row);
    }
    return rows;
}

// What the parser remembers of one class while it reads the rows.
struct ClassRows {
    int index = 0;
    int firstLine = 0;
    int rows = 0;
    QHash<QString, int> englishLines;
    QHash<QString, int> japaneseLines;
};

class ListParser {
public:
    explicit ListParser(ListMeanings* meanings) : meanings_(meanings) {}

    ParsedList parse(QByteArrayView bytes) {
        const ListText text = decodeList(bytes);
        list_.problems = text.problems;
        const QList<Row> rows = dataRows(text, list_);
        qsizetype first = 0;
        if (!rows.isEmpty() && isHeaderRow(rows.first().fields)) {
            form_ = rows.first().fields.size() == 2 ? ListForm::TwoColumns : ListForm::ThreeColumns;
            first = 1;
        } else {
            form_ = formOf(rows, meanings_ != nullptr);
        }
        // A meaning the list gives is never refused for a proposal taken before it.
        for (qsizetype k = first; meanings_ && k < rows.size(); ++k) {
            const QStringList columns = columnsOf(rows[k], int(k - first));
            if (columns.size() == 3)
                givenMeanings_.insert(
                    {trimBlanks(columns[0]), givenMeaning(rows[k].line, trimBlanks(columns[2]))});
        }
        for (qsizetype k = first; k < rows.size(); ++k)
            readRow(rows[k], int(k - first));
        finish();
        return std::move(list_);
    }

private:
    // Two columns (or one) when most of the first five rows have two (or one).
    static ListForm formOf(const QList<Row>& rows, bool withMeanings) {
        const qsizetype looked = std::min<qsizetype>(rows.size(), 5);
        const auto having = [&](qsizetype columns) {
            return std::count_if(rows.begin(), rows.begin() + looked,
                                 [&](const Row& row) { return row.fields.size() == columns; }) *
                       2 >
                   looked;
        };
        if (withMeanings && having(1))
            return ListForm::OneColumn;
        return having(2) ? ListForm::TwoColumns : ListForm::ThreeColumns;
    }

    // The row's meaning as the list gives it, or as the learner chose it.
    QString givenMeaning(int line, const QString& japanese) const {
        return japanese.isEmpty() && meanings_ ? trimBlanks(meanings_->chosen.value(line))
                                               : japanese;
    }

    void problem(int line, const Reason& reason) { list_.problems.append({line, reason}); }

    // The row's class, English and Japanese; the class by its place in a list without
    // one, the Japanese empty when a list read with meanings leaves it out.
    QStringList columnsOf(const Row& row, int index) const {
        QStringList columns = row.fields;
        if (form_ != ListForm::ThreeColumns)
            columns.prepend(QStringLiteral("クラス%1").arg(index / kWordsPerClass + 1));
        if (meanings_ && columns.size() == 2)
            columns.append(QString());
        return columns;
    }

    void readRow(const Row& row, int index) {
        const QStringList columns = columnsOf(row, index);
        const QString className = trimBlanks(columns[0]);
        // A row that is not text still counts as a row of its class when the class reads,
        // so that it is not reported again as a class of 49 rows.
        if (row.broken && className.contains(QChar::ReplacementCharacter))
            return;
        if (className.isEmpty())
            return problem(row.line, {QStringLiteral("the class name is empty"),
                                      QStringLiteral("クラス名が空です。")});
        // A refused row still counts as a row of its class, so that one mistake is
        // reported once and not again as a class of 49 rows.
        ClassRows* rows = countRow(row.line, className);
        if (!rows || row.broken)
            return;
        if (row.openQuote)
            return problem(row.line, kOpenQuote);
        if (columns.size() != 3)
            return problem(row.line, columnProblem(form_, row.fields.size()));
        const QString english = trimBlanks(columns[1]);
        QString japanese = trimBlanks(columns[2]);
        if (english.isEmpty())
            return problem(row.line, {QStringLiteral("the English word is empty"),
                                      QStringLiteral("英語が空です。")});
        if (japanese.isEmpty() && meanings_ && meanings_->chosen.contains(row.line))
            japanese = trimBlanks(meanings_->chosen.value(row.line));
        else if (japanese.isEmpty() && meanings_ &&
                 !fillMeaning(row.line, className, english, *rows, japanese))
            return;
        if (japanese.isEmpty())
            return problem(row.line, {QStringLiteral("the Japanese meaning is empty"),
                                      QStringLiteral("日本語が空です。")});
        if (const Reason why = slotProblem(english, japanese); !why.isEmpty())
            return problem(row.line, why);
        // Said of the text when the class has it already; false when it has not.
        const auto repeated = [&](const QHash<QString, int>& lines, const QString& text,
                                  const Reason& said) {
            const int first = lines.value(text);
            if (first != 0)
                problem(row.line, said.arg(className).arg(text).arg(first));
            return first != 0;
        };
        if (repeated(rows->englishLines, english,
                     {QStringLiteral("class \"%1\" already has the English word \"%2\" (line %3)"),
                      QStringLiteral("クラス「%1」には英語「%2」がもうあります（行 %3）。")}) ||
            repeated(rows->japaneseLines, japanese,
                     {QStringLiteral("class \"%1\" already has the Japanese meaning \"%2\" "
                                     "(line %3)"),
                      QStringLiteral("クラス「%1」には日本語「%2」がもうあります（行 %3）。")}))
            return;
        rows->englishLines.insert(english, row.line);
        rows->japaneseLines.insert(japanese, row.line);
        list_.content.classes[rows->index].words.append({english, japanese});
    }

    // The first proposal for the English word that fits its slot and that the class does
    // not have, nor gets from a later row; false, with the row refused, when there is none.
    bool fillMeaning(int line, const QString& className, const QString& english,
                     const ClassRows& rows, QString& japanese) {
        for (const QString& proposal : meanings_->proposals(english)) {
            if (slotProblem(english, proposal).isEmpty() &&
                !rows.japaneseLines.contains(proposal) &&
                !givenMeanings_.contains({className, proposal})) {
                japanese = proposal;
                meanings_->filled.append({line, english, japanese});
                return true;
            }
        }
        meanings_->unfilled.append({line, english, {}});
        problem(line, Reason{QStringLiteral("no meaning for \"%1\" was found in the dictionaries"),
                             QStringLiteral("「%1」の訳語が辞書に見つかりません。")}
                          .arg(visible(english)));
        return false;
    }

    // Counts a row in its class; null when the row is one too many or its class is refused.
    ClassRows* countRow(int lineNo, const QString& className) {
        ClassRows* rows = classFor(lineNo, className);
        if (!rows)
            return nullptr;
        if (++rows->rows > kWordsPerClass) {
            if (rows->rows == kWordsPerClass + 1)
                problem(lineNo, Reason{QStringLiteral("class \"%1\" has more than %2 rows (its "
                                                      "first row is line %3); a class has "
                                                      "exactly %2"),
                                       QStringLiteral("クラス「%1」が %2 語を超えています（最初の"
                                                      "行は 行 %3）。1 つのクラスはちょうど %2 "
                                                      "語です。")}
                                    .arg(visible(className))
                                    .arg(kWordsPerClass)
                                    .arg(rows->firstLine));
            return nullptr;
        }
        return rows;
    }

    // The class a row belongs to, opened at its first row; null when it is refused.
    ClassRows* classFor(int lineNo, const QString& className) {
        if (auto it = classes_.find(className); it != classes_.end())
            return &*it;
        if (refusedClasses_.contains(className))
            return nullptr;
        const int index = int(list_.content.classes.size());
        if (index == kMaxClasses) {
            // One message for them all, worded in finish().
            refusedClasses_.insert(className);
            if (extraClasses_.isEmpty())
                firstExtraLine_ = lineNo;
            extraClasses_.append(className);
            return nullptr;
        }
        if (const Reason why = slotProblem(classHeaderEnglish(index), className); !why.isEmpty()) {
            refusedClasses_.insert(className);
            problem(lineNo, why.prefixed(Reason{QStringLiteral("class name \"%1\": "),
                                                QStringLiteral("クラス名「%1」：")}
                                             .arg(visible(className))));
            return nullptr;
        }
        list_.content.classes.append({className, {}});
        return &*classes_.insert(className, ClassRows{index, lineNo, 0, {}, {}});
    }

    void finish() {
        if (extraClasses_.size() == 1)
            problem(firstExtraLine_,
                    Reason{QStringLiteral("class \"%1\" would be class %2; a book holds at most %3 "
                                          "classes"),
                           QStringLiteral("クラス「%1」は %2 番目のクラスになります。単語帳のクラス"
                                          "は %3 個までです。")}
                        .arg(visible(extraClasses_.first()))
                        .arg(kMaxClasses + 1)
                        .arg(kMaxClasses));
        else if (extraClasses_.size() > 1)
            problem(firstExtraLine_,
                    Reason{QStringLiteral("class \"%1\" and %2 more would be classes %3 to %4; a "
                                          "book holds at most %5 classes"),
                           QStringLiteral("クラス「%1」ほか %2 個は %3～%4 番目のクラスになります。"
                                          "単語帳のクラスは %5 個までです。")}
                        .arg(visible(extraClasses_.first()))
                        .arg(extraClasses_.size() - 1)
                        .arg(kMaxClasses + 1)
                        .arg(kMaxClasses + extraClasses_.size())
                        .arg(kMaxClasses));
        if (list_.content.classes.isEmpty() && list_.problems.isEmpty())
            problem(0, Reason{QStringLiteral("there are no word rows; a book needs at least one "
                                             "class of %1 words"),
                              QStringLiteral("単語の行がありません。単語帳には %1 語のクラスが 1 つ"
                                             "以上必要です。")}
                           .arg(kWordsPerClass));
        for (const BookClass& bookClass : std::as_const(list_.content.classes)) {
            const ClassRows& rows = classes_[bookClass.name];
            if (rows.rows < kWordsPerClass)
                problem(rows.firstLine,
                        {QStringLiteral("class \"%1\" has only %2 %3; a class has exactly %4")
                             .arg(visible(bookClass.name))
                             .arg(rows.rows)
                             .arg(rows.rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"))
                             .arg(kWordsPerClass),
                         QStringLiteral("クラス「%1」は %2 語しかありません。1 つのクラスには"
                                        "ちょうど %3 語が必要です（あと %4 語）。")
                             .arg(visible(bookClass.name))
                             .arg(rows.rows)
                             .arg(kWordsPerClass)
                             .arg(kWordsPerClass - rows.rows)});
        }
        std::stable_sort(
            list_.problems.begin(), list_.problems.end(),
            [](const ListProblem& a, const ListProblem& b) { return a.line < b.line; });
    }

    ListMeanings* meanings_;
    QSet<std::pair<QString, QString>> givenMeanings_; // each class and meaning the list gives
    ParsedList list_;
    ListForm form_ = ListForm::ThreeColumns;
    QHash<QString, ClassRows> classes_;
    QSet<QString> refusedClasses_;
    QStringList extraClasses_; // past the last class a book holds, in order
    int firstExtraLine_ = 0;
};

} // namespace

ParsedList parseWordList(QByteArrayView bytes, ListMeanings* meanings) {
    return ListParser(meanings).parse(bytes);
}

Reason controlCharacterProblem(const QString& text) {
    const QString control = firstControlCharacter(text);
    if (control.isEmpty())
        return {};
    return Reason{QStringLiteral("the control character %1 cannot be stored in a word book"),
                  QStringLiteral("制御文字（%1）は単語帳に入れられません。")}
        .arg(control);
}

Reason titleProblem(const QString& title) {
    const Reason why = slotProblem(title, QString());
    return why.isEmpty() ? why
                         : why.prefixed({QStringLiteral("the title: "), QStringLiteral("題名：")});
}

} // namespace book
