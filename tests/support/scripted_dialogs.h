#pragma once

#include "platform/dialogs.h"

#include <QQueue>

namespace testsupport {

struct ShownMessage {
    QMessageBox::Icon icon;
    QString title;
    QString text;
};

// Dialogs that answer from a script: each message box takes the next queued answer (or
// its default), each file dialog the next queued path (or a cancel), each table the next
// queued row (or -1). What was shown is kept for the test to read.
class ScriptedDialogs : public platform::Dialogs {
public:
    void queueAnswer(QMessageBox::StandardButton answer) { answers_.enqueue(answer); }
    void queueDialogPath(const QString& path) { paths_.enqueue(path); }
    void queueRow(int row) { rows_.enqueue(row); }
    // The boxes shown since the last call.
    QList<ShownMessage> takeShownMessages() { return std::exchange(shown_, {}); }
    // The rows of the last table offered.
    QList<QStringList> offeredRows;

    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons,
                                        QMessageBox::StandardButton defaultButton) override {
        shown_.append({icon, title, text});
        return answers_.isEmpty() ? defaultButton : answers_.dequeue();
    }
    std::optional<QString> openFileName(QWidget*, const QString&, const QString&) override {
        return path();
    }
    std::optional<QString> saveFileName(QWidget*, const QString&, const QString&) override {
        return path();
    }
    int chooseRow(QWidget*, const QString&, const QString&, const QStringList&,
                  const QList<QStringList>& rows) override {
        offeredRows = rows;
        return rows_.isEmpty() ? -1 : rows_.dequeue();
    }

private:
    std::optional<QString> path() {
        if (paths_.isEmpty())
            return std::nullopt;
        return paths_.dequeue();
    }

    QQueue<QMessageBox::StandardButton> answers_;
    QQueue<QString> paths_;
    QQueue<int> rows_;
    QList<ShownMessage> shown_;
};

} // namespace testsupport
