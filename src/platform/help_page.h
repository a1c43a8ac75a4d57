#pragma once

#include <QString>

namespace platform {

// The help page shipped with the program: the installed copy in the share folder beside
// the executable's, else a copy of the page built into the program.
QString helpPagePath();

} // namespace platform
