// How long the drill takes for one tick and for a whole drill on a full book.

#include "drill/drill_engine.h"

#include "full_book.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

class Random final : public drill::RandomSource {
public:
    double next() override { return std::uniform_real_distribution<double>(0, 1)(generator_); }

private:
    std::mt19937 generator_{7};
};

class FixedClock final : public drill::Clock {
public:
    double secondsSinceMidnight() override { return 36000; }
};

class Silent final : public drill::Speaker {
public:
    void speak(const QString&) override {}
};

// A full book of 24 classes in a temporary folder, and an engine on it.
struct Drill {
    Drill() : file(dir.filePath(QStringLiteral("Word.dat"))) {
        file.open(book::RecordFile::Access::Create);
        book::writeBookRecords(file, fullBookContent());
        settings.dropSpeed = 25;
    }

    void start(book::Mode mode) {
        engine.start({QStringLiteral("class5"), 5, mode, book::endRecordFor(book::kMaxClasses),
                      dir.filePath(QStringLiteral("result.txt"))});
    }

    // Picks and answers whatever can be picked, and lets time pass otherwise.
    void play() {
        const drill::DrillState& s = engine.state();
        const int answering = s.selectedDrop;
        if (answering < drill::kDropCount && !s.drops[answering].selectable &&
            s.drops[answering].top >= drill::kPickableTop) {
            engine.selectEntry(s.drops[answering].answer);
            return;
        }
        for (int i = 0; i < drill::kDropCount; ++i) {
            if (s.drops[i].selectable && s.drops[i].top >= drill::kPickableTop) {
                engine.selectEntry(s.drops[i].caption);
                return;
            }
        }
        engine.tick();
    }

    QTemporaryDir dir;
    book::RecordFile file;
    Random random;
    FixedClock clock;
    Silent speaker;
    drill::DrillSettings settings;
    drill::DrillEngine engine{file, settings, {random, clock, speaker}};
};

void BM_Tick(benchmark::State& state) {
    Drill drill;
    drill.start(book::Reading);
    for (auto _ : state) {
        drill.engine.tick();
        if (!drill.engine.state().running) {
            state.PauseTiming();
            drill.start(book::Reading);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_Tick);

void BM_WholeDrill(benchmark::State& state) {
    Drill drill;
    for (auto _ : state) {
        drill.start(book::Writing);
        while (drill.engine.state().running)
            drill.play();
    }
}
BENCHMARK(BM_WholeDrill)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
