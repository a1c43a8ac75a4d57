// The text views of the main display (manual, grade table, test result, word list,
// search results) and saving the one on display as a text file.
#include "frm_main.h"

#include "book/text_file.h"
#include "grade_view.h"
#include "manual_view.h"
#include "platform/file_dialogs.h"
#include "platform/files.h"
#include "platform/help_page.h"
#include "platform/message_box.h"
#include "platform/text_display.h"
#include "search_view.h"
#include "texts.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>

namespace mainwin {

namespace {

const QString kTextFileFilter =
    QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)") + QChar(u'\0') + QStringLiteral("*.txt") + QChar(u'\0');

} // namespace

void FrmMain::RuleDisp() {
    prepareViewDisplay();
    showView(manualLines(platform::homePageUrl()));
    viewFileShown_ = true;
    txtMainDisplay->show();
}

// The word list prepares the display, checks its menu and sets its caption itself.
void FrmMain::mnuWords_Click() { cboWordClass_click(); }

void FrmMain::setCaption(const QString& suffix) {
    setWindowTitle(windowCaption(bookTitle_, suffix));
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
    QString text;
    if (book::writeTextFile(files_.display, lines)) {
        text = platform::ReadTextFile(files_.display);
    } else {
        reportWriteFailure(files_.display);
        text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    }
    platform::showText(txtMainDisplay, text);
}

void FrmMain::mnuManual_Click() {
    RuleDisp();
    checkView(mnuManual);
    setCaption(kManualSuffix);
}

void FrmMain::GradeDsp() {
    prepareViewDisplay();
    book::RecordFile file(files_.wordBook);
    file.open(book::RecordFile::Access::ReadOnly);
    showView(gradeTableLines(file, eofRecord_));
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
    platform::showText(txtMainDisplay, platform::ReadTextFile(files_.result));
    // The end of a result is what the learner wants to see.
    platform::ScrollTextLines(txtMainDisplay, platform::lineCount(txtMainDisplay));
    viewFileShown_ = false;
    txtMainDisplay->setFocus();
    checkView(mnuResult);
}

void FrmMain::cmdSearch_Click() {
    const QString text = cmbInputField->currentText();
    // Like every other view, the caption names the book's audience.
    setCaption(QStringLiteral("向け / 検索結果"));
    prepareViewDisplay();
    book::RecordFile file(files_.wordBook);
    file.open(book::RecordFile::Access::ReadOnly);
    const SearchView view = buildSearchView(file, eofRecord_, text);
    if (view.hits > 0)
        services_.speaker->speak(text);
    checkView(nullptr);
    txtMainDisplay->hide();
    showView(view.lines);
    txtMainDisplay->show();
    viewFileShown_ = true;
}

void FrmMain::mnuFileSaveTxt_Click() {
    const QString chosen = platform::ShowSaveDialog(this, kTextFileFilter, QDir::currentPath());
    if (chosen == platform::kDialogCancelled)
        return;
    saveCopyAs(viewFileShown_ ? files_.display : files_.result, chosen, QStringLiteral(".txt"));
}

void FrmMain::saveCopyAs(const QString& source, const QString& chosen, const QString& extension) {
    const QString ending = chosen.right(4);
    const bool hasExtension = ending == extension || ending == extension.toUpper();
    const QString target = hasExtension ? chosen : chosen + extension;
    // The dialog asked about the name as typed only, not about the one with the extension.
    if (!hasExtension && QFileInfo::exists(target) &&
        !platform::askYesNo(this, QStringLiteral("名前を付けて保存"),
                            QStringLiteral("%1 は既にあります。\r\n上書きしますか？")
                                .arg(QDir::toNativeSeparators(target))))
        return;
    QString reason;
    if (!QFileInfo(source).isFile())
        reason = QStringLiteral("保存する内容がありません。");
    else if (platform::copyFileReplacing(source, target, &reason))
        return;
    platform::showCritical(this, QStringLiteral("FILE WRITE ERROR"),
                           QStringLiteral("%1\r\nに保存できませんでした。\r\n%2")
                               .arg(QDir::toNativeSeparators(target), reason));
}

} // namespace mainwin
