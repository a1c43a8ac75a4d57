#pragma once

#include <QString>

class QWidget;

namespace platform {

// The text a file dialog returns when the learner cancels it.
inline constexpr QStringView kDialogCancelled = u"0";

// `filter` is pairs of description and pattern, each followed by one NUL character,
// such as "ｳﾞｪﾙﾌｧｲﾙ(*.vel)\0*.vel\0". Both return the chosen path as typed or
// picked (no extension added), or "0" on cancel.
QString ShowOpenDialog(QWidget* owner, const QString& filter, const QString& initialDir);
QString ShowSaveDialog(QWidget* owner, const QString& filter, const QString& initialDir);

// The same filter as Qt's file dialogs write it: one "description (patterns)" per line.
QString qtFilterFromPairs(const QString& filter);

namespace testing {
// From now on no dialog is shown: each takes the next queued path, or "0".
void enableScriptedDialogs();
void queueDialogPath(const QString& path);
} // namespace testing

} // namespace platform
