// The text views of the main display (manual, grade table, test result, word list,
// search results) and saving the one on display as a text file.
#include "frm_main.h"

#include "drill_view.h"
#include "manual_view.h"
#include "platform/dialogs.h"
#include "platform/text_display.h"
#include "session/failure_text.h"
#include "texts.h"

#include <QDir>

namespace mainwin {

namespace {

const QString kTextFileFilter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)");

} // namespace

void FrmMain::setCaption(const QString& suffix) {
    setWindowTitle(windowCaption(bookTitle(), suffix));
}

void FrmMain::showView(const QStringList& lines, const QColor& colour) {
    // display.txt is for saving the view; what is shown is what was built.
    session_->writeDisplay(lines);
    drillView_->showText(linesText(lines), colour);
}

void FrmMain::showManualText() {
    showView(manualLines(session::kHomePageUrl));
    viewFileShown_ = true;
}

void FrmMain::showManual() {
    showManualText();
    menu_.checkView(menu_.mnuManual);
    setCaption(kManualSuffix);
}

void FrmMain::showGradeTable() {
    showView(session_->gradeTable());
    viewFileShown_ = true;
    menu_.checkView(menu_.mnuGrades);
    setCaption(QStringLiteral("向け / 成績表"));
}

// The result as the last drill left it in result.txt, of this run of the program or an
// earlier one.
void FrmMain::showTestResult() {
    showResult(QStringLiteral("向け / テスト結果"),
               platform::readTextFile(session_->files().result));
}

void FrmMain::showResult(const QString& captionSuffix, const QString& text) {
    setCaption(captionSuffix);
    drillView_->showResult(text);
    viewFileShown_ = false;
    menu_.checkView(menu_.mnuResult);
}

void FrmMain::searchWord() {
    const QString text = drillView_->answerText();
    // Like every other view, the caption names the book's audience.
    setCaption(QStringLiteral("向け / 検索結果"));
    const session::SearchView view = session_->search(text);
    if (view.hits > 0)
        services_.speaker->speakLatest(text);
    menu_.checkView(nullptr);
    showView(view.lines);
    viewFileShown_ = true;
}

void FrmMain::saveViewAs() {
    const auto chosen = dialogs().saveFileName(this, kTextFileFilter, QDir::currentPath());
    if (!chosen)
        return;
    if (const QString target = saveTarget(*chosen, QStringLiteral(".txt")); !target.isEmpty())
        session_->saveTextAs(viewFileShown_ ? session_->files().display : session_->files().result,
                             target);
}

} // namespace mainwin
