#include "window_rig.h"

namespace testsupport {

void WindowRig::initRig() {
    SessionRig::initRig();
    dialogs = ScriptedDialogs{};
}

std::unique_ptr<mainwin::FrmMain> WindowRig::openWindow() {
    return std::make_unique<mainwin::FrmMain>(
        mainwin::FrmMainServices{dir->path(), &speaker, &random, &clock, &dialogs, calendar});
}

} // namespace testsupport
