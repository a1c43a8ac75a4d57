// The progress view: opened from the View menu, and its chart saved as a PNG image.
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
        progressWindow_ = new progress::ProgressWindow(
            *session_,
            [](const QString& title) {
                return windowCaption(title, QStringLiteral("向け / 学習の記録"));
            },
            this);
        connect(progressWindow_, &progress::ProgressWindow::saveRequested, this,
                &FrmMain::saveProgressChart);
    }
    progressWindow_->show();
    progressWindow_->raise();
    progressWindow_->activateWindow();
}

void FrmMain::saveProgressChart() {
    const auto chosen = dialogs().saveFileName(progressWindow_, kPngFilter, QDir::currentPath());
    if (!chosen)
        return;
    if (const QString target = saveTarget(*chosen, QStringLiteral(".png")); !target.isEmpty())
        session_->saveImageAs(progressWindow_->shownChartPng(), target);
}

} // namespace mainwin
