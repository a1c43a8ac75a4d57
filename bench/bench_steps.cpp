// How long each step of the program takes on a full book of 24 classes: loading it,
// booking a correct answer and a miss, the statistics at the end of a drill, building
// each view, and finding the weak words for a review.

#include "full_book.h"

#include "book/book.h"
#include "book/learning.h"
#include "book/settings.h"
#include "mainwin/manual_view.h"
#include "session/book_session.h"
#include "session/failure_text.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Book {
    Book() : file(dir.filePath(QStringLiteral("Word.dat"))) {
        file.open(book::RecordFile::Access::Create);
        book::writeBookRecords(file, fullBookContent());
        eof = book::findEndRecord(file).record;
    }

    QTemporaryDir dir;
    book::RecordFile file;
    int eof = 0;
};

constexpr int kClass = 5;
constexpr int kWord = book::firstWordRecord(kClass) + 7;

// The world of a session that only loads.
struct Quiet final : drill::RandomSource, drill::Clock, drill::Speaker {
    double next() override { return 0.5; }
    double secondsSinceMidnight() override { return 36000; }
    void speak(const QString&) override {}
};

// The session's load: the end record, the title, the class list, the stored settings and
// the memorised total, and the drill's handle and engine.
void BM_LoadBook(benchmark::State& state) {
    Book bench;
    bench.file.close();
    Quiet quiet;
    session::BookSession session(bench.dir.path(), {quiet, quiet, quiet});
    for (auto _ : state) {
        session.load();
        benchmark::DoNotOptimize(session.classNames());
    }
}
BENCHMARK(BM_LoadBook)->Unit(benchmark::kMicrosecond);

// A correct answer to a word missed before: the word and the totals are written.
void BM_CorrectAnswer(benchmark::State& state) {
    Book bench;
    for (auto _ : state) {
        state.PauseTiming();
        book::bookMiss(bench.file, bench.eof, kWord, book::Reading);
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            book::bookCorrectAnswer(bench.file, bench.eof, kWord, book::Reading));
    }
}
BENCHMARK(BM_CorrectAnswer)->Unit(benchmark::kMicrosecond);

// A miss of a memorised word, which makes it forgotten.
void BM_Miss(benchmark::State& state) {
    Book bench;
    for (auto _ : state) {
        state.PauseTiming();
        book::bookCorrectAnswer(bench.file, bench.eof, kWord, book::Reading);
        state.ResumeTiming();
        benchmark::DoNotOptimize(book::bookMiss(bench.file, bench.eof, kWord, book::Reading));
    }
}
BENCHMARK(BM_Miss)->Unit(benchmark::kMicrosecond);

void BM_DrillEndStatistics(benchmark::State& state) {
    Book bench;
    for (auto _ : state)
        benchmark::DoNotOptimize(book::bookDrillEnd(
            bench.file, bench.eof, book::classHeaderRecord(kClass), book::Reading, 95.5));
}
BENCHMARK(BM_DrillEndStatistics)->Unit(benchmark::kMicrosecond);

void BM_GradeTable(benchmark::State& state) {
    Book bench;
    for (auto _ : state)
        benchmark::DoNotOptimize(views::gradeTableLines(bench.file, bench.eof));
}
BENCHMARK(BM_GradeTable)->Unit(benchmark::kMicrosecond);

void BM_WordList(benchmark::State& state) {
    Book bench;
    for (auto _ : state)
        benchmark::DoNotOptimize(views::buildClassListing(bench.file, book::firstWordRecord(kClass),
                                                          kClass, book::Reading));
}
BENCHMARK(BM_WordList)->Unit(benchmark::kMicrosecond);

// The weak words of the whole book, for a review and its word list: a third of the words
// missed, some of them forgotten, spread over every class.
void BM_WeakWords(benchmark::State& state) {
    Book bench;
    for (int k = 0; k < book::kMaxClasses; ++k) {
        for (int i = 0; i < book::kWordsPerClass; i += 3) {
            const int r = book::firstWordRecord(k) + i;
            book::WordRecord word = bench.file.read(r);
            word.modeCount[book::Reading] = qint16(i % 7 == 0 ? -(1 + i % 4) : 1 + (k + i) % 9);
            bench.file.write(r, word);
        }
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(views::findWeakWords(bench.file, bench.eof, book::Reading));
}
BENCHMARK(BM_WeakWords)->Unit(benchmark::kMicrosecond);

// A search through every class of the book.
void BM_Search(benchmark::State& state) {
    Book bench;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            views::buildSearchView(bench.file, bench.eof, QStringLiteral("word1")));
}
BENCHMARK(BM_Search)->Unit(benchmark::kMicrosecond);

void BM_Manual(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(mainwin::manualLines(session::kHomePageUrl));
}
BENCHMARK(BM_Manual)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
