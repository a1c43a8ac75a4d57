#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

namespace platform {

// The text a file dialog returns when the learner cancels it.
inline constexpr QStringView kDialogCancelled = u"0";

// Every message box, question and file dialog of the program, as a service handed to the
// windows: a test scripts the answers and never waits on a modal loop.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;
    // `filter` is pairs of description and pattern, each followed by one NUL character,
    // such as "ｳﾞｪﾙﾌｧｲﾙ(*.vel)\0*.vel\0". Both return the chosen path as typed or picked
    // (no extension added), or "0" on cancel.
    virtual QString ShowOpenDialog(QWidget* owner, const QString& filter,
                                   const QString& initialDir) = 0;
    virtual QString ShowSaveDialog(QWidget* owner, const QString& filter,
                                   const QString& initialDir) = 0;
    // Lets the learner choose one row of a table; -1 when cancelled.
    virtual int chooseRow(QWidget* parent, const QString& title, const QString& prompt,
                          const QStringList& headers, const QList<QStringList>& rows) = 0;

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
    QString ShowOpenDialog(QWidget* owner, const QString& filter,
                           const QString& initialDir) override;
    QString ShowSaveDialog(QWidget* owner, const QString& filter,
                           const QString& initialDir) override;
    int chooseRow(QWidget* parent, const QString& title, const QString& prompt,
                  const QStringList& headers, const QList<QStringList>& rows) override;
};

// One description-and-pattern pair of a file dialog's filter, each followed by a NUL.
QString filterPair(const QString& description, const QString& pattern);

// The same filter as Qt's file dialogs write it: one "description (patterns)" per line.
QString qtFilterFromPairs(const QString& filter);

} // namespace platform
