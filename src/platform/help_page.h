#pragma once

#include <QString>

namespace platform {

// The publisher's home page: the manual, the invalid-book message and the Help menu
// all name this one address.
QString homePageUrl();

// The help page shipped with the program: the installed copy next to the executable's
// share folder, else the one in the source tree.
QString helpPagePath();

} // namespace platform
