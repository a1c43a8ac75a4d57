#pragma once

#include <QString>

namespace platform {

// Hands a web address or a local file to the desktop's browser.
void openUrl(const QString& url);

} // namespace platform
