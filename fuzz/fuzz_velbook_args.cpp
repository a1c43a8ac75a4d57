// Arbitrary bytes as velbook's command line, arguments separated by NUL bytes: every
// line asks for a command with its paths, or for text and an exit status.
#include "velbook/arguments.h"

#include "command_line_bytes.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList arguments = commandLineFromBytes("velbook", data, size);
    const velbook::Request request = velbook::parseArguments(arguments);
    using Command = velbook::Request::Command;
    Q_ASSERT(request.command != Command::Create || request.paths.size() == 2);
    Q_ASSERT((request.command != Command::Export && request.command != Command::Check) ||
             request.paths.size() == 1);
    Q_ASSERT(request.command != Command::None || !(request.out + request.err).isEmpty());
    return 0;
}
