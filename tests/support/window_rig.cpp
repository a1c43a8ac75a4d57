#include "window_rig.h"

#include <QStandardPaths>

namespace testsupport {

void WindowRig::initRig() {
    QStandardPaths::setTestModeEnabled(true);
    dir = std::make_unique<QTemporaryDir>();
    random = ScriptedRandom{};
    clock = FakeClock{};
    speaker.spoken.clear();
    dialogs = ScriptedDialogs{};
    calendar = nullptr;
}

std::unique_ptr<mainwin::FrmMain> WindowRig::openWindow() {
    return std::make_unique<mainwin::FrmMain>(
        mainwin::FrmMainServices{dir->path(), &speaker, &random, &clock, &dialogs, calendar});
}

} // namespace testsupport
