#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace app {

// What veltyping's command line asks for.
struct CommandLine {
    enum class Action { Run, Help, Version, Usage };
    Action action = Action::Run;
    std::optional<QString> folder{}; // --folder as given; none: the per-user data folder
    QString book{};                  // the FILE to open; empty: none
    QString problem{};               // for Usage: what is wrong, in the command line's words
};

// Reads the arguments, the program's name first. Qt's own options (-platform, -style, ...)
// are refused until QApplication has taken them out of the arguments.
CommandLine parseCommandLine(const QStringList& arguments);

// The text of --help; needs the application object, for the program's name.
QString commandLineHelp();

} // namespace app
