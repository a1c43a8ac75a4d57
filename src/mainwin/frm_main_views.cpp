// The text views of the main display (manual, grade table, test result, word list,
// search results) and saving the one on display as a text file.
#include "frm_main.h"

#include "manual_view.h"
#include "platform/dialogs.h"
#include "platform/text_display.h"
#include "session/failure_text.h"
#include "texts.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>

namespace mainwin {

namespace {

const QString kTextFileFilter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)");

} // namespace

void FrmMain::RuleDisp() {
    prepareViewDisplay();
    showView(manualLines(session::kHomePageUrl));
    viewFileShown_ = true;
    txtMainDisplay->show();
}

// The word list prepares the display, checks its menu and sets its caption itself.
void FrmMain::mnuWords_Click() { cboWordClass_click(); }

void FrmMain::setCaption(const QString& suffix) {
    setWindowTitle(windowCaption(bookTitle(), suffix));
}

void FrmMain::prepareViewDisplay() {
    txtMainDisplay->setFont(lblDropWord[5]->font());
    setDisplayColour(Qt::black);
}

void FrmMain::setDisplayColour(const QColor& colour) {
    QPalette palette = txtMainDisplay->palette();
    palette.setColor(QPalette::Text, colour);
    txtMainDisplay->setPalette(palette);
}

void FrmMain::showView(const QStringList& lines) {
    const QString text = session_->writeDisplay(lines)
                             ? platform::readTextFile(files().display)
                             : lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    platform::showText(txtMainDisplay, text);
}

void FrmMain::mnuManual_Click() {
    RuleDisp();
    checkView(mnuManual);
    setCaption(kManualSuffix);
}

void FrmMain::GradeDsp() {
    prepareViewDisplay();
    showView(session_->gradeTable());
    viewFileShown_ = true;
    txtMainDisplay->show();
}

void FrmMain::mnuGrades_Click() {
    GradeDsp();
    checkView(mnuGrades);
    setCaption(QStringLiteral("向け / 成績表"));
}

void FrmMain::mnuResult_Click() { showResultFile(QStringLiteral("向け / テスト結果")); }

void FrmMain::showResultFile(const QString& captionSuffix) {
    setCaption(captionSuffix);
    prepareViewDisplay();
    txtMainDisplay->show();
    platform::showText(txtMainDisplay, platform::readTextFile(files().result));
    // The end of a result is what the learner wants to see.
    platform::scrollLines(txtMainDisplay, platform::lineCount(txtMainDisplay));
    viewFileShown_ = false;
    txtMainDisplay->setFocus();
    checkView(mnuResult);
}

void FrmMain::cmdSearch_Click() {
    const QString text = cmbInputField->currentText();
    // Like every other view, the caption names the book's audience.
    setCaption(QStringLiteral("向け / 検索結果"));
    prepareViewDisplay();
    const session::SearchView view = session_->search(text);
    if (view.hits > 0)
        services_.speaker->speak(text);
    checkView(nullptr);
    txtMainDisplay->hide();
    showView(view.lines);
    txtMainDisplay->show();
    viewFileShown_ = true;
}

void FrmMain::mnuFileSaveTxt_Click() {
    const auto chosen = dialogs().saveFileName(this, kTextFileFilter, QDir::currentPath());
    if (!chosen)
        return;
    if (const QString target = saveTarget(*chosen, QStringLiteral(".txt")); !target.isEmpty())
        session_->saveTextAs(viewFileShown_ ? files().display : files().result, target);
}

} // namespace mainwin
