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
// queued row (or -1), each question with a line the next queued line (nothing for No; by
// default Yes on the line as offered). What was shown is kept for the test to read.
class ScriptedDialogs : public platform::Dialogs {
public:
    void queueAnswer(QMessageBox::StandardButton answer) { answers_.enqueue(answer); }
    void queueDialogPath(const QString& path) { paths_.enqueue(path); }
    void queueRow(int row) { rows_.enqueue(row); }
    void queueLine(std::optional<QString> line) { lines_.enqueue(std::move(line)); }
    void queueChoices(std::optional<QStringList> column) { choices_.enqueue(std::move(column)); }
    // The boxes shown since the last call.
    QList<ShownMessage> takeShownMessages() { return std::exchange(shown_, {}); }
    // The rows of the last table offered.
    QList<QStringList> offeredRows;
    // Where the last save dialog started.
    QString saveStart;
    // The line the last question with a line offered.
    QString offeredLine;
    // The rows the last question over a table of choices offered.
    QList<ChoiceRow> offeredChoiceRows;

    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons,
                                        QMessageBox::StandardButton defaultButton) override {
        shown_.append({icon, title, text});
        return answers_.isEmpty() ? defaultButton : answers_.dequeue();
    }
    std::optional<QString> openFileName(QWidget*, const QString&, const QString&) override {
        return path();
    }
    std::optional<QString> saveFileName(QWidget*, const QString&, const QString& start) override {
        saveStart = start;
        return path();
    }
    int chooseRow(QWidget*, const QString&, const QString&, const QStringList&,
                  const QList<QStringList>& rows) override {
        offeredRows = rows;
        return rows_.isEmpty() ? -1 : rows_.dequeue();
    }

    std::optional<QString> askYesNoWithText(QWidget*, const QString& title, const QString& text,
                                            const QString&, const QString& initial,
                                            const TextProblem& problem) override {
        shown_.append({QMessageBox::Question, title, text});
        offeredLine = initial;
        std::optional<QString> line = lines_.isEmpty() ? initial : lines_.dequeue();
        while (line) {
            const QString why = problem(*line);
            if (why.isEmpty())
                return line;
            shown_.append({QMessageBox::Critical, title, why});
            line = lines_.isEmpty() ? std::nullopt : lines_.dequeue();
        }
        return std::nullopt;
    }

    // Like askYesNoWithText: the next queued column, by default Yes on the column as offered.
    std::optional<QStringList> askChoicesInTable(QWidget*, const QString& title,
                                                 const QString& text, const QStringList&,
                                                 const QList<ChoiceRow>& rows,
                                                 const ChoicesProblem& problem) override {
        shown_.append({QMessageBox::Question, title, text});
        offeredChoiceRows = rows;
        QStringList offered;
        for (const ChoiceRow& row : rows)
            offered << row.chosen;
        std::optional<QStringList> column = choices_.isEmpty() ? offered : choices_.dequeue();
        while (column) {
            const QString why = problem(*column);
            if (why.isEmpty())
                return column;
            shown_.append({QMessageBox::Critical, title, why});
            column = choices_.isEmpty() ? std::nullopt : choices_.dequeue();
        }
        return std::nullopt;
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
    QQueue<std::optional<QString>> lines_;
    QQueue<std::optional<QStringList>> choices_;
    QList<ShownMessage> shown_;
};

} // namespace testsupport
