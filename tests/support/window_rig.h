#pragma once

#include "mainwin/frm_main.h"
#include "scripted_dialogs.h"
#include "test_doubles.h"

#include <QTemporaryDir>

#include <memory>

namespace testsupport {

// What every window test stands on: a program folder of its own for each test function
// and a scripted world (random numbers, clock, speech, dialogs). A test class derives
// from it beside QObject, calls initRig() in init() and opens windows with openWindow().
class WindowRig {
protected:
    std::unique_ptr<QTemporaryDir> dir;
    ScriptedRandom random;
    FakeClock clock;
    RecordingSpeaker speaker;
    ScriptedDialogs dialogs;
    const session::Calendar* calendar = nullptr; // null: the local date and time

    // A fresh program folder, and scripts with nothing queued.
    void initRig();
    QString bookPath() const { return dir->filePath(QStringLiteral("Word.dat")); }
    std::unique_ptr<mainwin::FrmMain> openWindow();
};

} // namespace testsupport
