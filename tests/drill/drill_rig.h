#pragma once

#include "drill/drill_engine.h"
#include "drill_test_access.h"
#include "test_doubles.h"

#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <random>

namespace drilltest {

using testsupport::FakeClock;
using testsupport::indexDraw;
using testsupport::RecordingSpeaker;
using testsupport::ScriptedRandom;

// A book in a temporary folder and an engine on it, with every port faked.
class DrillRig {
public:
    explicit DrillRig(int classCount = 1);

    drill::StartResult start(book::Mode mode,
                             const QString& className = QStringLiteral("クラス０"));
    drill::DrillState& s() { return steps().state(); }
    // One tick at the given fall step.
    void tick(double dropSpeed) {
        settings.dropSpeed = dropSpeed;
        engine->tick();
    }
    // The engine's single steps, and its state to set up situations.
    drill::DrillTestAccess steps() { return drill::DrillTestAccess(*engine); }
    void select(const QString& text);
    void enter() { engine->announceNextWord(); }
    // Puts drop `picked` at `top` and every other drop far above the field.
    void isolate(int picked, double top);
    // The word record of a drop, read back from the file.
    book::WordRecord wordOf(int drop) const;
    int trailer(book::Trailer which) const { return book::trailerRecord(eofRecord, which); }
    QStringList resultLines() const;

    QTemporaryDir dir;
    QString bookPath;
    QString resultPath;
    int eofRecord = 0;
    std::unique_ptr<book::RecordFile> file;
    ScriptedRandom random;
    FakeClock clock;
    RecordingSpeaker speaker;
    drill::DrillSettings settings;
    int ends = 0;         // the drill's ends, by endDrill() or by its stock running down
    QStringList failures; // the files whose writes failed
    std::unique_ptr<drill::DrillEngine> engine;
};

// What breaks the stock's consistency, or an empty text: every drop finds its own word
// or knows it has left, live words are distinct, and an entry is in use exactly when one
// drop holds it.
QString stockProblem(const drill::DrillState& state);

} // namespace drilltest
