#pragma once

#include "mainwin/main_window.h"
#include "scripted_dialogs.h"
#include "session_rig.h"

#include <memory>

namespace testsupport {

// What every window test stands on: the session tests' folder and scripted world, and
// scripted dialogs. A test class derives from it beside QObject, calls initRig() in init()
// and opens windows with openWindow().
class WindowRig : protected SessionRig {
protected:
    ScriptedDialogs dialogs;

    // A fresh program folder, and scripts with nothing queued.
    void initRig();
    std::unique_ptr<mainwin::MainWindow> openWindow();
};

} // namespace testsupport
