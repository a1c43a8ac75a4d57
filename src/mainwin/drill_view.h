#pragma once

#include "drill/answer_box.h"
#include "drill/drill_state.h"

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
// box below with its keyboard handling. It draws the state of the session's drill and
// tells of the learner's input and of the drill timer's ticks; the window passes them on
// to the drill. Its controls carry the program's control names.
class DrillView : public QWidget {
    Q_OBJECT

public:
    explicit DrillView(const session::BookSession& session, QWidget* parent = nullptr);

    // Draws the drill's state: the drops, the answer box, and the timer running or not.
    void render();
    // A drill has started: the answer box takes the focus and the play area is uncovered
    // (render() then draws the drill from scratch).
    void showDrillStart();
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
    // The answer box has taken the input-method mode it gets with the focus.
    void setFocusImeMode(drill::ImeMode mode);
    // The input-method mode asked of the answer box: 4, 5 or 8 (0 before any request).
    drill::ImeMode requestedImeMode() const { return requestedImeMode_; }

Q_SIGNALS:
    // The drill timer's 100 ms tick.
    void ticked();
    // The learner selected an entry of the answer box, or typed one and pressed Enter.
    void entrySelected(const QString& text);
    // Enter in the answer box with no entry typed: in listening mode, the next word.
    void enterPressed();
    // The answer box received the focus (not back from its own list).
    void answerBoxFocused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
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

    const session::BookSession& session_;
    // The answer box as last drawn from the drill, so that the learner's typing is
    // replaced only when the drill itself changes the box.
    drill::AnswerBox shownAnswerBox_;
    int offeredDrop_ = drill::kNoDrop; // the drop whose translations were last offered
    drill::ImeMode requestedImeMode_ = drill::ImeNone;

    PlayArea* VelBackPic = nullptr;
    std::array<QLabel*, drill::kDropCount> lblDropWord{};
    QPlainTextEdit* txtMainDisplay = nullptr;
    QLabel* lblInputField = nullptr;
    QComboBox* cmbInputField = nullptr;
    QTimer* tmrMain = nullptr;
};

} // namespace mainwin
