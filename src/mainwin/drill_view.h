#pragma once

#include "drill/answer_box.h"
#include "drill/drill_engine.h"
#include "drill/drill_state.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>

class QComboBox;
class QEvent;
class QLabel;
class QPlainTextEdit;
class QTimer;

namespace session {
class BookSession;
}

namespace mainwin {

class PlayArea;

// The play area with its five falling words and the main display over it, and the answer
// box below with its keyboard handling. It binds to the session's drill: it hands the
// engine the drill timer's ticks and the learner's input, and draws the engine's state
// whenever it changes. Its controls carry the program's control names.
class DrillView : public QWidget {
    Q_OBJECT

public:
    explicit DrillView(session::BookSession& session, QWidget* parent = nullptr);

    // Runs `modal` (a message box) with the words held still; they fall again afterwards
    // if the drill still runs.
    void holdWhile(const std::function<void()>& modal);
    // Whether the words are falling now.
    bool falling() const;

    // The main display over the play area: a text in the views' font and `colour`, shown
    // from its top.
    void showText(const QString& text, const QColor& colour = Qt::black);
    // The same, scrolled to its end and with the focus, as a drill's result is shown.
    void showResult(const QString& text);

    // What the answer box holds.
    QString answerText() const;
    // The input-method mode asked of the answer box: 4, 5 or 8 (0 before any request).
    drill::ImeMode requestedImeMode() const { return requestedImeMode_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Follows the session's drill from now on.
    void bindEngine(drill::DrillEngine* engine);
    // Draws the drill's state: the drops, the answer box, and the timer running or not.
    void render();
    // A drill has started: the answer box takes the focus and the play area is uncovered,
    // and the drill is drawn from scratch.
    void showDrillStart();
    // The answer box received the focus: it takes the input-method mode of the mode and
    // the settings, and the drill's own requests start again from there.
    void applyFocusImeMode();
    void buildControls();
    // Enter in the answer box: the typed text selects its entry, or (listening) asks for
    // the next word to be spoken.
    bool answerBoxEnter();
    // A key or typed text in the answer box's open list: Enter takes only the entry the
    // learner moved to, or else what was typed; typing goes into the box. True when the
    // event was handled here.
    bool answerListEvent(QEvent* event);
    // The entry the learner typed into the answer box, or -1.
    int entryTypedInAnswerBox() const;
    void renderDrops(const drill::DrillState& state);
    void renderAnswerBox(const drill::AnswerBox& box);
    void offerTranslations();
    void applyImeMode(drill::ImeMode mode);
    bool answering() const;

    session::BookSession& session_;
    QPointer<drill::DrillEngine> engine_;
    bool drawnRunning_ = false; // the last drawn state was a running drill
    // The answer box as last drawn from the drill, so that the learner's typing is
    // replaced only when the drill itself changes the box.
    drill::AnswerBox shownAnswerBox_;
    int offeredDrop_ = drill::kNoDrop; // the drop whose translations were last offered
    drill::ImeMode requestedImeMode_ = drill::ImeNone;

    PlayArea* playArea_ = nullptr;
    std::array<QLabel*, drill::kDropCount> dropLabels_{};
    QPlainTextEdit* mainDisplay_ = nullptr;
    QLabel* answerLabel_ = nullptr;
    QComboBox* answerBox_ = nullptr;
    QTimer* dropTimer_ = nullptr;
};

} // namespace mainwin
