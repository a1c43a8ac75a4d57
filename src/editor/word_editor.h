#pragma once

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
// session in every handler, and its class lists follow the session's classes.
class WordEditor : public QDialog {
    Q_OBJECT

public:
    // Builds the window and loads the classes; the caller shows it.
    WordEditor(session::BookSession& book, platform::Dialogs& dialogs, QWidget* parent = nullptr);

    // Fills the class lists and shows the first word of the first class.
    void loadClasses();

Q_SIGNALS:
    // The learner went to this class: the main window lists its words.
    void classFollowed(const QString& className);
    // The editor has closed (told once): the commands locked while it was open are free.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape closes the window as Close does, so that the main window is told.
    void reject() override { close(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private Q_SLOTS:
    // The word editor: the class and ID chosen, the fields changed, search and update.
    void showClass();
    void showWord();
    void wordFieldsChanged();
    void searchTranslation();
    void updateWord();
    // Class rename: the class chosen, the new name changed, rename.
    void showClassToRename();
    void newClassNameChanged();
    void renameClass();

private:
    void buildControls();
    void layOutControls();
    void connectControls();

    // The main window lists the words of the class in the editor's class box.
    void followClass();
    // Tells once that the editor has closed.
    void tellClosed();
    // The session's classes were read afresh: both class boxes list them.
    void showClasses(const QStringList& names, const QString& shown);
    void setWordButtons(bool searchEnabled, bool updateEnabled);
    // Fills a class box with the names and shows `current` in it.
    static void fillClassBox(QComboBox* box, const QStringList& names, const QString& current);
    static void showInBox(QComboBox* box, const QString& text);

    session::BookSession& book_;
    platform::Dialogs& dialogs_;
    bool unloaded_ = false;

    QGroupBox* wordFrame_ = nullptr;
    QLabel* classLabel_ = nullptr;
    QComboBox* classBox_ = nullptr;
    QLabel* idLabel_ = nullptr;
    QComboBox* idBox_ = nullptr;
    QLabel* englishLabel_ = nullptr;
    QLineEdit* englishBox_ = nullptr;
    QLabel* japaneseLabel_ = nullptr;
    QLineEdit* japaneseBox_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QPushButton* updateButton_ = nullptr;

    QGroupBox* renameFrame_ = nullptr;
    QLabel* oldNameLabel_ = nullptr;
    QComboBox* oldNameBox_ = nullptr;
    QLabel* newNameLabel_ = nullptr;
    QLineEdit* newNameBox_ = nullptr;
    QPushButton* renameButton_ = nullptr;

    QPushButton* closeButton_ = nullptr;
};

} // namespace editor
