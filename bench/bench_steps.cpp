// How long each step of the program takes on a full book of 24 classes: loading it,
// booking a correct answer and a miss, the statistics at the end of a drill, and building
// each view.

#include "full_book.h"

#include "book/book.h"
#include "book/learning.h"
#include "book/settings.h"
#include "mainwin/grade_view.h"
#include "mainwin/manual_view.h"
#include "mainwin/search_view.h"
#include "mainwin/word_list_view.h"
#include "platform/help_page.h"

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

// What loading a book reads: the end record, the title, the class list, the current
// class, the stored settings and the memorised total, through a handle of its own.
void BM_LoadBook(benchmark::State& state) {
    Book bench;
    bench.file.close();
    for (auto _ : state) {
        book::RecordFile file(bench.dir.filePath(QStringLiteral("Word.dat")));
        file.open(book::RecordFile::Access::ReadOnly);
        const int eof = book::findEndRecord(file).record;
        benchmark::DoNotOptimize(
            file.read(book::trailerRecord(eof, book::Trailer::Title)).trimmed().english);
        benchmark::DoNotOptimize(book::listClasses(file, eof));
        benchmark::DoNotOptimize(file.read(1).trimmed().japanese);
        benchmark::DoNotOptimize(book::speedFromText(
            file.read(book::trailerRecord(eof, book::Trailer::Speed)).trimmed().english));
        benchmark::DoNotOptimize(book::voiceFromText(
            file.read(book::trailerRecord(eof, book::Trailer::Voice)).trimmed().japanese));
        benchmark::DoNotOptimize(
            file.read(book::trailerRecord(eof, book::Trailer::MemorisedTotal)).modeCount);
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
        benchmark::DoNotOptimize(mainwin::gradeTableLines(bench.file, bench.eof));
}
BENCHMARK(BM_GradeTable)->Unit(benchmark::kMicrosecond);

void BM_WordList(benchmark::State& state) {
    Book bench;
    for (auto _ : state)
        benchmark::DoNotOptimize(mainwin::buildWordListView(
            bench.file, book::firstWordRecord(kClass), kClass, book::Reading));
}
BENCHMARK(BM_WordList)->Unit(benchmark::kMicrosecond);

// A search through every class of the book.
void BM_Search(benchmark::State& state) {
    Book bench;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            mainwin::buildSearchView(bench.file, bench.eof, QStringLiteral("word1")));
}
BENCHMARK(BM_Search)->Unit(benchmark::kMicrosecond);

void BM_Manual(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(mainwin::manualLines(platform::homePageUrl()));
}
BENCHMARK(BM_Manual)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
