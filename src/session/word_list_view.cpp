#include "word_list_view.h"

#include "book/learning.h"
#include "book/record_map.h"
#include "book/text_file.h"

namespace session {

namespace {

const QString kPlayCountLabel = QStringLiteral(
    " \u3000 \u3000\u3000            \u3000\u3000\u3000        \u3000\u3000        プレイ回数：");
const QString kForgottenLabel = QStringLiteral(
    " \u3000 \u3000\u3000            \u3000\u3000\u3000        \u3000\u3000        失念単語数：");
const QString kReadingHeading =
    QStringLiteral("\u3000 英語            日本語        回数         記憶単語数：");
const QString kWritingHeading =
    QStringLiteral("\u3000 日本語          英語          回数         記憶単語数：");
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

QString wordLine(const book::WordRecord& word, int mode) {
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

WordListView buildWordListView(const book::RecordFile& file, int classFirstRecord,
                               std::optional<int> classIndex, int mode) {
    int memorised = 0;
    int forgotten = 0;
    for (int r = classFirstRecord; r < classFirstRecord + book::kWordsPerClass; ++r) {
        const qint16 state = file.read(r).modeCount[mode];
        memorised += book::isMemorised(state);
        forgotten += book::isForgotten(state);
    }

    WordListView view;
    view.allMemorised = memorised == book::kWordsPerClass;
    view.classFound = classIndex.has_value();
    const book::WordRecord header = file.read(classFirstRecord - 1);
    view.lines << kPlayCountLabel + book::signedBlank(header.modeCount[mode])
               << (mode == book::Reading ? kReadingHeading : kWritingHeading) +
                      book::signedBlank(memorised)
               << kForgottenLabel + book::signedBlank(forgotten);
    if (!classIndex)
        return view;

    const int first = book::firstWordRecord(*classIndex);
    for (int r = first; r < first + book::kWordsPerClass; ++r)
        view.lines << wordLine(file.read(r).trimmed(), mode);
    view.lines << QString() << kFooterPrefix + book::signedBlank(*classIndex + 1) + kFooterSuffix;
    return view;
}

} // namespace session
