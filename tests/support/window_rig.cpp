#include "window_rig.h"

namespace testsupport {

void WindowRig::initRig() {
    SessionRig::initRig();
    dialogs = ScriptedDialogs{};
}

std::unique_ptr<mainwin::FrmMain> WindowRig::openWindow() {
    mainwin::FrmMainServices services{dir->path(), &speaker, &random, &clock, &dialogs, calendar};
    services.dictionaries = dictionaries;
    services.voiceSetting = platform::VoiceSetting(dir->filePath(QStringLiteral("veltyping.conf")));
    return std::make_unique<mainwin::FrmMain>(std::move(services));
}

} // namespace testsupport
