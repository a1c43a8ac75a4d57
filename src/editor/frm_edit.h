#pragma once

#include "editor_host.h"

#include "platform/dialogs.h"
#include "session/book_session.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace editor {

// The word book editor: changes a word's English and Japanese, looks up a translation,
// and renames word classes. A dialog window that is not modal (so that assistive
// technology sees a window of its own); it reads and writes the book through the
// session in every handler.
class FrmEdit : public QDialog {
    Q_OBJECT

public:
    // Builds the window and runs Form_Load; the caller shows it.
    FrmEdit(session::BookSession& book, platform::Dialogs& dialogs, EditorHost& host,
            QWidget* parent = nullptr);

    void Form_Load();
    void cboClassEdit_Click();
    void cboClassEdit_KeyDown() { followClass(); }
    void cboClassEdit_KeyUp() { followClass(); }
    void cboIdEdit_Click();
    void txtEnglishEdit_Change() { wordFieldsChanged(); }
    void txtJapaneseEdit_Change() { wordFieldsChanged(); }
    void cmdWordSearch_Click();
    void cmdWordUpdate_Click();
    void cmdEditClose_Click();
    void Form_Unload();

    void cboBeforeClass_Click();
    void cboBeforeClass_KeyDown() { cboBeforeClass_Click(); }
    void cboBeforeClass_KeyUp() { cboBeforeClass_Click(); }
    void txtAfterClass_Change();
    void cmdClassChange_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape closes the window as Close does, so that the main window is told.
    void reject() override { close(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    void connectHandlers();

    void followClass();
    void wordFieldsChanged();
    void setWordButtons(bool searchEnabled, bool updateEnabled);
    // Fills a class box with the names and shows `current` in it.
    static void fillClassBox(QComboBox* box, const QStringList& names, const QString& current);
    static void showInBox(QComboBox* box, const QString& text);

    session::BookSession& book_;
    platform::Dialogs& dialogs_;
    EditorHost& host_;
    bool unloaded_ = false;

    QGroupBox* frmWordEdit = nullptr;
    QLabel* lblClass = nullptr;
    QComboBox* cboClassEdit = nullptr;
    QLabel* lblID = nullptr;
    QComboBox* cboIdEdit = nullptr;
    QLabel* lblEnglish = nullptr;
    QLineEdit* txtEnglishEdit = nullptr;
    QLabel* lblJapanese = nullptr;
    QLineEdit* txtJapaneseEdit = nullptr;
    QPushButton* cmdWordSearch = nullptr;
    QPushButton* cmdWordUpdate = nullptr;

    QGroupBox* frmClassEdit = nullptr;
    QLabel* lblBeforeClass = nullptr;
    QComboBox* cboBeforeClass = nullptr;
    QLabel* lblAfterClass = nullptr;
    QLineEdit* txtAfterClass = nullptr;
    QPushButton* cmdClassChange = nullptr;

    QPushButton* cmdEditClose = nullptr;
};

} // namespace editor
