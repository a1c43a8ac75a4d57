#pragma once

#include "session/class_choice.h"

#include <QColor>
#include <QStringList>

class QWidget;

namespace drill {
class Speaker;
}
namespace session {
class BookSession;
}

namespace mainwin {

class DrillView;
struct MainMenu;

// The text views of the main display (manual, grade table, test result, a class's word
// listing, search results), each with the window caption and the View menu's check that
// name it. A view is built by the session, written to display.txt and shown from memory.
class DisplayViews {
public:
    DisplayViews(session::BookSession& session, DrillView& display, MainMenu& menu,
                 QWidget& window);

    // The window's caption: product, version, the book's title, then `suffix`.
    void setCaption(const QString& suffix);
    void showManual();
    void showGradeTable();
    // The result as the last drill left it in result.txt, of this run or an earlier one.
    void showTestResult();
    // The result of the drill that has just ended.
    void showDrillResult(const QStringList& lines);
    // The words of the chosen class (or the review's) in the session's mode.
    void showClassListing(session::ClassChoice choice);
    // The search for `text`; a word found is spoken.
    void showSearch(const QString& text, drill::Speaker& speaker);
    // Whether the display shows a view written to display.txt (not result.txt), and the
    // file that holds what it shows.
    bool viewFileShown() const { return viewFileShown_; }
    QString shownFile() const;

private:
    // Writes the lines to display.txt and shows them.
    void showView(const QStringList& lines, const QColor& colour = Qt::black);
    // Shows a drill's result scrolled to its end, with the result view checked.
    void showResult(const QString& captionSuffix, const QString& text);

    session::BookSession& session_;
    DrillView& display_;
    MainMenu& menu_;
    QWidget& window_;
    bool viewFileShown_ = false;
};

} // namespace mainwin
