#include "message_box.h"

#include <QQueue>

namespace platform {

namespace {

struct Script {
    bool enabled = false;
    QQueue<QMessageBox::StandardButton> answers;
    QList<ShownMessage> shown;
};

Script& script() {
    static Script instance;
    return instance;
}

QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                 const QString& text, QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton) {
    Script& s = script();
    s.shown.append({icon, title, text});
    if (s.enabled)
        return s.answers.isEmpty() ? defaultButton : s.answers.dequeue();
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

void showCritical(QWidget* parent, const QString& title, const QString& text) {
    show(parent, QMessageBox::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void showInformation(QWidget* parent, const QString& title, const QString& text) {
    show(parent, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool askYesNo(QWidget* parent, const QString& title, const QString& text) {
    return show(parent, QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes;
}

namespace testing {

void enableScriptedMessages() { script().enabled = true; }

void queueAnswer(QMessageBox::StandardButton answer) { script().answers.enqueue(answer); }

QList<ShownMessage> takeShownMessages() { return std::exchange(script().shown, {}); }

} // namespace testing

} // namespace platform
