// Loading the word book and keeping the window's class, mode and settings in step
// with it.
#include "frm_main.h"

#include "book/learning.h"
#include "book/text_file.h"
#include "editor/frm_edit.h"
#include "manual_view.h"
#include "platform/help_page.h"
#include "platform/message_box.h"
#include "platform/text_display.h"
#include "texts.h"
#include "word_list_view.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>

namespace mainwin {

namespace {

// Why a file is no word book at all, in the learner's words.
QString unusableBookReason(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("単語帳ファイルが見つかりません。");
    if (info.size() == 0)
        return QStringLiteral("単語帳ファイルが空です。");
    return QStringLiteral("単語帳ファイルに終わりの印（EOF）が見つかりません。");
}

} // namespace

int FrmMain::selectedMode() const {
    for (int m = 0; m < 3; ++m) {
        if (optMode[m]->isChecked())
            return m;
    }
    return book::Reading;
}

bool FrmMain::voiceOn() const { return mnuVoiceOn->isChecked(); }

book::InputMode FrmMain::inputMode() const {
    if (mnuHiragana->isChecked())
        return book::InputMode::Hiragana;
    if (mnuKatakana->isChecked())
        return book::InputMode::Katakana;
    return book::InputMode::Normal;
}

void FrmMain::Form_Load() {
    RuleDisp();

    book::RecordFile file(files_.wordBook);
    file.open(book::RecordFile::Access::ReadOnly);
    endRecord_ = book::findEndRecord(file);
    eofRecord_ = endRecord_.record;
    cmdStart->setEnabled(endRecord_.isValid());
    cmdSearch->setEnabled(endRecord_.isValid());
    if (endRecord_.state == book::BookState::NoEndRecord) {
        // Not a word book: nothing is read from it or written to it.
        closeDrillHandle();
        bookTitle_.clear();
        cboWordClass->clear();
        setCaption(kManualSuffix);
        checkView(mnuManual);
        reportLoadFailure(unusableBookReason(files_.wordBook));
        return;
    }
    if (endRecord_.state == book::BookState::Obsolete)
        platform::showCritical(this, kFileOpenError, obsoleteBookMessage());

    bookTitle_ = file.read(book::trailerRecord(eofRecord_, book::Trailer::Title)).trimmed().english;
    setCaption(kManualSuffix);

    cboWordClass->clear();
    cboWordClass->addItems(book::listClasses(file, eofRecord_));
    cboWordClass->setEditText(file.read(1).trimmed().japanese);
    viewFileShown_ = true;

    const auto speed = book::speedFromText(
        file.read(book::trailerRecord(eofRecord_, book::Trailer::Speed)).trimmed().english);
    if (speed)
        chooseSpeed(*speed);
    else // A text outside the table: the drops fall at the speed the menu shows.
        dropSpeed_ = book::kSpeeds[checkedSpeed()].dropSpeed;
    // The stored voice is applied as the stored speed is, so the menu shows the book.
    if (const auto voice = book::voiceFromText(
            file.read(book::trailerRecord(eofRecord_, book::Trailer::Voice)).trimmed().japanese))
        checkVoice(*voice);

    totalMemoryCount_ =
        file.read(book::trailerRecord(eofRecord_, book::Trailer::MemorisedTotal)).modeCount;
    txtTotalMemoryCnt->setText(QString::number(totalMemoryCount_[book::Reading]));
    checkView(mnuManual);

    file.close();
    openDrillHandle();
}

void FrmMain::openDrillHandle() {
    closeDrillHandle();
    drillHandle_ = std::make_unique<book::RecordFile>(files_.wordBook);
    if (!drillHandle_->open(book::RecordFile::Access::ReadWrite))
        drillHandle_->open(book::RecordFile::Access::ReadOnly);
    engine_ = std::make_unique<drill::DrillEngine>(*drillHandle_, *services_.random,
                                                   *services_.clock, *services_.speaker,
                                                   static_cast<drill::DrillHost&>(*this));
}

void FrmMain::closeDrillHandle() {
    // The drill works through the handle, so it goes first.
    engine_.reset();
    drillHandle_.reset();
}

void FrmMain::cboWordClass_click() {
    setCaption(kWordListSuffix);
    prepareViewDisplay();

    book::RecordFile file(files_.wordBook);
    file.open(book::RecordFile::Access::ReadOnly);
    const int mode = selectedMode();
    const auto classIndex = book::findClassByName(file, eofRecord_, cboWordClass->currentText());
    if (classIndex)
        classFirstRecord_ = book::firstWordRecord(*classIndex);

    const WordListView view = buildWordListView(file, classFirstRecord_, classIndex, mode);
    setDisplayColour(view.allMemorised ? QColor(128, 128, 128) : QColor(Qt::black));
    if (eofRecord_ > 0) {
        totalMemoryCount_ =
            file.read(book::trailerRecord(eofRecord_, book::Trailer::MemorisedTotal)).modeCount;
    }
    if (classIndex)
        txtTotalMemoryCnt->setText(QString::number(totalMemoryCount_[mode]));
    file.close();

    checkView(mnuWords);
    if (engine_) {
        engine_->state().classFirstRecord = classFirstRecord_;
        engine_->WordStckSet();
    }
    viewFileShown_ = true;
    showView(view.lines);
}

void FrmMain::optMode_Click(int) {
    cboWordClass_click();
    mnuHiragana->setEnabled(true);
    mnuKatakana->setEnabled(true);
    if (eofRecord_ > 0) {
        book::RecordFile file(files_.wordBook);
        file.open(book::RecordFile::Access::ReadOnly);
        if (const auto stored = book::inputModeFromText(
                file.read(book::trailerRecord(eofRecord_, book::Trailer::InputMode))
                    .trimmed()
                    .english))
            checkInputMode(*stored);
    }
}

void FrmMain::chooseSpeed(int speed) {
    storeSetting(book::Trailer::Speed, book::SettingField::English,
                 QLatin1StringView(book::kSpeeds[speed].storedText));
    checkSpeed(speed);
    dropSpeed_ = book::kSpeeds[speed].dropSpeed;
}

void FrmMain::chooseInputMode(book::InputMode mode) {
    // The menu shows the choice even if the book cannot take it.
    checkInputMode(mode);
    storeSetting(book::Trailer::InputMode, book::SettingField::English, book::storedText(mode));
}

void FrmMain::chooseVoice(bool on) {
    checkVoice(on);
    storeSetting(book::Trailer::Voice, book::SettingField::Japanese, book::storedVoiceText(on));
}

void FrmMain::storeSetting(book::Trailer record, book::SettingField field, const QString& value) {
    if (!bookWritable())
        return;
    book::RecordFile file(files_.wordBook);
    if (!file.open() || book::writeSetting(file, book::trailerRecord(eofRecord_, record), field,
                                           value) != book::WriteStatus::Ok)
        reportWriteFailure(files_.wordBook);
}

void FrmMain::checkSpeed(int speed) { mnuSpeedItems[speed]->setChecked(true); }

int FrmMain::checkedSpeed() const {
    const auto checked = std::find_if(mnuSpeedItems.begin(), mnuSpeedItems.end(),
                                      [](const QAction* item) { return item->isChecked(); });
    return checked == mnuSpeedItems.end() ? 0 : int(checked - mnuSpeedItems.begin());
}

void FrmMain::checkInputMode(book::InputMode mode) {
    switch (mode) {
    case book::InputMode::Hiragana:
        mnuHiragana->setChecked(true);
        break;
    case book::InputMode::Katakana:
        mnuKatakana->setChecked(true);
        break;
    case book::InputMode::Normal:
        mnuNormal->setChecked(true);
        break;
    }
}

void FrmMain::checkVoice(bool on) { (on ? mnuVoiceOn : mnuVoiceOFF)->setChecked(true); }

void FrmMain::checkView(QAction* view) {
    for (QAction* item : {mnuManual, mnuGrades, mnuResult, mnuWords})
        item->setChecked(item == view);
}

void FrmMain::cmbInputField_GotFocus() {
    const int mode = drill::imeOnFocus(book::Mode(selectedMode()), inputMode());
    applyImeMode(mode);
    // The drill's own requests start again from what the box now has.
    if (engine_) {
        engine_->state().cmbInputField.imeMode = mode;
        shownAnswerBox_.imeMode = mode;
    }
}

void FrmMain::applyImeMode(int mode) {
    requestedImeMode_ = mode;
    // Without a Japanese input method the modes become hints: 8 keeps to Latin letters.
    const Qt::InputMethodHints hints =
        mode == 8 ? Qt::ImhLatinOnly | Qt::ImhNoPredictiveText : Qt::ImhNone;
    cmbInputField->setInputMethodHints(hints);
    if (QLineEdit* edit = cmbInputField->lineEdit())
        edit->setInputMethodHints(hints);
}

void FrmMain::mnuEdit_Click() {
    mnuWords_Click();
    if (!bookWritable()) {
        reportNoBook();
        return;
    }
    if (platform::askYesNo(this, QStringLiteral("ｳﾞｪﾙﾌｧｲﾙの編集"), kDataLossQuestion) &&
        resetBook()) {
        Form_Load();
        auto* editorWindow = new editor::FrmEdit(static_cast<editor::EditorHost&>(*this), this);
        editorWindow->setAttribute(Qt::WA_DeleteOnClose);
        editorWindow->setObjectName(QStringLiteral("frmEdit"));
        editorWindow->show();
        setEditorCommandsEnabled(false);
    }
    mnuWords_Click();
}

void FrmMain::showClassWords(const QString& className) {
    cboWordClass->setEditText(className);
    cboWordClass_click();
}

void FrmMain::setClassList(const QStringList& names, const QString& current) {
    const QSignalBlocker blocker(cboWordClass);
    cboWordClass->clear();
    cboWordClass->addItems(names);
    cboWordClass->setEditText(current);
}

void FrmMain::editorClosed() { setEditorCommandsEnabled(true); }

void FrmMain::setEditorCommandsEnabled(bool enabled) {
    for (QMenu* menu : {mnuFile, mnuDsp, mnuSetting})
        menu->menuAction()->setEnabled(enabled);
    mnuEdit->setEnabled(enabled);
    // An obsolete book can be edited but never played.
    cmdStart->setEnabled(enabled && endRecord_.isValid());
}

void FrmMain::reportLoadFailure(const QString& reason) {
    platform::showCritical(this, kFileOpenError, reason + QStringLiteral("\r\n") + files_.wordBook);
}

void FrmMain::reportWriteFailure(const QString& path) {
    const QString text =
        QStringLiteral("%1\r\nに書き込めませんでした。\r\n"
                       "フォルダの書き込み権限とディスクの空き容量を確かめて下さい。")
            .arg(QDir::toNativeSeparators(path));
    if (!engine_ || !engine_->state().running) {
        platform::showCritical(this, QStringLiteral("FILE WRITE ERROR"), text);
        return;
    }
    // Inside a drill the message waits until the step is over, so that the box never runs
    // the drill from within itself, and the words stop falling while it is open.
    QTimer::singleShot(0, this, [this, text] {
        const bool falling = tmrMain->isActive();
        tmrMain->stop();
        platform::showCritical(this, QStringLiteral("FILE WRITE ERROR"), text);
        if (falling && engine_ && engine_->state().timerOn)
            tmrMain->start();
    });
}

} // namespace mainwin
