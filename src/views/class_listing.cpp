#include "class_listing.h"

#include "book/book.h"
#include "book/learning.h"
#include "book/record_map.h"
#include "book/text_file.h"

#include <algorithm>
#include <cmath>

namespace views {

namespace {

const QString kLabelIndent = QStringLiteral(
    " \u3000 \u3000\u3000            \u3000\u3000\u3000        \u3000\u3000        ");
const QString kPlayCountLabel = kLabelIndent + QStringLiteral("プレイ回数：");
const QString kForgottenLabel = kLabelIndent + QStringLiteral("失念単語数：");
// One character longer than the others: it starts a column earlier, so the colons align.
const QString kWeakCountLabel = kLabelIndent.chopped(2) + QStringLiteral("苦手な単語数：");
// The column headings up to the state column's, "回数".
const QString kReadingColumns = QStringLiteral("\u3000 英語            日本語        回数");
const QString kWritingColumns = QStringLiteral("\u3000 日本語          英語          回数");
const QString kStateHeading = QStringLiteral("回数");
const QString kMemorisedCount = QStringLiteral("         記憶単語数：");
// A review's words come from every class: each word's class follows its state, close
// enough that long meanings and class names still fit the display's width.
const QString kClassColumn = QStringLiteral("クラス");
// The columns of the state column and its fill, up to the class column.
constexpr int kStateColumnWidth = 7;
const QString kNothingToReview =
    QStringLiteral("\u3000 このモードで復習する苦手な単語はありません。");
// 「今日の復習」's headings: its count where the play count stands, its colon under the
// others', and the sentence of the refusal that says when the next words fall due.
const QString kDueCountLabel = kLabelIndent.chopped(8) + QStringLiteral("今日の復習の単語数：");
const QString kNextDueIndent = QString(20, u' ');
const QString kRecallHeading = QStringLiteral("想起率");
// The state and recall columns of a due word are narrower than a weak word's, so that the
// class after them still fits the display's width.
constexpr int kDueStateColumnWidth = 5;
constexpr int kRecallColumnWidth = 8;
// A ☆ word with no answer logged has no predicted recall.
const QString kNoRecall = QStringLiteral("－");
const QString kNothingDue = QStringLiteral("\u3000 このモードで今日復習する単語はありません。");
const QString kWordLinePrefix = QStringLiteral("\u3000 ");
const QString kFooterPrefix = QStringLiteral("                              -");
const QString kFooterSuffix = QStringLiteral(" -");

// Blanks that pad a column of `width` columns; at least one blank.
QString fill(qsizetype columns, int width) {
    return QString(columns < width ? width - columns : 1, u' ');
}

QString stateColumn(qint16 state) {
    if (book::isMemorised(state))
        return QStringLiteral("☆");
    if (state >= 0)
        return QString::number(state);
    return QStringLiteral("？");
}

// Columns of a text in the fixed-pitch font: two for each character beyond ASCII.
qsizetype columns(const QString& text) {
    qsizetype n = 0;
    for (const QChar c : text)
        n += c.unicode() < 0x80 ? 1 : 2;
    return n;
}

QString columnHeading(book::Mode mode) {
    return mode == book::Reading ? kReadingColumns : kWritingColumns;
}

QString wordLine(const book::WordRecord& word, book::Mode mode) {
    const QString english = word.english;
    const QString japanese = word.japanese;
    QString line = kWordLinePrefix;
    if (mode == book::Reading) {
        line += english + fill(english.size(), 16) + japanese + fill(2 * japanese.size(), 14);
    } else {
        line += japanese + fill(2 * japanese.size(), 16) + english + fill(english.size(), 16);
    }
    return line + stateColumn(word.modeCount[mode]);
}

} // namespace

ClassListing buildClassListing(const book::RecordFile& file, int classFirstRecord,
                               std::optional<int> classIndex, book::Mode mode,
                               const QStringList& nextReviews) {
    int memorised = 0;
    int forgotten = 0;
    for (int r = classFirstRecord; r < classFirstRecord + book::kWordsPerClass; ++r) {
        const qint16 state = file.read(r).modeCount[mode];
        memorised += book::isMemorised(state);
        forgotten += book::isForgotten(state);
    }

    ClassListing view;
    view.allMemorised = memorised == book::kWordsPerClass;
    view.classFound = classIndex.has_value();
    const book::WordRecord header = file.read(classFirstRecord - 1);
    view.lines << kPlayCountLabel + book::signedBlank(header.modeCount[mode])
               << columnHeading(mode) + kMemorisedCount + book::signedBlank(memorised)
               << kForgottenLabel + book::signedBlank(forgotten);
    if (!classIndex)
        return view;

    const int first = book::firstWordRecord(*classIndex);
    for (int i = 0; i < book::kWordsPerClass; ++i) {
        const book::WordRecord word = file.read(first + i).trimmed();
        QString line = wordLine(word, mode);
        if (const QString next = nextReviews.value(i); !next.isEmpty())
            line += fill(columns(stateColumn(word.modeCount[mode])), kStateColumnWidth) + next;
        view.lines << line;
    }
    view.lines << QString() << kFooterPrefix + book::signedBlank(*classIndex + 1) + kFooterSuffix;
    return view;
}

ClassListing buildReviewListing(const book::RecordFile& file, int eofRecord, const WeakWords& weak,
                                book::Mode mode) {
    const QStringList classNames = book::listClasses(file, eofRecord);

    ClassListing view;
    view.classFound = true;
    view.lines << kWeakCountLabel + book::signedBlank(weak.total)
               << columnHeading(mode) + fill(columns(kStateHeading), kStateColumnWidth) +
                      kClassColumn
               << kForgottenLabel + book::signedBlank(weak.forgotten);
    if (weak.words.isEmpty())
        view.lines << kNothingToReview;
    for (const WeakWord& word : weak.words) {
        const QString line = wordLine(file.read(word.record).trimmed(), mode);
        const QString state = stateColumn(word.state);
        view.lines << line + fill(columns(state), kStateColumnWidth) +
                          classNames.value(word.classIndex);
    }
    view.lines << QString() << kFooterPrefix + u' ' + kWeakWordsEntry + kFooterSuffix;
    return view;
}

ClassListing buildDueListing(const book::RecordFile& file, int eofRecord,
                             const QList<DueWordRow>& words, int dueNow, const QString& nextDue,
                             book::Mode mode) {
    const QStringList classNames = book::listClasses(file, eofRecord);

    ClassListing view;
    view.classFound = true;
    view.lines << kDueCountLabel + book::signedBlank(dueNow)
               << columnHeading(mode) + fill(columns(kStateHeading), kDueStateColumnWidth) +
                      kRecallHeading + fill(columns(kRecallHeading), kRecallColumnWidth) +
                      kClassColumn
               << kNextDueIndent + nextDue;
    if (words.isEmpty())
        view.lines << kNothingDue;
    for (const DueWordRow& word : words) {
        const book::WordRecord record = file.read(word.record).trimmed();
        const QString state = stateColumn(record.modeCount[mode]);
        // Right-aligned in four columns: " 5％", "89％", "  －".
        QString recall =
            word.recall ? QString::number(int(std::floor(*word.recall * 100))) + u'％' : kNoRecall;
        recall.prepend(QString(std::max<qsizetype>(0, 4 - columns(recall)), u' '));
        view.lines << wordLine(record, mode) + fill(columns(state), kDueStateColumnWidth) + recall +
                          fill(columns(recall), kRecallColumnWidth) +
                          classNames.value(word.classIndex);
    }
    view.lines << QString() << kFooterPrefix + u' ' + kDueWordsEntry + kFooterSuffix;
    return view;
}

} // namespace views
