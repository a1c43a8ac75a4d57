#pragma once

#include <QFont>

namespace platform {

// The fixed-pitch Japanese font of the drops and the views, in which a Japanese
// character takes two columns: the first installed of the Windows gothic font, IPAGothic
// and Noto Sans Mono CJK JP, else the system's fixed font.
QFont fixedPitchFont(double pointSize);

inline constexpr double kDropPointSize = 12.0;
inline constexpr double kViewPointSize = 9.75;

} // namespace platform
