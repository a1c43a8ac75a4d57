#include "drill_view.h"

#include "platform/fonts.h"
#include "platform/text_display.h"
#include "play_area.h"
#include "session/book_session.h"
#include "texts.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace mainwin {

namespace {

// How each drop's text sits in its box, so that five words spread across the field
// although three of them share a column.
constexpr std::array<Qt::Alignment, drill::kDropCount> kDropAlignments{
    Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};

// How a drop looks in each answer state, so that the learner sees at once which word
// is being answered and which ones show a missed word's answer.
const QString kWaitingStyle = QStringLiteral("color: #1d2b44;");
const QString kAnsweringStyle = QStringLiteral("color: #1a5fd0; font-weight: bold;");
const QString kRevealedStyle = QStringLiteral("color: #b3261e;");

constexpr int kTickMilliseconds = 100;
// Entries the answer box shows at once: five translations and "？".
constexpr int kVisibleEntries = drill::kDropCount + 1;

} // namespace

DrillView::DrillView(session::BookSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("drillView"));
    buildControls();
    connect(&session_, &session::BookSession::engineChanged, this, &DrillView::bindEngine);
    bindEngine(session_.engine());

    auto* answerRow = new QHBoxLayout;
    answerRow->addWidget(answerLabel_);
    answerRow->addWidget(answerBox_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(playArea_, 0, Qt::AlignTop | Qt::AlignLeft);
    layout->addLayout(answerRow);
}

void DrillView::buildControls() {
    playArea_ = new PlayArea;

    const QFont dropFont = platform::fixedPitchFont(platform::kDropPointSize);
    for (int i = 0; i < drill::kDropCount; ++i) {
        auto* drop =
            new QLabel(i % 2 == 0 ? QStringLiteral("Label8") : QStringLiteral("Label9"), playArea_);
        drop->setObjectName(QStringLiteral("lblDropWord(%1)").arg(i));
        drop->setFont(dropFont);
        drop->setAlignment(kDropAlignments[i] | Qt::AlignVCenter);
        drop->setGeometry(drill::kDropColumns[i] / kTwipsPerPixel, -kDropHeightTwips,
                          kDropWidthTwips / kTwipsPerPixel, kDropHeightTwips / kTwipsPerPixel);
        drop->setAttribute(Qt::WA_TransparentForMouseEvents);
        // Read as a falling word, not as its design-time caption, until a word falls.
        drop->setAccessibleName(dropAccessibleName(i, QString()));
        dropLabels_[i] = drop;
    }

    mainDisplay_ = new QPlainTextEdit(playArea_);
    mainDisplay_->setObjectName(QStringLiteral("txtMainDisplay"));
    mainDisplay_->setGeometry(playArea_->rect());
    mainDisplay_->setReadOnly(true);
    mainDisplay_->setFocusPolicy(Qt::ClickFocus);
    mainDisplay_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mainDisplay_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mainDisplay_->setFont(platform::fixedPitchFont(platform::kViewPointSize));

    answerLabel_ = new QLabel(QStringLiteral("入力フィールド："));
    answerLabel_->setObjectName(QStringLiteral("lblInputField"));
    answerBox_ = new QComboBox;
    answerBox_->setObjectName(QStringLiteral("cmbInputField"));
    answerBox_->setEditable(true);
    answerBox_->setInsertPolicy(QComboBox::NoInsert);
    answerBox_->setMaxVisibleItems(kVisibleEntries);
    answerBox_->setFont(platform::fixedPitchFont(11));
    answerBox_->installEventFilter(this);
    answerBox_->lineEdit()->installEventFilter(this);
    // While its list is open the keys go to the list's view. Installed after Qt's own
    // filter there, this one sees them first.
    answerBox_->view()->installEventFilter(this);
    // Completion offers the list's own words, which are compared exactly.
    answerBox_->completer()->setCaseSensitivity(Qt::CaseSensitive);
    answerBox_->completer()->setCompletionMode(QCompleter::InlineCompletion);
    connect(answerBox_, &QComboBox::activated, this, [this] {
        if (engine_)
            engine_->selectEntry(answerBox_->currentText());
    });
    answerLabel_->setBuddy(answerBox_);

    dropTimer_ = new QTimer(this);
    dropTimer_->setObjectName(QStringLiteral("tmrMain"));
    dropTimer_->setInterval(kTickMilliseconds);
    connect(dropTimer_, &QTimer::timeout, this, [this] {
        if (engine_)
            engine_->tick();
    });
}

void DrillView::bindEngine(drill::DrillEngine* engine) {
    engine_ = engine;
    drawnRunning_ = false;
    if (engine_)
        connect(engine_, &drill::DrillEngine::changed, this, &DrillView::render,
                Qt::UniqueConnection);
    else
        dropTimer_->stop();
}

void DrillView::showDrillStart() {
    shownAnswerBox_ = {};
    answerBox_->setFocus();
    mainDisplay_->hide();
}

void DrillView::holdWhile(const std::function<void()>& modal) {
    const bool wasFalling = dropTimer_->isActive();
    dropTimer_->stop();
    modal();
    if (wasFalling && engine_ && engine_->state().timerOn)
        dropTimer_->start();
}

bool DrillView::falling() const { return dropTimer_->isActive(); }

void DrillView::showText(const QString& text, const QColor& colour) {
    QPalette palette = mainDisplay_->palette();
    palette.setColor(QPalette::Text, colour);
    mainDisplay_->setPalette(palette);
    platform::showText(mainDisplay_, text);
    mainDisplay_->show();
}

void DrillView::showResult(const QString& text) {
    showText(text);
    // The end of a result is what the learner wants to see.
    platform::scrollLines(mainDisplay_, platform::lineCount(mainDisplay_));
    mainDisplay_->setFocus();
}

QString DrillView::answerText() const { return answerBox_->currentText(); }

void DrillView::applyFocusImeMode() {
    const drill::ImeMode mode = drill::imeOnFocus(session_.mode(), session_.settings().inputMode);
    applyImeMode(mode);
    shownAnswerBox_.imeMode = mode;
    if (engine_)
        engine_->setImeMode(mode);
}

bool DrillView::eventFilter(QObject* watched, QEvent* event) {
    // The focus coming back from the box's own list is no new visit to the box.
    if (watched == answerBox_ && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        applyFocusImeMode();
    if (watched == answerBox_->view() && answerListEvent(event))
        return true;
    // The box passes keys on to its line edit without filters, so watch both.
    if ((watched == answerBox_ || watched == answerBox_->lineEdit()) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return answerBoxEnter();
    }
    return QWidget::eventFilter(watched, event);
}

bool DrillView::answering() const { return engine_ && engine_->answering(); }

bool DrillView::answerBoxEnter() {
    if (!engine_)
        return true;
    if (engine_->state().running && engine_->state().mode == book::Listening &&
        !engine_->answering()) {
        // Waiting for a word: Enter asks for it to be spoken, whatever the box holds.
        answerBox_->setEditText(QString());
        engine_->announceNextWord();
        return true;
    }
    const int index = entryTypedInAnswerBox();
    if (index >= 0) {
        answerBox_->setCurrentIndex(index);
        engine_->selectEntry(answerBox_->currentText());
    } else {
        engine_->announceNextWord();
    }
    return true;
}

bool DrillView::answerListEvent(QEvent* event) {
    QAbstractItemView* list = answerBox_->view();
    const auto typeIntoBox = [&] {
        // What is typed is matched exactly, so no entry stays highlighted for Enter.
        list->selectionModel()->clear();
        QCoreApplication::sendEvent(answerBox_->lineEdit(), event);
        return true;
    };
    if (event->type() == QEvent::InputMethod)
        return typeIntoBox();
    if (event->type() == QEvent::InputMethodQuery) {
        QCoreApplication::sendEvent(answerBox_->lineEdit(), event);
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (list->currentIndex().isValid())
            return false; // Qt chooses the entry the learner moved to
        // No entry moved to and none typed: the word stays unanswered, the list open.
        if (answering() && entryTypedInAnswerBox() < 0)
            return true;
        answerBox_->hidePopup();
        return answerBoxEnter();
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return typeIntoBox();
    default:
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier) ||
            key->text().isEmpty() || !key->text().front().isPrint())
            return false;
        return typeIntoBox();
    }
}

int DrillView::entryTypedInAnswerBox() const {
    const QLineEdit* edit = answerBox_->lineEdit();
    const auto exact = [this](const QString& text) {
        return text.isEmpty()
                   ? -1
                   : answerBox_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    };
    // What the learner typed wins over what completion added to it ("at" before "attend").
    if (edit->hasSelectedText() && edit->selectionEnd() == edit->text().size()) {
        if (const int typed = exact(edit->text().left(edit->selectionStart())); typed >= 0)
            return typed;
    }
    return exact(edit->text());
}

void DrillView::render() {
    if (!engine_)
        return;
    const drill::DrillState& s = engine_->state();
    if (s.running && !drawnRunning_)
        showDrillStart();
    drawnRunning_ = s.running;
    renderDrops(s);
    renderAnswerBox(s.answerBox);
    offerTranslations();
    if (s.timerOn && !dropTimer_->isActive())
        dropTimer_->start();
    else if (!s.timerOn && dropTimer_->isActive())
        dropTimer_->stop();
}

void DrillView::renderDrops(const drill::DrillState& s) {
    for (int i = 0; i < drill::kDropCount; ++i) {
        const drill::Drop& drop = s.drops[i];
        QLabel* label = dropLabels_[i];
        if (label->text() != drop.caption) {
            label->setText(drop.caption);
            label->setAccessibleName(dropAccessibleName(i, drop.caption));
        }
        label->move(twipsToPixels(drop.left), twipsToPixels(int(std::floor(drop.top))));
        label->setVisible(drop.visible);
        label->setEnabled(drop.enabled);
        const bool answering = !drop.selectable && s.selectedDrop == i;
        const QString& style = drop.selectable ? kWaitingStyle
                               : answering     ? kAnsweringStyle
                                               : kRevealedStyle;
        if (label->styleSheet() != style)
            label->setStyleSheet(style);
    }
}

void DrillView::offerTranslations() {
    // Once a word is being answered its translations open as a list, so that the
    // learner can browse them with the arrow keys and choose with Enter.
    const drill::DrillState& s = engine_->state();
    const bool answering = s.running && this->answering();
    const int drop = answering ? s.selectedDrop : drill::kNoDrop;
    if (drop == offeredDrop_)
        return;
    offeredDrop_ = drop;
    if (answering && answerBox_->hasFocus() && answerBox_->count() > 0) {
        answerBox_->showPopup();
        // No entry is chosen until the learner moves to one, so that a bare Enter
        // judges nothing.
        answerBox_->view()->selectionModel()->clear();
    } else if (!answering)
        answerBox_->hidePopup();
}

void DrillView::renderAnswerBox(const drill::AnswerBox& box) {
    if (box.entries != shownAnswerBox_.entries) {
        const QSignalBlocker blocker(answerBox_);
        answerBox_->clear();
        answerBox_->addItems(box.entries);
        answerBox_->setCurrentIndex(-1);
        answerBox_->setEditText(box.text);
    } else if (box.text != shownAnswerBox_.text) {
        answerBox_->setEditText(box.text);
    }
    if (box.imeMode != shownAnswerBox_.imeMode && box.imeMode != drill::ImeNone)
        applyImeMode(box.imeMode);
    shownAnswerBox_ = box;
}

void DrillView::applyImeMode(drill::ImeMode mode) {
    requestedImeMode_ = mode;
    // Without a Japanese input method the modes become hints: 8 keeps to Latin letters.
    const Qt::InputMethodHints hints =
        mode == drill::ImeAlphanumeric ? Qt::ImhLatinOnly | Qt::ImhNoPredictiveText : Qt::ImhNone;
    answerBox_->setInputMethodHints(hints);
    if (QLineEdit* edit = answerBox_->lineEdit())
        edit->setInputMethodHints(hints);
}

} // namespace mainwin
