#include "window_rig.h"

namespace testsupport {

void WindowRig::initRig() {
    SessionRig::initRig();
    dialogs = ScriptedDialogs{};
}

std::unique_ptr<mainwin::MainWindow> WindowRig::openWindow() {
    mainwin::MainWindowServices services{dir->path(), &speaker, &random,
                                         &clock,      &dialogs, calendar};
    services.dictionaries = dictionaries;
    services.voiceSetting = platform::VoiceSetting(dir->filePath(QStringLiteral("veltyping.conf")));
    services.retentionSetting = mainwin::RetentionSetting(services.voiceSetting.file());
    return std::make_unique<mainwin::MainWindow>(std::move(services));
}

} // namespace testsupport
