// How long the progress view takes on a long study history (1,000 to 100,000 drills of
// one book): opening it with F6, F6 again while it is open on its second tab, switching
// its tabs, and a drill that ends while it is open. Each should cost the same however
// the request arrives, and stay far below a tenth of a second at 10,000 drills.

#include "full_book.h"
#include "scripted_dialogs.h"
#include "test_doubles.h"

#include "mainwin/main_window.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

// A full book and a history of `rows` drills of it, minutes apart, the newest now.
struct Folder {
    explicit Folder(int rows) {
        book::RecordFile file(dir.filePath(QStringLiteral("Word.dat")));
        file.open(book::RecordFile::Access::Create);
        book::writeBookRecords(file, fullBookContent());
        QFile history(dir.filePath(QStringLiteral("history.tsv")));
        history.open(QIODevice::WriteOnly);
        QByteArray bytes = "start\tbook\tclass\tmode\tseconds\tright\tmisses\tclass_memorised\t"
                           "book_memorised\n";
        // Counted in local wall-clock seconds: a local QDateTime per row would take longer
        // than what is measured.
        const QDateTime now = QDateTime::currentDateTime();
        const qint64 nowSeconds =
            now.date().toJulianDay() * 86400 + now.time().msecsSinceStartOfDay() / 1000;
        // Ten minutes apart, closer for a history too long for twenty years.
        const qint64 step = std::min<qint64>(600, qint64(20) * 365 * 86400 / std::max(rows, 1));
        for (int i = 0; i < rows; ++i) {
            const qint64 start = nowSeconds - qint64(rows - i) * step;
            bytes += QDate::fromJulianDay(start / 86400).toString(Qt::ISODate).toLatin1() + 'T' +
                     QTime::fromMSecsSinceStartOfDay(int(start % 86400) * 1000)
                         .toString(Qt::ISODate)
                         .toLatin1() +
                     "\tbench\tclass0\treading\t300\t10\t2\t" + QByteArray::number(i % 51) + '\t' +
                     QByteArray::number(i % 1201) + '\n';
            // Written in pieces, so that the folder's set-up holds no long history in memory.
            if (bytes.size() > (1 << 20)) {
                history.write(bytes);
                bytes.clear();
            }
        }
        history.write(bytes);
    }

    QTemporaryDir dir;
};

struct Window {
    explicit Window(const Folder& folder)
        : window(
              mainwin::MainWindowServices{folder.dir.path(), &speaker, &random, &clock, &dialogs}) {
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }
    QWidget* view() { return window.findChild<QWidget*>(QStringLiteral("frmProgress")); }
    QTabWidget* tabs() { return window.findChild<QTabWidget*>(QStringLiteral("tabProgress")); }
    QPushButton* button(const char* name) {
        return window.findChild<QPushButton*>(QLatin1String(name));
    }
    // F6, and the view drawn as the screen would show it.
    void openView() {
        window.findChild<QAction*>(QStringLiteral("mnuProgress"))->trigger();
        (void)QTest::qWaitForWindowExposed(view());
        view()->repaint();
    }

    testsupport::ScriptedRandom random;
    testsupport::FakeClock clock;
    testsupport::RecordingSpeaker speaker;
    testsupport::ScriptedDialogs dialogs;
    mainwin::MainWindow window;
};

void rowCounts(benchmark::internal::Benchmark* bench) {
    bench->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}

// A line of /proc/self/status in megabytes, or 0 where there is none.
double statusMegabytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

// Forgets the peak of the memory in use so far (Linux), so that the next peak is the
// step's own.
void resetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// The first F6 after the program started: the history is read and the view made. The
// memory it took at its peak is reported as peak_mb.
void BM_ProgressOpen(benchmark::State& state) {
    const Folder folder(int(state.range(0)));
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>(folder);
        const double before = statusMegabytes("VmRSS:");
        resetPeakMemory();
        state.ResumeTiming();
        window->openView();
        state.PauseTiming();
        peak = std::max(peak, statusMegabytes("VmHWM:") - before);
        window.reset();
        state.ResumeTiming();
    }
    state.counters["peak_mb"] = peak;
}
BENCHMARK(BM_ProgressOpen)->Apply(rowCounts);
// A history far longer than anyone plays, once.
BENCHMARK(BM_ProgressOpen)->Arg(2300000)->Iterations(1)->Unit(benchmark::kMillisecond);

// F6 again while the view is open on its second tab, with nothing changed.
void BM_ProgressRefresh(benchmark::State& state) {
    const Folder folder(int(state.range(0)));
    Window window(folder);
    window.openView();
    window.tabs()->setCurrentIndex(1);
    for (auto _ : state)
        window.openView();
}
BENCHMARK(BM_ProgressRefresh)->Apply(rowCounts);

// From one tab to the next, each drawn.
void BM_ProgressTabSwitch(benchmark::State& state) {
    const Folder folder(int(state.range(0)));
    Window window(folder);
    window.openView();
    int tab = 0;
    for (auto _ : state) {
        tab = (tab + 1) % 3;
        window.tabs()->setCurrentIndex(tab);
        window.view()->repaint();
    }
}
BENCHMARK(BM_ProgressTabSwitch)->Apply(rowCounts);

// A drill ends while the view is open on its second tab: a row is added and shown.
void BM_ProgressDrillEnd(benchmark::State& state) {
    const Folder folder(int(state.range(0)));
    Window window(folder);
    window.openView();
    window.tabs()->setCurrentIndex(1);
    for (auto _ : state) {
        state.PauseTiming();
        window.button("cmdStart")->click();
        window.clock.now += 60;
        state.ResumeTiming();
        window.button("cmdEnd")->click();
        window.view()->repaint();
    }
}
BENCHMARK(BM_ProgressDrillEnd)->Apply(rowCounts);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
