// Arbitrary bytes as veltyping's command line, arguments separated by NUL bytes: every
// line is run, answered or refused with a reason.
#include "app/command_line.h"

#include "command_line_bytes.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList arguments = commandLineFromBytes("veltyping", data, size);
    const app::CommandLine line = app::parseCommandLine(arguments);
    Q_ASSERT(line.action != app::CommandLine::Action::Usage || !line.problem.isEmpty());
    return 0;
}
