#include "word_list.h"

#include "cp932.h"
#include "list_records.h"
#include "list_text.h"
#include "record_map.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>

namespace book {

namespace {

// The first character of the text that CP932 has no form for.
QStringView firstUnencodable(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (!cp932Size(text.sliced(i, width)))
            return text.sliced(i, width);
        i += width - 1;
    }
    return {};
}

// Why two texts do not fit one record's slot; empty when they fit.
Reason slotProblem(QStringView english, QStringView japanese) {
    if (english.contains(u'\n') || japanese.contains(u'\n'))
        return {QStringLiteral("a field holds a line break, which a word book cannot store"),
                QStringLiteral("セルの中の改行は単語帳に入れられません。")};
    for (const QStringView text : {english, japanese}) {
        if (const Reason why = controlCharacterProblem(text); !why.isEmpty())
            return why;
    }
    const std::optional<qsizetype> englishBytes = cp932Size(english);
    const std::optional<qsizetype> japaneseBytes = cp932Size(japanese);
    if (!englishBytes || !japaneseBytes) {
        const QString bad = firstUnencodable(englishBytes ? japanese : english).toString();
        return Reason{QStringLiteral("the character \"%1\" (%2) cannot be stored in a word book "
                                     "(it has no Shift-JIS form)"),
                      QStringLiteral("文字「%1」（%2）は Shift_JIS で表せないため、"
                                     "単語帳に入れられません。")}
            .arg(bad, codePointName(bad.toUcs4().value(0)));
    }
    // The slot's own rule (encodeSlot), without building the slot.
    if (*englishBytes + *japaneseBytes > kMaxTextBytes)
        return Reason{QStringLiteral("the texts take %1 bytes in Shift-JIS, but a record holds at "
                                     "most %2"),
                      QStringLiteral("Shift_JIS で %1 バイトあります。1 つのレコードに入るのは "
                                     "%2 バイトまでです。")}
            .arg(*englishBytes + *japaneseBytes, kMaxTextBytes);
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

bool isColumnName(QStringView field, std::initializer_list<QStringView> names) {
    const QStringView name = trimBlanks(field);
    return std::any_of(names.begin(), names.end(), [&](QStringView known) {
        return name.compare(known, Qt::CaseInsensitive) == 0;
    });
}

// Whether a row is the column names that spreadsheets keep in their first row. Only the
// English and Japanese columns are looked at: the class column goes by many names.
bool isHeaderRow(const QList<QStringView>& fields) {
    return (fields.size() == 2 || fields.size() == 3) &&
           isColumnName(fields[fields.size() - 2],
                        {u"english", u"英語", u"英単語", u"word", u"単語"}) &&
           isColumnName(fields.last(),
                        {u"japanese", u"日本語", u"日本語訳", u"訳", u"和訳", u"意味", u"meaning"});
}

const Reason kOpenQuote{QStringLiteral("the quote (\") that opens a field on this line is never "
                                       "closed, so the rest of the list would be that one field"),
                        QStringLiteral("この行で始まる引用符（\"）が閉じられていません。")};

// A row of the list with the blank fields a spreadsheet adds at its end taken off.
struct Row {
    ListRecord record;
    bool broken = false; // a line of it is no text in the list's encoding

    int line() const { return record.line; }
    const QList<QStringView>& fields() const { return record.fields; }
};

// The text of a cell as the book takes it.
QStringView cellText(QStringView cell) { return unguardedCell(trimBlanks(cell)); }

// Takes off the blank fields a spreadsheet adds at the end of a row.
void dropBlankFieldsAtEnd(ListRecord& record) {
    while (!record.fields.isEmpty() && trimBlanks(record.fields.constLast()).isEmpty())
        record.fields.removeLast();
}

// What the parser remembers of one class while it reads the rows.
struct ClassRows {
    QString name;
    int index = 0;
    int firstLine = 0;
    int rows = 0;
    // The line of each word the class keeps, in order. A class keeps so few words that
    // looking through them costs less than hashing them.
    std::array<int, kWordsPerClass> wordLines{};
};

// The problems found: the first kKeptProblems by line are kept, the others only counted.
class Problems {
public:
    void add(int line, const Reason& reason) {
        ++count_;
        if (kept_.size() >= kKeptProblems && line >= lastKept_)
            return;
        kept_.append({line, reason});
        lastKept_ = std::max(lastKept_, line);
        if (kept_.size() == 2 * kKeptProblems)
            trim();
    }
    int count() const { return count_; }
    QList<ListProblem> take() {
        trim();
        return std::move(kept_);
    }

private:
    static bool byLine(const ListProblem& a, const ListProblem& b) { return a.line < b.line; }

    void trim() {
        // The problems come mostly in line order: then there is nothing to sort.
        if (!std::is_sorted(kept_.begin(), kept_.end(), byLine))
            std::stable_sort(kept_.begin(), kept_.end(), byLine);
        if (kept_.size() > kKeptProblems)
            kept_.resize(kKeptProblems);
        lastKept_ = kept_.isEmpty() ? 0 : kept_.constLast().line;
    }

    QList<ListProblem> kept_;
    int lastKept_ = 0;
    int count_ = 0;
};

class ListParser {
public:
    explicit ListParser(ListMeanings* meanings) : meanings_(meanings) {}

    ParsedList parse(QByteArrayView bytes) {
        text_ = decodeList(bytes);
        if (!text_.refusal.isEmpty())
            problem(0, text_.refusal);
        for (const int line : std::as_const(text_.brokenLines))
            problem(line, text_.brokenLineReason);
        nextBroken_ = text_.brokenLines.cbegin();
        delimiter_ = listDelimiter(text_.text);
        ListRecordReader reader(text_.text, delimiter_);

        // The form is told from the first rows, so they are read ahead.
        constexpr qsizetype kRowsAhead = 5;
        QList<Row> ahead;
        ahead.reserve(kRowsAhead);
        Row row;
        while (ahead.size() < kRowsAhead && nextRow(reader, row))
            ahead.append(row);
        qsizetype first = 0;
        if (!ahead.isEmpty() && isHeaderRow(ahead.first().fields())) {
            form_ =
                ahead.first().fields().size() == 2 ? ListForm::TwoColumns : ListForm::ThreeColumns;
            first = 1;
        } else {
            form_ = formOf(ahead, meanings_ != nullptr);
        }
        if (meanings_)
            collectGivenMeanings(first);
        int index = 0;
        for (qsizetype k = first; k < ahead.size(); ++k)
            readRow(ahead[k], index++);
        while (nextRow(reader, row))
            readRow(row, index++);
        finish();
        list_.problemCount = problems_.count();
        list_.problems = problems_.take();
        return std::move(list_);
    }

private:
    // Two columns (or one) when most of the first five rows have two (or one).
    static ListForm formOf(const QList<Row>& rows, bool withMeanings) {
        const auto having = [&](qsizetype columns) {
            return std::count_if(rows.begin(), rows.end(),
                                 [&](const Row& row) { return row.fields().size() == columns; }) *
                       2 >
                   rows.size();
        };
        if (withMeanings && having(1))
            return ListForm::OneColumn;
        return having(2) ? ListForm::TwoColumns : ListForm::ThreeColumns;
    }

    // The next of the list's own rows: no blank rows, no comments. The title line goes into
    // the list.
    bool nextRow(ListRecordReader& reader, Row& row) {
        while (reader.next(row.record)) {
            ListRecord& record = row.record;
            while (nextBroken_ != text_.brokenLines.cend() && *nextBroken_ < record.line)
                ++nextBroken_;
            row.broken = nextBroken_ != text_.brokenLines.cend() && *nextBroken_ <= record.lastLine;
            dropBlankFieldsAtEnd(record);
            if (record.fields.isEmpty())
                continue;
            if (!record.fields.constFirst().startsWith(u'#'))
                return true;
            if (record.openQuoteLine != 0)
                problem(record.openQuoteLine, kOpenQuote);
            if (record.line == 1 && record.fields.constFirst().startsWith(kTitlePrefix) &&
                !row.broken) {
                QString line = record.fields.constFirst().toString();
                for (const QStringView field : record.fields.sliced(1))
                    line.append(delimiter_).append(field);
                list_.hasTitleLine = true;
                list_.content.title = trimBlanks(line.sliced(kTitlePrefix.size()));
            }
        }
        return false;
    }

    void problem(int line, const Reason& reason) { problems_.add(line, reason); }

    // The class of row `index` in a list of two columns: "クラス1" for the first 50, ….
    QStringView numberedClass(int index) {
        const int number = index / kWordsPerClass + 1;
        if (number != numberedClassNumber_) {
            numberedClassNumber_ = number;
            numberedClass_ = QStringLiteral("クラス%1").arg(number);
        }
        return numberedClass_;
    }

    struct Columns {
        QStringView className;
        QStringView english;
        QStringView japanese;
        bool complete = false; // false when the row has too few or too many fields
    };

    // The row's class, English and Japanese; the class by its place in a list without
    // one, the Japanese empty when a list read with meanings leaves it out.
    Columns columnsOf(const QList<QStringView>& fields, int index) {
        if (form_ == ListForm::ThreeColumns)
            return {fields[0], fields.value(1), fields.value(2),
                    fields.size() == 3 || (meanings_ && fields.size() == 2)};
        return {numberedClass(index), fields[0], fields.value(1),
                fields.size() == 2 || (meanings_ && fields.size() == 1)};
    }

    // A meaning the list gives is never refused for a proposal taken before it: the rows
    // are read once ahead for their meanings.
    // The row's meaning as the list gives it, or as the learner chose it.
    QString givenMeaning(int line, QStringView japanese) const {
        return japanese.isEmpty() ? trimBlanks(meanings_->chosen.value(line)) : japanese.toString();
    }

    void collectGivenMeanings(qsizetype headerRows) {
        ListRecordReader reader(text_.text, delimiter_);
        ListRecord record;
        for (int index = -int(headerRows); reader.next(record);) {
            dropBlankFieldsAtEnd(record);
            if (record.fields.isEmpty() || record.fields.constFirst().startsWith(u'#'))
                continue;
            const Columns columns = columnsOf(record.fields, index);
            if (index++ >= 0 && columns.complete)
                givenMeanings_.insert({cellText(columns.className).toString(),
                                       givenMeaning(record.line, cellText(columns.japanese))});
        }
    }

    void readRow(const Row& row, int index) {
        const ListRecord& record = row.record;
        // A quote that is never closed took in the rest of the list; when it opens the class
        // name, the row names no class.
        if (record.openQuoteLine != 0 && form_ == ListForm::ThreeColumns &&
            record.fields.size() == 1)
            return problem(record.openQuoteLine, kOpenQuote);
        const Columns columns = columnsOf(record.fields, index);
        const QStringView className = cellText(columns.className);
        // A row that is not text still counts as a row of its class when the class reads,
        // so that it is not reported again as a class of 49 rows.
        if (row.broken && className.contains(QChar::ReplacementCharacter))
            return;
        if (className.isEmpty())
            return problem(row.line(), {QStringLiteral("the class name is empty"),
                                        QStringLiteral("クラス名が空です。")});
        // A refused row still counts as a row of its class, so that one mistake is
        // reported once and not again as a class of 49 rows.
        ClassRows* rows = countRow(row.line(), className);
        if (!rows || row.broken)
            return;
        if (record.openQuoteLine != 0)
            return problem(record.openQuoteLine, kOpenQuote);
        if (!columns.complete)
            return problem(row.line(), columnProblem(form_, record.fields.size()));
        const QStringView english = cellText(columns.english);
        QStringView japanese = cellText(columns.japanese);
        if (english.isEmpty())
            return problem(row.line(), {QStringLiteral("the English word is empty"),
                                        QStringLiteral("英語が空です。")});
        QString proposal;
        if (japanese.isEmpty() && meanings_ && meanings_->chosen.contains(row.line())) {
            proposal = trimBlanks(meanings_->chosen.value(row.line()));
            japanese = proposal;
        } else if (japanese.isEmpty() && meanings_) {
            if (!fillMeaning(row.line(), className, english, *rows, proposal))
                return;
            japanese = proposal;
        }
        if (japanese.isEmpty())
            return problem(row.line(), {QStringLiteral("the Japanese meaning is empty"),
                                        QStringLiteral("日本語が空です。")});
        if (const Reason why = slotProblem(english, japanese); !why.isEmpty())
            return problem(row.line(), why);
        // Said of the text when the class has it already; false when it has not.
        const auto repeated = [&](QString BookWord::*part, QStringView text, const Reason& said) {
            const int first = lineOf(*rows, part, text);
            if (first != 0)
                problem(row.line(), said.arg(quotedText(className), quotedText(text), first));
            return first != 0;
        };
        if (repeated(&BookWord::english, english,
                     {QStringLiteral("class \"%1\" already has the English word \"%2\" (line %3)"),
                      QStringLiteral("クラス「%1」には英語「%2」がもうあります（行 %3）。")}) ||
            repeated(&BookWord::japanese, japanese,
                     {QStringLiteral("class \"%1\" already has the Japanese meaning \"%2\" "
                                     "(line %3)"),
                      QStringLiteral("クラス「%1」には日本語「%2」がもうあります（行 %3）。")}))
            return;
        QList<BookWord>& words = list_.content.classes[rows->index].words;
        rows->wordLines[words.size()] = row.line(); // countRow keeps it within the class
        words.append({english.toString(), japanese.toString()});
    }

    // The line of the class's word whose English (or Japanese, by `part`) is the text; 0
    // when it has none.
    int lineOf(const ClassRows& rows, QString BookWord::*part, QStringView text) const {
        const QList<BookWord>& words = list_.content.classes[rows.index].words;
        for (qsizetype k = 0; k < words.size(); ++k) {
            if (words[k].*part == text)
                return rows.wordLines[k];
        }
        return 0;
    }

    // The first proposal for the English word that fits its slot and that the class does
    // not have, nor gets from a later row; false, with the row refused, when there is none.
    bool fillMeaning(int line, QStringView className, QStringView english, const ClassRows& rows,
                     QString& japanese) {
        for (const QString& proposal : meanings_->proposals(english.toString())) {
            if (slotProblem(english, proposal).isEmpty() &&
                lineOf(rows, &BookWord::japanese, proposal) == 0 &&
                !givenMeanings_.contains({className.toString(), proposal})) {
                japanese = proposal;
                meanings_->filled.append({line, english.toString(), japanese});
                return true;
            }
        }
        meanings_->unfilled.append({line, english.toString(), {}});
        problem(line, Reason{QStringLiteral("no meaning for \"%1\" was found in the dictionaries"),
                             QStringLiteral("「%1」の訳語が辞書に見つかりません。")}
                          .arg(quotedText(english)));
        return false;
    }

    // Counts a row in its class; null when the row is one too many or its class is refused.
    ClassRows* countRow(int lineNo, QStringView className) {
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
                                    .arg(quotedText(className), kWordsPerClass, rows->firstLine));
            return nullptr;
        }
        return rows;
    }

    // The class a row belongs to, opened at its first row; null when it is refused.
    ClassRows* classFor(int lineNo, QStringView className) {
        for (ClassRows& rows : classes_) {
            if (rows.name == className)
                return &rows;
        }
        // Refused names are remembered by their hash alone: a list may hold a great many.
        const size_t hash = qHash(className);
        if (refusedClasses_.contains(hash))
            return nullptr;
        const int index = int(classes_.size());
        if (index == kMaxClasses) {
            // One message for them all, worded in finish().
            refusedClasses_.insert(hash);
            if (extraClasses_++ == 0) {
                firstExtraLine_ = lineNo;
                firstExtraClass_ = className.toString();
            }
            return nullptr;
        }
        if (const Reason why = slotProblem(classHeaderEnglish(index), className); !why.isEmpty()) {
            refusedClasses_.insert(hash);
            problem(lineNo, why.prefixed(Reason{QStringLiteral("class name \"%1\": "),
                                                QStringLiteral("クラス名「%1」：")}
                                             .arg(quotedText(className))));
            return nullptr;
        }
        classes_.append({className.toString(), index, lineNo, 0, {}});
        list_.content.classes.append({classes_.last().name, {}});
        return &classes_.last();
    }

    void finish() {
        if (extraClasses_ == 1)
            problem(firstExtraLine_,
                    Reason{QStringLiteral("class \"%1\" would be class %2; a book holds at most %3 "
                                          "classes"),
                           QStringLiteral("クラス「%1」は %2 番目のクラスになります。単語帳のクラス"
                                          "は %3 個までです。")}
                        .arg(quotedText(firstExtraClass_), kMaxClasses + 1, kMaxClasses));
        else if (extraClasses_ > 1)
            problem(firstExtraLine_,
                    Reason{QStringLiteral("class \"%1\" and %2 more would be classes %3 to %4; a "
                                          "book holds at most %5 classes"),
                           QStringLiteral("クラス「%1」ほか %2 個は %3～%4 番目のクラスになります。"
                                          "単語帳のクラスは %5 個までです。")}
                        .arg(quotedText(firstExtraClass_), extraClasses_ - 1, kMaxClasses + 1,
                             kMaxClasses + extraClasses_, kMaxClasses));
        if (classes_.isEmpty() && problems_.count() == 0)
            problem(0, Reason{QStringLiteral("there are no word rows; a book needs at least one "
                                             "class of %1 words"),
                              QStringLiteral("単語の行がありません。単語帳には %1 語のクラスが 1 つ"
                                             "以上必要です。")}
                           .arg(kWordsPerClass));
        // Filled in at once, not one .arg() after another, so that a "%1" in a class name
        // stays as it is; a list of broken rows can make many short classes.
        const QString fullClass = QString::number(kWordsPerClass);
        for (const ClassRows& rows : std::as_const(classes_)) {
            if (rows.rows >= kWordsPerClass)
                continue;
            const QString name = quotedText(rows.name);
            const QString count = QString::number(rows.rows);
            problem(
                rows.firstLine,
                {QStringLiteral("class \"%1\" has only %2 %3; a class has exactly %4")
                     .arg(name, count, rows.rows == 1 ? u"row" : u"rows", fullClass),
                 QStringLiteral("クラス「%1」は %2 語しかありません。1 つのクラスには"
                                "ちょうど %3 語が必要です（あと %4 語）。")
                     .arg(name, count, fullClass, QString::number(kWordsPerClass - rows.rows))});
        }
    }

    ListMeanings* meanings_;
    QSet<std::pair<QString, QString>> givenMeanings_; // each class and meaning the list gives
    ListText text_;
    QList<int>::const_iterator nextBroken_;
    QChar delimiter_;
    ParsedList list_;
    Problems problems_;
    ListForm form_ = ListForm::ThreeColumns;
    QList<ClassRows> classes_; // in order, at most kMaxClasses
    QString numberedClass_;    // of the rows of a list of two columns, made once a class
    int numberedClassNumber_ = 0;
    QSet<size_t> refusedClasses_;
    int extraClasses_ = 0; // past the last class a book holds
    int firstExtraLine_ = 0;
    QString firstExtraClass_;
};

} // namespace

ParsedList parseWordList(QByteArrayView bytes, ListMeanings* meanings) {
    return ListParser(meanings).parse(bytes);
}

QString quotedText(QStringView text) {
    constexpr qsizetype kShown = 32;
    qsizetype keep = kShown - 1;
    if (text.size() > kShown && text.at(keep - 1).isHighSurrogate())
        --keep;
    QString shown = text.size() <= kShown ? text.toString() : text.first(keep).toString() + u'…';
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control)
            c = u'?';
    }
    return shown;
}

Reason controlCharacterProblem(QStringView text) {
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
