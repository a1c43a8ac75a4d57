#pragma once

#include <QStringList>

namespace mainwin {

// The manual shown at start-up and from the View menu: how to play each mode.
QStringList manualLines(const QString& homePageUrl);

} // namespace mainwin
