#include "display_views.h"

#include "drill_view.h"
#include "main_menu.h"
#include "manual_view.h"
#include "platform/text_display.h"
#include "session/book_session.h"
#include "texts.h"

#include <QWidget>

namespace mainwin {

DisplayViews::DisplayViews(session::BookSession& session, DrillView& display, MainMenu& menu,
                           QWidget& window)
    : session_(session), display_(display), menu_(menu), window_(window) {}

void DisplayViews::setCaption(const QString& suffix) {
    window_.setWindowTitle(windowCaption(session_.title(), suffix));
}

void DisplayViews::showView(const QStringList& lines, const QColor& colour) {
    // display.txt is for saving the view; what is shown is what was built.
    session_.writeDisplay(lines);
    display_.showText(linesText(lines), colour);
    viewFileShown_ = true;
}

void DisplayViews::showManual() {
    showView(manualLines(session::kHomePageUrl));
    menu_.checkView(menu_.manualAction);
    setCaption(kManualSuffix);
}

void DisplayViews::showGradeTable() {
    showView(session_.gradeTable());
    menu_.checkView(menu_.gradesAction);
    setCaption(QStringLiteral("向け / 成績表"));
}

void DisplayViews::showTestResult() {
    showResult(QStringLiteral("向け / テスト結果"),
               platform::readTextFile(session_.files().result));
}

void DisplayViews::showDrillResult(const QStringList& lines) {
    showResult(QStringLiteral("向け / 学習結果"), linesText(lines));
}

void DisplayViews::showResult(const QString& captionSuffix, const QString& text) {
    setCaption(captionSuffix);
    display_.showResult(text);
    viewFileShown_ = false;
    menu_.checkView(menu_.resultAction);
}

void DisplayViews::showClassListing(session::ClassChoice choice) {
    setCaption(kClassListingSuffix);
    const views::ClassListing view = session_.classListing(choice, session_.mode());
    menu_.checkView(menu_.listingAction);
    showView(view.lines, view.allMemorised ? QColor(128, 128, 128) : QColor(Qt::black));
}

void DisplayViews::showSearch(const QString& text, drill::Speaker& speaker) {
    // Like every other view, the caption names the book's audience.
    setCaption(QStringLiteral("向け / 検索結果"));
    const views::SearchView view = session_.search(text);
    if (view.hits > 0)
        speaker.speakLatest(text);
    menu_.checkView(nullptr);
    showView(view.lines);
}

QString DisplayViews::shownFile() const {
    return viewFileShown_ ? session_.files().display : session_.files().result;
}

} // namespace mainwin
