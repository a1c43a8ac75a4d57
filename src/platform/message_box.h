#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

class QWidget;

namespace platform {

// Every message box of the program goes through here, so that a test can answer a
// question before it is asked and read what was shown, and never waits on a modal loop.

void showCritical(QWidget* parent, const QString& title, const QString& text);
void showInformation(QWidget* parent, const QString& title, const QString& text);
// A question with Yes and No; No is the default. True for Yes.
bool askYesNo(QWidget* parent, const QString& title, const QString& text);

struct ShownMessage {
    QMessageBox::Icon icon;
    QString title;
    QString text;
};

namespace testing {
// From now on no box is shown: each takes the next queued answer, or its default.
void enableScriptedMessages();
void queueAnswer(QMessageBox::StandardButton answer);
// The boxes shown (or answered by script) since the last call.
QList<ShownMessage> takeShownMessages();
} // namespace testing

} // namespace platform
