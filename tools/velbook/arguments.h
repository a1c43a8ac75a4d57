#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace velbook {

enum Exit { Success = 0, Refused = 1, Usage = 2 };

// What a velbook command line asks for: a command to run on its paths, or only text to
// print and an exit status (help, version, a usage error).
struct Request {
    enum class Command { None, Create, Export, Check };
    Command command = Command::None;
    QStringList paths{};             // the command's positional arguments
    std::optional<QString> title{};  // create --title
    bool meanings = false;           // create --meanings
    std::optional<QString> output{}; // export -o
    QString out{};                   // for None: the text for standard output
    QString err{};                   // for None: the text for standard error
    int exit = Success;              // for None: the exit status
};

// Reads the arguments, the program's name first.
Request parseArguments(const QStringList& arguments);

} // namespace velbook
