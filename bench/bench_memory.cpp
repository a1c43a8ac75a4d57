// The answer log on five years of heavy use (200,000 answers to a full book in three
// modes): opening it, choosing the due words with the 30-day forecast, the retention
// history, and logging one more answer on the drill's thread.

#include "memory/due_words.h"
#include "memory/study_log.h"

#include "full_book.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimeZone>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr int kAnswers = 200000;
constexpr qint64 kDayMs = 86400000;
const QDateTime kNow(QDate(2031, 12, 1), QTime(20, 0), QTimeZone(9 * 3600));

// The log and the book, made once for every benchmark.
struct HeavyUse {
    HeavyUse() : file(dir.filePath(QStringLiteral("Word.dat"))) {
        file.open(book::RecordFile::Access::Create);
        book::writeBookRecords(file, fullBookContent());
        eofRecord = book::endRecordFor(book::kMaxClasses);
        for (int mode = 0; mode < 3; ++mode)
            words[mode] = memory::readStudyWords(file, eofRecord, mode);
        memory::StudyLog log(dir.path());
        log.open();
        std::mt19937 random(5);
        const qint64 first = kNow.toMSecsSinceEpoch() - 5 * 365 * kDayMs;
        const QList<memory::StudyWord>& all = words[0];
        for (int n = 0; n < kAnswers; ++n) {
            const qint64 at = first + qint64(double(n) / kAnswers * 5 * 365 * kDayMs);
            const memory::Outcome outcome =
                random() % 5 == 0 ? memory::Outcome::Missed : memory::Outcome::Right;
            log.record({at, all[int(random() % all.size())].word, int(random() % 3), outcome,
                        double(random() % 20)});
        }
    }
    QTemporaryDir dir;
    book::RecordFile file;
    int eofRecord = 0;
    std::array<QList<memory::StudyWord>, 3> words;
};

HeavyUse& heavyUse() {
    static HeavyUse use;
    return use;
}

void BM_OpenLog(benchmark::State& state) {
    HeavyUse& use = heavyUse();
    for (auto _ : state) {
        memory::StudyLog log(use.dir.path());
        benchmark::DoNotOptimize(log.open());
    }
}
BENCHMARK(BM_OpenLog)->Unit(benchmark::kMillisecond);

// What 「今日の復習」 and its message need, and the forecast chart: from the open log.
void BM_DueWordsAndForecast(benchmark::State& state) {
    HeavyUse& use = heavyUse();
    memory::StudyLog log(use.dir.path());
    log.open();
    for (auto _ : state) {
        const QList<memory::WordOutlook> look =
            memory::outlook(use.words[0], log.states(), 0, kNow, memory::kDefaultTargetRetention);
        benchmark::DoNotOptimize(
            memory::selectDueWords(look, memory::kDefaultTargetRetention).dueNow);
        benchmark::DoNotOptimize(memory::dueForecast(look, kNow).size());
    }
}
BENCHMARK(BM_DueWordsAndForecast)->Unit(benchmark::kMillisecond);

// The same with the book's words read from Word.dat first, as the session does it.
void BM_DueWordsFromBook(benchmark::State& state) {
    HeavyUse& use = heavyUse();
    memory::StudyLog log(use.dir.path());
    log.open();
    for (auto _ : state) {
        const QList<memory::WordOutlook> look =
            memory::outlook(memory::readStudyWords(use.file, use.eofRecord, 0), log.states(), 0,
                            kNow, memory::kDefaultTargetRetention);
        benchmark::DoNotOptimize(
            memory::selectDueWords(look, memory::kDefaultTargetRetention).dueNow);
        benchmark::DoNotOptimize(memory::dueForecast(look, kNow).size());
    }
}
BENCHMARK(BM_DueWordsFromBook)->Unit(benchmark::kMillisecond);

// The retention chart reads one mode's answers from the whole log...
void BM_ReadAnswers(benchmark::State& state) {
    HeavyUse& use = heavyUse();
    memory::StudyLog log(use.dir.path());
    log.open();
    for (auto _ : state)
        benchmark::DoNotOptimize(log.answers(0).size());
}
BENCHMARK(BM_ReadAnswers)->Unit(benchmark::kMillisecond);

// ... and replays them day by day.
void BM_RetentionHistory(benchmark::State& state) {
    HeavyUse& use = heavyUse();
    memory::StudyLog log(use.dir.path());
    log.open();
    for (auto _ : state)
        benchmark::DoNotOptimize(memory::retentionHistory(log.answers(), 0, kNow).size());
}
BENCHMARK(BM_RetentionHistory)->Unit(benchmark::kMillisecond);

// One answer logged, as the drill's thread does it between two ticks (100 ms apart); the
// slowest of them count as much as the mean.
void BM_LogAnswer(benchmark::State& state) {
    HeavyUse& use = heavyUse();
    memory::StudyLog log(use.dir.path());
    log.open();
    qint64 at = kNow.toMSecsSinceEpoch();
    int n = 0;
    std::vector<double> ms;
    QElapsedTimer timer;
    for (auto _ : state) {
        timer.start();
        log.record({at += 3000, use.words[0][n++ % 1200].word, 0, memory::Outcome::Right, 3});
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    state.counters["slowest_ms"] = ms.back();
}
BENCHMARK(BM_LogAnswer)->Unit(benchmark::kMicrosecond)->Iterations(5000);

} // namespace

BENCHMARK_MAIN();
