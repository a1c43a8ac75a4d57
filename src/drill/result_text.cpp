#include "result_text.h"

#include "book/text_file.h"

namespace drill {

namespace {

QString markText(AnswerMark mark) {
    switch (mark) {
    case AnswerMark::NewlyMemorised:
        return QStringLiteral(" ☆ ");
    case AnswerMark::Plain:
        return QStringLiteral(" 　 ");
    case AnswerMark::NewlyForgotten:
        return QStringLiteral(" ？ ");
    }
    return {};
}

QString banner(book::Mode mode) {
    switch (mode) {
    case book::Reading:
        return QStringLiteral("-- リーディング編 --");
    case book::Writing:
        return QStringLiteral("-- ライティング編 -- ");
    case book::Listening:
        return QStringLiteral("-- リスニング編 -- ");
    }
    return {};
}

const QString kIndent = u' ' + QString(12, QChar(0x3000));

} // namespace

QString startLine(const QString& className) {
    return QStringLiteral(" 単語クラス：") + className + QStringLiteral("を選択しました。");
}

QString answerLine(AnswerMark mark, const QString& shownWord, const QString& answer) {
    return markText(mark) + shownWord + QStringLiteral("    ") + answer;
}

QStringList summaryLines(int forgotten, int memorised, int memorisedTotal, book::Mode mode) {
    return {
        QString(),
        kIndent + QStringLiteral("    < ☆：記憶単語、?：失念単語 >"),
        QStringLiteral(" 結果は以下のとおりです。"),
        QStringLiteral(" ・ 失念単語数：") + book::signedBlank(forgotten),
        QStringLiteral(" ・ 記憶単語数：") + book::signedBlank(memorised),
        QStringLiteral(" ・ 記憶単語総数：") + book::signedBlank(memorisedTotal),
        QString(),
        kIndent + QString(12, u' ') + banner(mode),
    };
}

} // namespace drill
