#pragma once

#include <QString>

namespace platform {

// The path of `name` in `folder`, matched without regard to case: an existing
// WORD.DAT is the working book and keeps its name. Without a match, folder/name.
QString pathInFolder(const QString& folder, const QString& name);

// Copies `source` over `target` through a temporary file in the target's folder, so
// that a failed copy leaves the old target whole. False, with a reason, on failure.
bool copyFileReplacing(const QString& source, const QString& target, QString* error = nullptr);

// Hands a web address or a local file to the desktop's browser.
void openUrl(const QString& url);

} // namespace platform
