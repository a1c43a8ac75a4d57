#include "progress_charts.h"

#include "book/record_map.h"

namespace progress {

namespace {

QString words(int count) { return QStringLiteral("%1語").arg(count); }

} // namespace

QString modeTitle(book::Mode mode) {
    switch (mode) {
    case book::Writing:
        return QStringLiteral("ライティング編");
    case book::Listening:
        return QStringLiteral("リスニング編");
    case book::Reading:
        break;
    }
    return QStringLiteral("リーディング編");
}

std::array<Chart, kChartCount> progressCharts(const session::ProgressNumbers& numbers) {
    const QString mode = QStringLiteral("（%1）").arg(modeTitle(numbers.mode));

    Chart classes{.kind = Chart::Kind::ClassBars,
                  .title = QStringLiteral("単語クラスごとの記憶単語数") + mode,
                  .valueAxis = QStringLiteral("記憶単語数（語、1クラス50語）"),
                  .categoryAxis = QStringLiteral("単語クラス"),
                  .minimumTop = double(book::kWordsPerClass),
                  .emptyText = QStringLiteral("この単語帳には単語クラスがありません。")};
    for (const session::ClassProgress& counted : numbers.classes)
        classes.values << counted.memorised;
    classes.label = [list = numbers.classes](qsizetype i) { return list[i].name; };
    classes.fullLabel = classes.label;
    classes.valueText = [list = numbers.classes](qsizetype i) { return words(list[i].memorised); };

    Chart totals{.kind = Chart::Kind::Line,
                 .title = QStringLiteral("記憶単語総数の推移") + mode,
                 .valueAxis = QStringLiteral("記憶単語総数（語）"),
                 .categoryAxis = QStringLiteral("ドリルの日付（1点がドリル1回）"),
                 .emptyText = QStringLiteral(
                     "まだドリルの記録がありません。\nドリルを終えるたびに点が増えます。")};
    totals.values.reserve(numbers.totals.size());
    for (const session::TotalPoint& point : numbers.totals)
        totals.values << point.total;
    totals.label = [list = numbers.totals](qsizetype i) {
        return list[i].day.toString(QStringLiteral("M/d"));
    };
    totals.fullLabel = [list = numbers.totals](qsizetype i) {
        return list[i].day.toString(QStringLiteral("yyyy/MM/dd ")) +
               list[i].time.toString(QStringLiteral("HH:mm"));
    };
    totals.valueText = [list = numbers.totals](qsizetype i) { return words(list[i].total); };

    Chart days{.kind = Chart::Kind::DayBars,
               .title =
                   QStringLiteral("日ごとの学習時間（最近%1日）").arg(numbers.days.size()) + mode,
               .valueAxis = QStringLiteral("学習時間（分）"),
               .categoryAxis = QStringLiteral("日付（月/日）")};
    for (const session::DayStudy& day : numbers.days)
        days.values << double(day.seconds) / 60.0;
    days.label = [list = numbers.days](qsizetype i) {
        return list[i].day.toString(QStringLiteral("M/d"));
    };
    days.fullLabel = [list = numbers.days](qsizetype i) {
        return list[i].day.toString(QStringLiteral("yyyy/MM/dd"));
    };
    days.valueText = [list = numbers.days](qsizetype i) {
        return session::readableDuration(list[i].seconds);
    };

    const QString target =
        QStringLiteral("（目標%1％）").arg(qRound(numbers.targetRetention * 100));
    Chart due{.kind = Chart::Kind::DayBars,
              .title =
                  QStringLiteral("今日の復習の予定（今後%1日）").arg(numbers.dueForecast.size()) +
                  mode,
              .valueAxis = QStringLiteral("復習する単語数（語）") + target,
              .categoryAxis = QStringLiteral("日付（月/日、今日の分は期限を過ぎた単語を含む）")};
    for (const int count : numbers.dueForecast)
        due.values << count;
    due.label = [today = numbers.today](qsizetype i) {
        return today.addDays(i).toString(QStringLiteral("M/d"));
    };
    due.fullLabel = [today = numbers.today](qsizetype i) {
        return today.addDays(i).toString(QStringLiteral("yyyy/MM/dd"));
    };
    due.valueText = [list = numbers.dueForecast](qsizetype i) { return words(list[i]); };

    Chart retention{.kind = Chart::Kind::Line,
                    .title = QStringLiteral("推定記憶率の推移") + mode,
                    .valueAxis = QStringLiteral("覚えた単語の平均の想起率（％）"),
                    .categoryAxis = QStringLiteral("日付（1点が1日、その日の終わり）"),
                    .minimumTop = 100,
                    .emptyText = QStringLiteral("まだ回答の記録がありません。\n"
                                                "ドリルで正解した単語から記憶率を推定します。")};
    for (const memory::RetentionPoint& point : numbers.retention)
        retention.values << point.retention * 100;
    retention.label = [list = numbers.retention](qsizetype i) {
        return list[i].day.toString(QStringLiteral("M/d"));
    };
    retention.fullLabel = [list = numbers.retention](qsizetype i) {
        return list[i].day.toString(QStringLiteral("yyyy/MM/dd"));
    };
    retention.valueText = [list = numbers.retention](qsizetype i) {
        return QStringLiteral("%1％（覚えた単語%2語）")
            .arg(qRound(list[i].retention * 100))
            .arg(list[i].learned);
    };
    return {classes, totals, days, due, retention};
}

QString progressSummary(const session::ProgressNumbers& numbers) {
    int memorised = 0;
    for (const session::ClassProgress& counted : numbers.classes)
        memorised += counted.memorised;
    qint64 recent = 0;
    for (const session::DayStudy& day : numbers.days)
        recent += day.seconds;
    return QStringLiteral("%1　記憶単語：%2／%3語　苦手な単語：%4語　今日の復習：%"
                          "8語　学習時間の合計：%5（最近%6日：%7）")
        .arg(modeTitle(numbers.mode))
        .arg(memorised)
        .arg(numbers.classes.size() * book::kWordsPerClass)
        .arg(numbers.weakWords)
        .arg(session::readableDuration(numbers.studySeconds))
        .arg(numbers.days.size())
        .arg(session::readableDuration(recent))
        .arg(numbers.dueNow);
}

} // namespace progress
