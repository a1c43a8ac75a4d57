#include "drill_rig.h"

#include "test_book.h"

#include "book/learning.h"

#include <QElapsedTimer>
#include <QTest>
#include <QtEndian>

#include <bitset>
#include <random>

using namespace drill;
using namespace drilltest;
using namespace Qt::StringLiterals;

namespace {

constexpr int kClasses = 24;
constexpr int kDrills = 2000;
constexpr int kEventLimit = 20000;
// The speed menu's steps, and faster ones that keep the number of ticks per drill down.
constexpr std::array<double, 5> kSpeeds{5, 25, 100, 150, 200};

using LiveWords = std::bitset<WordStock::kLoadedWords>;

LiveWords liveWords(const DrillState& s) {
    LiveWords live;
    for (int e = 0; e < s.stock.count(); ++e)
        live.set(s.stock[e].recordNo - s.classFirstRecord);
    return live;
}

LiveWords shownWords(const DrillState& s) {
    LiveWords shown;
    for (const Drop& drop : s.drops)
        shown.set(drop.word.recordNo - s.classFirstRecord);
    return shown;
}

// The memorised, forgotten and fully memorised class counts of the word records, read
// straight from the slots' counters: the book's own count decodes every text and would
// make thousands of drills slow.
book::WordTotals wordTotals(const QByteArray& bytes) {
    book::WordTotals totals;
    for (int k = 0; k < kClasses; ++k) {
        std::array<int, 3> inClass{};
        for (int i = 0; i < WordStock::kLoadedWords; ++i) {
            const QByteArrayView slot = QByteArrayView(bytes).sliced(
                (book::firstWordRecord(k) + i - 1) * book::kSlotSize, book::kSlotSize);
            const int english = qFromLittleEndian<quint16>(slot.data() + 4);
            const int japanese = qFromLittleEndian<quint16>(slot.data() + 6 + english);
            for (int m = 0; m < 3; ++m) {
                const auto count =
                    qFromLittleEndian<qint16>(slot.data() + 8 + english + japanese + 2 * m);
                inClass[m] += book::isMemorised(count);
                totals.forgotten[m] += book::isForgotten(count);
            }
        }
        for (int m = 0; m < 3; ++m) {
            totals.memorised[m] += inClass[m];
            totals.memorisedClasses[m] += inClass[m] == WordStock::kLoadedWords;
        }
    }
    return totals;
}

QString fullWidth(int n) {
    QString text = QString::number(n);
    for (QChar& c : text)
        c = QChar(c.unicode() - u'0' + u'０');
    return text;
}

// Plays like a learner who knows some words, guesses some and lets some fall.
class Player {
public:
    Player(DrillRig& rig, std::mt19937& g) : rig_(rig), g_(g) {}

    void act() {
        const int roll = uniform(100);
        if (roll < 2)
            rig_.random.script({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}); // draws that collide
        else if (roll < 3 && rig_.s().mode != book::Listening)
            rig_.enter(); // does nothing outside listening mode
        else if (roll < 8)
            rig_.select(choice());
        else if (roll < 90 && somethingToDo())
            rig_.s().mode == book::Listening && !answering() ? rig_.enter() : rig_.select(choice());
        else
            rig_.tick(kSpeeds[uniform(int(kSpeeds.size()))]);
    }

private:
    int uniform(int n) { return std::uniform_int_distribution<int>(0, n - 1)(g_); }

    bool answering() const {
        const DrillState& s = rig_.s();
        const int drop = s.selectedDrop;
        return drop < kDropCount && !s.drops[drop].selectable && s.drops[drop].top >= kPickableTop;
    }

    bool pickable(int drop) const {
        const DrillState& s = rig_.s();
        if (s.mode == book::Listening)
            return s.speakReady && rig_.settings.voiceOn && s.drops[drop].unspoken &&
                   s.drops[drop].top > kPickableTop;
        return s.drops[drop].selectable && s.drops[drop].holdsWord &&
               s.drops[drop].top >= kPickableTop;
    }

    // A selection or Enter would do something now.
    bool somethingToDo() const {
        for (int i = 0; i < kDropCount; ++i) {
            if (pickable(i))
                return true;
        }
        return answering();
    }

    QString choice() {
        const DrillState& s = rig_.s();
        if (answering()) {
            const int roll = uniform(10);
            if (roll < 6)
                return s.drops[s.selectedDrop].answer;
            if (roll < 8)
                return u"？"_s;
        }
        const int first = uniform(kDropCount);
        for (int k = 0; k < kDropCount; ++k) {
            const int drop = (first + k) % kDropCount;
            if (pickable(drop) && uniform(4) > 0)
                return s.drops[drop].caption;
        }
        // Anything at all: an entry of the box, a drop's caption, a mark.
        const QStringList& entries = s.answerBox.entries;
        switch (uniform(3)) {
        case 0:
            return s.drops[uniform(kDropCount)].caption;
        case 1:
            return u"?"_s;
        default:
            return entries.isEmpty() ? u"？"_s : entries[uniform(int(entries.size()))];
        }
    }

    DrillRig& rig_;
    std::mt19937& g_;
};

} // namespace

class TestDrillRandom : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wholeDrillsKeepStockAndTotalsConsistent();
};

void TestDrillRandom::wholeDrillsKeepStockAndTotalsConsistent() {
    QElapsedTimer timer;
    timer.start();
    DrillRig rig(kClasses);
    std::mt19937 g(20261207);
    Player player(rig, g);
    long events = 0;
    int stoppedByStock = 0;

    for (int drill = 0; drill < kDrills; ++drill) {
        const auto mode = book::Mode(drill % 3);
        const int classIndex = std::uniform_int_distribution<int>(0, kClasses - 1)(g);
        rig.settings.voiceOn = g() % 8 != 0;
        rig.settings.inputMode = book::InputMode(g() % 3);
        rig.ends = 0;
        const bool learnerEnds = g() % 50 == 0;
        bool endedByLearner = false;
        QCOMPARE(rig.start(mode, u"クラス"_s + fullWidth(classIndex)), StartResult::Started);

        LiveWords live = liveWords(rig.s());
        int eventsInDrill = 0;
        while (rig.s().running) {
            const LiveWords shownBefore = shownWords(rig.s());
            player.act();
            ++events;
            if (++eventsInDrill > kEventLimit || (learnerEnds && eventsInDrill == 300)) {
                rig.engine->endDrill();
                endedByLearner = true;
            }

            const QString problem = stockProblem(rig.s());
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            const LiveWords now = liveWords(rig.s());
            // Words only leave, each once, and only words that a drop was showing.
            QVERIFY((now & ~live).none());
            QVERIFY(((live & ~now) & ~shownBefore).none());
            QCOMPARE(int(now.count()), rig.s().stock.count());
            live = now;
        }
        QVERIFY(eventsInDrill <= kEventLimit + 1);
        QCOMPARE(rig.ends, 1);
        stoppedByStock += endedByLearner ? 0 : rig.ends;

        const book::WordTotals totals = wordTotals(testsupport::fileBytes(rig.bookPath));
        const auto record = [&](book::Trailer which) {
            return rig.file->read(rig.trailer(which)).modeCount;
        };
        const auto memorised = record(book::Trailer::MemorisedTotal);
        const auto forgotten = record(book::Trailer::ForgottenTotal);
        const auto classes = record(book::Trailer::MemorisedClasses);
        for (int m = 0; m < 3; ++m) {
            QCOMPARE(int(memorised[m]), totals.memorised[m]);
            QCOMPARE(int(forgotten[m]), totals.forgotten[m]);
            QCOMPARE(int(classes[m]), totals.memorisedClasses[m]);
        }
    }
    // The quick count above agrees with the book's own.
    const book::WordTotals bookTotals = book::countWordTotals(*rig.file, rig.eofRecord);
    const book::WordTotals quickTotals = wordTotals(testsupport::fileBytes(rig.bookPath));
    QCOMPARE(bookTotals.memorised, quickTotals.memorised);
    QCOMPARE(bookTotals.forgotten, quickTotals.forgotten);
    QCOMPARE(bookTotals.memorisedClasses, quickTotals.memorisedClasses);
    QVERIFY(stoppedByStock > kDrills / 2);
    qInfo("%d drills, %ld events, %d ended by the stock, %lld ms", kDrills, events, stoppedByStock,
          timer.elapsed());
}

QTEST_GUILESS_MAIN(TestDrillRandom)
#include "tst_drill_random.moc"
