// Arbitrary bytes as veltyping's command line, arguments separated by NUL bytes: every
// line is run, answered or refused with a reason.
#include "app/command_line.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QStringList arguments{QStringLiteral("veltyping")};
    for (const QByteArray& argument :
         QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0'))
        arguments << QString::fromLocal8Bit(argument);
    const app::CommandLine line = app::parseCommandLine(arguments);
    Q_ASSERT(line.action != app::CommandLine::Action::Usage || !line.problem.isEmpty());
    return 0;
}
