// Arbitrary bytes as history.tsv: every row is read or skipped, and the chart numbers of
// what is read stay within what drills produce, in date order.
#include "session/progress_numbers.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    constexpr int kWords = 200;
    session::BookHistory history;
    history.read(bytes, QStringLiteral("T"), kWords, QDate(2026, 12, 7));
    for (int mode = 0; mode < book::kModeCount; ++mode) {
        const QList<session::TotalPoint>& totals = history.totals(book::Mode(mode));
        for (qsizetype i = 0; i < totals.size(); ++i) {
            Q_ASSERT(totals[i].total >= 0 && totals[i].total <= kWords);
            Q_ASSERT(i == 0 || std::tie(totals[i - 1].day, totals[i - 1].time) <=
                                   std::tie(totals[i].day, totals[i].time));
        }
        for (const session::DayStudy& day : history.studyTimePerDay(book::Mode(mode)))
            (void)session::readableDuration(day.seconds);
    }
    (void)folder::parseHistoryLine(bytes.first(std::min<qsizetype>(bytes.size(), 200)));
    return 0;
}
