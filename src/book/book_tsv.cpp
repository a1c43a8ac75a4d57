#include "book_tsv.h"

#include "book.h"
#include "book_check.h"
#include "cp932.h"
#include "file_report.h"
#include "record_map.h"
#include "whole_file.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

namespace book {

namespace {

QString quoted(const QString& text) { return u'"' + text + u'"'; }

// The first character of the text that CP932 has no form for.
QString firstUnencodable(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (!encodeCp932(QStringView(text).sliced(i, width)))
            return text.mid(i, width);
        i += width - 1;
    }
    return {};
}

// Why two texts do not fit one record's slot; empty when they fit.
QString slotProblem(const QString& english, const QString& japanese) {
    switch (encodeSlot(WordRecord{0, english, japanese, {}}).error) {
    case SlotError::None:
        return {};
    case SlotError::NotEncodable: {
        const QString bad = firstUnencodable(english + japanese);
        return QStringLiteral("the character %1 (U+%2) cannot be stored in a word book "
                              "(it has no Shift-JIS form)")
            .arg(quoted(bad))
            .arg(QString::number(bad.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0'));
    }
    case SlotError::TooLong:
        return QStringLiteral("the texts take %1 bytes in Shift-JIS, but a record holds at most %2")
            .arg(encodeCp932(english)->size() + encodeCp932(japanese)->size())
            .arg(kMaxTextBytes);
    }
    return {};
}

QString columnProblem(qsizetype columns) {
    if (columns == 1)
        return QStringLiteral("the English and Japanese columns are missing "
                              "(a row is class<TAB>English<TAB>Japanese)");
    if (columns == 2)
        return QStringLiteral("the Japanese column is missing "
                              "(a row is class<TAB>English<TAB>Japanese)");
    return QStringLiteral("the row has %1 columns; a row is class<TAB>English<TAB>Japanese")
        .arg(columns);
}

// What the parser remembers of one class while it reads the rows.
struct ClassRows {
    int index = 0;
    int firstLine = 0;
    int rows = 0;
    QHash<QString, int> englishLines;
    QHash<QString, int> japaneseLines;
};

class TsvParser {
public:
    ParsedBook parse(QByteArrayView utf8) {
        if (utf8.startsWith("\xEF\xBB\xBF"))
            utf8 = utf8.sliced(3);
        // Views of the lines, not copies: a list is read once, line by line.
        int lineNo = 0;
        for (qsizetype begin = 0; begin <= utf8.size();) {
            qsizetype end = utf8.indexOf('\n', begin);
            if (end < 0)
                end = utf8.size();
            QByteArrayView line = utf8.sliced(begin, end - begin);
            if (line.endsWith('\r'))
                line.chop(1);
            readLine(++lineNo, line);
            begin = end + 1;
        }
        finish();
        return std::move(book_);
    }

private:
    void problem(int line, const QString& reason) { book_.problems.append({line, reason}); }

    void readLine(int lineNo, QByteArrayView bytes) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = decoder.decode(bytes);
        if (decoder.hasError())
            return readBrokenLine(lineNo, bytes);
        if (lineNo == 1 && line.startsWith(kTitlePrefix)) {
            book_.hasTitleLine = true;
            book_.content.title = trimBlanks(line.sliced(kTitlePrefix.size()));
            return;
        }
        if (line.startsWith(u'#') || trimBlanks(line).isEmpty())
            return;
        readRow(lineNo, line.split(u'\t'));
    }

    // A line that is not UTF-8 still counts as a row of its class when its class
    // column reads, so that it is not reported again as a class of 49 rows.
    void readBrokenLine(int lineNo, QByteArrayView bytes) {
        problem(lineNo, QStringLiteral("the line is not valid UTF-8"));
        if (bytes.startsWith('#'))
            return;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const qsizetype tab = bytes.indexOf('\t');
        const QString className = trimBlanks(decoder.decode(tab < 0 ? bytes : bytes.first(tab)));
        if (!decoder.hasError() && !className.isEmpty())
            countRow(lineNo, className);
    }

    // Counts a row in its class; null when the row is one too many or its class is refused.
    ClassRows* countRow(int lineNo, const QString& className) {
        ClassRows* rows = classFor(lineNo, className);
        if (!rows)
            return nullptr;
        if (++rows->rows > kWordsPerClass) {
            if (rows->rows == kWordsPerClass + 1)
                problem(lineNo, QStringLiteral("class %1 has more than %2 rows (its first row "
                                               "is line %3); a class has exactly %2")
                                    .arg(quoted(className))
                                    .arg(kWordsPerClass)
                                    .arg(rows->firstLine));
            return nullptr;
        }
        return rows;
    }

    void readRow(int lineNo, const QStringList& columns) {
        const QString className = trimBlanks(columns[0]);
        if (className.isEmpty())
            return problem(lineNo, QStringLiteral("the class name is empty"));
        // A refused row still counts as a row of its class, so that one mistake is
        // reported once and not again as a class of 49 rows.
        ClassRows* rows = countRow(lineNo, className);
        if (!rows)
            return;
        if (columns.size() != 3)
            return problem(lineNo, columnProblem(columns.size()));
        const QString english = trimBlanks(columns[1]);
        const QString japanese = trimBlanks(columns[2]);
        if (english.isEmpty())
            return problem(lineNo, QStringLiteral("the English word is empty"));
        if (japanese.isEmpty())
            return problem(lineNo, QStringLiteral("the Japanese meaning is empty"));
        if (const QString why = slotProblem(english, japanese); !why.isEmpty())
            return problem(lineNo, why);
        if (const int first = rows->englishLines.value(english); first != 0)
            return problem(lineNo,
                           QStringLiteral("class %1 already has the English word %2 (line %3)")
                               .arg(quoted(className), quoted(english))
                               .arg(first));
        if (const int first = rows->japaneseLines.value(japanese); first != 0)
            return problem(lineNo,
                           QStringLiteral("class %1 already has the Japanese meaning %2 (line %3)")
                               .arg(quoted(className), quoted(japanese))
                               .arg(first));
        rows->englishLines.insert(english, lineNo);
        rows->japaneseLines.insert(japanese, lineNo);
        book_.content.classes[rows->index].words.append({english, japanese});
    }

    // The class a row belongs to, opened at its first row; null when it is one too many.
    ClassRows* classFor(int lineNo, const QString& className) {
        if (auto it = classes_.find(className); it != classes_.end())
            return &*it;
        if (refusedClasses_.contains(className))
            return nullptr;
        const int index = int(book_.content.classes.size());
        if (index == kMaxClasses) {
            // One message for them all, worded in finish().
            refusedClasses_.insert(className);
            if (extraClasses_.isEmpty())
                firstExtraLine_ = lineNo;
            extraClasses_.append(className);
            return nullptr;
        }
        if (const QString why = slotProblem(classHeaderEnglish(index), className); !why.isEmpty()) {
            refusedClasses_.insert(className);
            problem(lineNo, QStringLiteral("class name %1: %2").arg(quoted(className), why));
            return nullptr;
        }
        book_.content.classes.append({className, {}});
        return &*classes_.insert(className, ClassRows{index, lineNo, 0, {}, {}});
    }

    void finish() {
        if (extraClasses_.size() == 1)
            problem(firstExtraLine_,
                    QStringLiteral("class %1 would be class %2; a book holds at most %3 classes")
                        .arg(quoted(extraClasses_.first()))
                        .arg(kMaxClasses + 1)
                        .arg(kMaxClasses));
        else if (extraClasses_.size() > 1)
            problem(firstExtraLine_,
                    QStringLiteral("class %1 and %2 more would be classes %3 to %4; a book holds "
                                   "at most %5 classes")
                        .arg(quoted(extraClasses_.first()))
                        .arg(extraClasses_.size() - 1)
                        .arg(kMaxClasses + 1)
                        .arg(kMaxClasses + extraClasses_.size())
                        .arg(kMaxClasses));
        if (book_.content.classes.isEmpty() && book_.problems.isEmpty())
            problem(0, QStringLiteral("there are no word rows; a book needs at least one class "
                                      "of %1 words")
                           .arg(kWordsPerClass));
        for (const BookClass& bookClass : std::as_const(book_.content.classes)) {
            const ClassRows& rows = classes_[bookClass.name];
            if (rows.rows < kWordsPerClass)
                problem(rows.firstLine,
                        QStringLiteral("class %1 has only %2 %3; a class has exactly %4")
                            .arg(quoted(bookClass.name))
                            .arg(rows.rows)
                            .arg(rows.rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"))
                            .arg(kWordsPerClass));
        }
        std::stable_sort(book_.problems.begin(), book_.problems.end(),
                         [](const TsvProblem& a, const TsvProblem& b) { return a.line < b.line; });
    }

    ParsedBook book_;
    QHash<QString, ClassRows> classes_;
    QSet<QString> refusedClasses_;
    QStringList extraClasses_; // past the last class a book holds, in order
    int firstExtraLine_ = 0;
};

// The bytes of the book file holding `content`, built in memory.
std::optional<QByteArray> bookFileBytes(const BookContent& content) {
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    RecordFile records(buffer);
    if (writeBookRecords(records, content) != WriteStatus::Ok)
        return std::nullopt;
    return buffer.data();
}

// Why a text cannot stand in a word list line as it is.
bool breaksTsvLine(const QString& text) {
    return text.contains(u'\t') || text.contains(u'\n') || text.contains(u'\r');
}

} // namespace

ParsedBook parseBookTsv(QByteArrayView utf8) { return TsvParser().parse(utf8); }

QString titleProblem(const QString& title) {
    const QString why = slotProblem(title, QString());
    return why.isEmpty() ? why : QStringLiteral("the title: ") + why;
}

QByteArray bookToTsv(const BookContent& content) {
    QString text = kTitlePrefix.toString() + u' ' + content.title + u'\n';
    for (const BookClass& bookClass : content.classes) {
        for (const BookWord& word : bookClass.words)
            text += bookClass.name + u'\t' + word.english + u'\t' + word.japanese + u'\n';
    }
    return text.toUtf8();
}

QStringList createBookFromTsv(const QString& tsvPath, const QString& outPath,
                              const std::optional<QString>& title) {
    FileFailure failure;
    const std::optional<QByteArray> list = readWholeFile(tsvPath, kMaxListBytes, &failure);
    if (!list)
        return {QStringLiteral("%1: %2").arg(tsvPath,
                                             fileFailureText(failure, tsvPath, kMaxListBytes))};
    ParsedBook parsed = parseBookTsv(*list);
    int titleLine = 1;
    QString titleSource;
    if (title) {
        parsed.content.title = trimBlanks(*title);
        titleLine = 0;
        titleSource = QStringLiteral("--title: ");
    } else if (!parsed.hasTitleLine) {
        parsed.content.title = QFileInfo(tsvPath).completeBaseName();
        titleLine = 0;
        titleSource = QStringLiteral("the file name as title: ");
    }
    if (const QString why = titleProblem(parsed.content.title); !why.isEmpty())
        parsed.problems.prepend({titleLine, titleSource + why});

    QStringList messages;
    for (const TsvProblem& p : std::as_const(parsed.problems)) {
        messages << (p.line > 0 ? QStringLiteral("%1:%2: %3").arg(tsvPath).arg(p.line).arg(p.reason)
                                : QStringLiteral("%1: %2").arg(tsvPath, p.reason));
    }
    if (!messages.isEmpty())
        return messages;
    // Every text was checked against its slot above: the records cannot fail to fit.
    const std::optional<QByteArray> bytes = bookFileBytes(parsed.content);
    if (!bytes)
        return {QStringLiteral("%1: a record does not fit its slot").arg(outPath)};
    if (!writeWholeFile(outPath, *bytes, &failure))
        return {QStringLiteral("%1: cannot write the book: %2")
                    .arg(outPath, fileFailureText(failure, outPath))};
    return {};
}

std::optional<BookContent> readBookContent(const RecordFile& file, QString* error) {
    const EndRecord end = findEndRecord(file);
    if (end.state == BookState::NoEndRecord) {
        *error = QStringLiteral("no end record (\"EOF\") in records 1 to %1").arg(kEndSearchLimit);
        return std::nullopt;
    }
    if (end.state == BookState::Obsolete) {
        *error = QStringLiteral("an obsolete word book (\"Fin.\" at record %1)").arg(end.record);
        return std::nullopt;
    }
    BookContent content{file.read(trailerRecord(end.record, Trailer::Title)).trimmed().english, {}};
    const QStringList names = listClasses(file, end.record);
    for (int k = 0; k < names.size(); ++k) {
        BookClass bookClass{names[k], {}};
        for (int r = firstWordRecord(k); r < firstWordRecord(k) + kWordsPerClass; ++r) {
            const WordRecord word = file.read(r).trimmed();
            bookClass.words.append({word.english, word.japanese});
        }
        content.classes.append(bookClass);
    }
    return content;
}

std::optional<QByteArray> exportBookTsv(const QString& bookPath, QString* error) {
    QFile book(bookPath);
    if (const QString why = openRegularFile(book); !why.isEmpty()) {
        *error = QStringLiteral("cannot open the file: %1").arg(why);
        return std::nullopt;
    }
    // What a broken book's records hold is no word list.
    const BookCheck check = checkBook(book);
    if (check.verdict != BookVerdict::Valid) {
        *error = QStringLiteral("not a valid word book:\n  ") + check.problems.join(u"\n  ");
        return std::nullopt;
    }
    const RecordFile file(book);
    const std::optional<BookContent> content = readBookContent(file, error);
    if (!content)
        return std::nullopt;
    if (breaksTsvLine(content->title)) {
        *error =
            QStringLiteral("the title holds a tab or line break, which a word list cannot carry");
        return std::nullopt;
    }
    QHash<QString, int> classByName;
    for (int k = 0; k < content->classes.size(); ++k) {
        const BookClass& bookClass = content->classes[k];
        // A word list tells classes apart by name: two of one name would read back as one.
        if (const int first = classByName.value(bookClass.name, -1); first >= 0) {
            *error = QStringLiteral("classes %1 and %2 are both named %3, which a word list "
                                    "cannot tell apart")
                         .arg(first + 1)
                         .arg(k + 1)
                         .arg(quoted(bookClass.name));
            return std::nullopt;
        }
        classByName.insert(bookClass.name, k);
        // A row starting with '#' would read back as a comment.
        if (breaksTsvLine(bookClass.name) || bookClass.name.startsWith(u'#')) {
            *error = QStringLiteral("the name of class %1 (record %2) cannot stand at the start "
                                    "of a word list row")
                         .arg(k + 1)
                         .arg(classHeaderRecord(k));
            return std::nullopt;
        }
        for (int i = 0; i < bookClass.words.size(); ++i) {
            const BookWord& word = bookClass.words[i];
            if (breaksTsvLine(word.english) || breaksTsvLine(word.japanese)) {
                *error = QStringLiteral("record %1 holds a tab or line break, which a word list "
                                        "cannot carry")
                             .arg(firstWordRecord(k) + i);
                return std::nullopt;
            }
        }
    }
    return bookToTsv(*content);
}

} // namespace book
