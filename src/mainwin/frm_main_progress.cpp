// The progress view: opened from the View menu, kept in step with the mode and the
// book, and its chart saved as a PNG image.
#include "frm_main.h"

#include "platform/dialogs.h"
#include "progress/progress_window.h"
#include "texts.h"

#include <QDir>

namespace mainwin {

namespace {

const QString kPngFilter = QStringLiteral("PNG画像(*.png)");

} // namespace

void FrmMain::showProgress() {
    // Made on first use, so that the program starts without it.
    if (!progressWindow_) {
        progressWindow_ = new progress::ProgressWindow(this);
        connect(progressWindow_, &progress::ProgressWindow::saveRequested, this,
                &FrmMain::saveProgressChart);
    }
    progressWindow_->show();
    progressWindow_->raise();
    progressWindow_->activateWindow();
    refreshProgress();
}

void FrmMain::refreshProgress() {
    if (!progressWindow_ || !progressWindow_->isVisible())
        return;
    progressWindow_->showNumbers(session_->progress(selectedMode()),
                                 windowCaption(bookTitle(), QStringLiteral("向け / 学習の記録")));
}

void FrmMain::saveProgressChart() {
    const auto chosen = dialogs().saveFileName(progressWindow_, kPngFilter, QDir::currentPath());
    if (!chosen)
        return;
    if (const QString target = saveTarget(*chosen, QStringLiteral(".png")); !target.isEmpty())
        session_->saveImageAs(progressWindow_->shownChartPng(), target);
}

} // namespace mainwin
