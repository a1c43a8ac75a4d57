#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace platform {

// A message as a box shows it, so that the box never grows past the screen: at most
// kShownLines lines of at most kShownLineLength characters, and the whole text in a
// scrolling details area when some of it had to be left out.
struct MessageLayout {
    static constexpr int kShownLines = 14;
    static constexpr int kShownLineLength = 120;
    QString text;
    QString details; // empty when the text is shown whole
};
MessageLayout layOutMessage(const QString& text);

// Every message box, question and file dialog of the program, as a service handed to the
// windows: a test scripts the answers and never waits on a modal loop.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;
    // `filter` as Qt's file dialogs take it, such as "ｳﾞｪﾙﾌｧｲﾙ(*.vel)". Both give the
    // chosen path as typed or picked (no extension added), or nothing when cancelled.
    // The open dialog shows each filter without its last parentheses, so that a name can
    // list its patterns as people write them: "単語リスト (*.csv;*.tsv;*.txt) (*.csv *.tsv
    // *.txt)" shows as 「単語リスト (*.csv;*.tsv;*.txt)」 and matches all three.
    virtual std::optional<QString> openFileName(QWidget* owner, const QString& filter,
                                                const QString& initialDir) = 0;
    // `start`: the folder to show, or a path whose name is proposed.
    virtual std::optional<QString> saveFileName(QWidget* owner, const QString& filter,
                                                const QString& start) = 0;
    // Lets the learner choose one row of a table; -1 when cancelled.
    virtual int chooseRow(QWidget* parent, const QString& title, const QString& prompt,
                          const QStringList& headers, const QList<QStringList>& rows) = 0;
    // A question with Yes (the default) and No and one line the learner may edit, labelled
    // `label` and filled with `initial`. Yes on a line `problem` finds fault with shows
    // the fault and keeps the question open. The line on Yes; nothing on No.
    using TextProblem = std::function<QString(const QString&)>;
    virtual std::optional<QString> askYesNoWithText(QWidget* parent, const QString& title,
                                                    const QString& text, const QString& label,
                                                    const QString& initial,
                                                    const TextProblem& problem) = 0;
    // A question over a table whose last column the learner may edit: each row shows its
    // `cells`, then `chosen`, which the learner may change by typing or by picking one of
    // `choices`. Yes (the default) on a column `problem` finds fault with shows the fault
    // and keeps the question open. The last column on Yes, in row order; nothing on No.
    struct ChoiceRow {
        QStringList cells;
        QStringList choices;
        QString chosen;
    };
    using ChoicesProblem = std::function<QString(const QStringList&)>;
    virtual std::optional<QStringList> askChoicesInTable(QWidget* parent, const QString& title,
                                                         const QString& text,
                                                         const QStringList& headers,
                                                         const QList<ChoiceRow>& rows,
                                                         const ChoicesProblem& problem) = 0;

    void showCritical(QWidget* parent, const QString& title, const QString& text);
    void showInformation(QWidget* parent, const QString& title, const QString& text);
    // A question with Yes and No; No is the default. True for Yes.
    bool askYesNo(QWidget* parent, const QString& title, const QString& text);
};

// The desktop's own dialogs.
class SystemDialogs final : public Dialogs {
public:
    QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    std::optional<QString> openFileName(QWidget* owner, const QString& filter,
                                        const QString& initialDir) override;
    std::optional<QString> saveFileName(QWidget* owner, const QString& filter,
                                        const QString& initialDir) override;
    int chooseRow(QWidget* parent, const QString& title, const QString& prompt,
                  const QStringList& headers, const QList<QStringList>& rows) override;
    std::optional<QString> askYesNoWithText(QWidget* parent, const QString& title,
                                            const QString& text, const QString& label,
                                            const QString& initial,
                                            const TextProblem& problem) override;
    std::optional<QStringList> askChoicesInTable(QWidget* parent, const QString& title,
                                                 const QString& text, const QStringList& headers,
                                                 const QList<ChoiceRow>& rows,
                                                 const ChoicesProblem& problem) override;
};

} // namespace platform
