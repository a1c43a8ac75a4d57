#include "word_editor.h"

#include "meaning_offer.h"
#include "platform/dialogs.h"
#include "platform/exact_text_box.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace editor {

namespace {

template <typename T> T* named(QWidget* parent, const char* name) {
    auto* control = new T(parent);
    control->setObjectName(QLatin1StringView(name));
    return control;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, const QString& tip) {
    auto* control = named<QLabel>(parent, name);
    control->setText(caption);
    control->setToolTip(tip);
    return control;
}

// A box the learner can type into as well as choose from; names and IDs are looked up
// exactly as typed, so the typed text is never completed or matched to an entry.
QComboBox* editableBox(QWidget* parent, const char* name, const QString& tip) {
    auto* box = named<QComboBox>(parent, name);
    platform::makeExactTextBox(box);
    box->setToolTip(tip);
    return box;
}

QLineEdit* textBox(QWidget* parent, const char* name, const QString& tip) {
    auto* box = named<QLineEdit>(parent, name);
    box->setToolTip(tip);
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& tip) {
    auto* control = named<QPushButton>(parent, name);
    control->setText(caption);
    control->setToolTip(tip);
    control->setAutoDefault(false);
    return control;
}

} // namespace

WordEditor::WordEditor(session::BookSession& book, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), book_(book), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmEdit"));
    setWindowTitle(QStringLiteral("ｳﾞｪﾙﾌｧｲﾙの編集"));
    buildControls();
    layOutControls();
    connectControls();
    loadClasses();
}

void WordEditor::buildControls() {
    wordFrame_ = named<QGroupBox>(this, "frmWordEdit");
    wordFrame_->setTitle(QStringLiteral("単語編集"));
    const QString classTip = QStringLiteral("変更したい単語を含む、単語クラスを選択します。");
    classLabel_ = label(wordFrame_, "lblClass", QStringLiteral("単語クラス："), classTip);
    classBox_ = editableBox(wordFrame_, "cboClassEdit", classTip);
    const QString idTip = QStringLiteral("変更したい単語を、ID値にもとづいて選択します。");
    idLabel_ = label(wordFrame_, "lblID", QStringLiteral("ID："), idTip);
    idBox_ = editableBox(wordFrame_, "cboIdEdit", idTip);
    const QString englishTip =
        QStringLiteral("英単語が表示されます。　変更する場合は、この単語を編集して下さい。");
    englishLabel_ = label(wordFrame_, "lblEnglish", QStringLiteral("英語："), englishTip);
    englishBox_ = textBox(wordFrame_, "txtEnglishEdit", englishTip);
    const QString japaneseTip = QStringLiteral(
        "英語に対する日本語訳が表示されます。　変更する場合は、この単語を編集して下さい。");
    japaneseLabel_ = label(wordFrame_, "lblJapanese", QStringLiteral("日本語："), japaneseTip);
    japaneseBox_ = textBox(wordFrame_, "txtJapaneseEdit", japaneseTip);
    searchButton_ = button(
        wordFrame_, "cmdWordSearch", QStringLiteral("検索(&F)"),
        QStringLiteral(
            "英語フィールドもしくは日本語フィールドが空欄の場合、それぞれの訳語を検索します。"));
    updateButton_ = button(wordFrame_, "cmdWordUpdate", QStringLiteral("更新(&U)"),
                           QStringLiteral("更新内容を有効にします。"));

    renameFrame_ = named<QGroupBox>(this, "frmClassEdit");
    renameFrame_->setTitle(QStringLiteral("クラス編集"));
    const QString beforeTip = QStringLiteral("変更したいクラス名を選択します。");
    oldNameLabel_ = label(renameFrame_, "lblBeforeClass", QStringLiteral("変更前："), beforeTip);
    oldNameBox_ = editableBox(renameFrame_, "cboBeforeClass", beforeTip);
    newNameLabel_ = label(renameFrame_, "lblAfterClass", QStringLiteral("変更後："),
                          QStringLiteral("希望のクラス名を入力します。"));
    newNameBox_ =
        textBox(renameFrame_, "txtAfterClass", QStringLiteral("希望するクラス名を入力します。"));
    renameButton_ = button(renameFrame_, "cmdClassChange", QStringLiteral("変更(&H)"),
                           QStringLiteral("変更内容を有効にします。"));

    closeButton_ = button(this, "cmdEditClose", QStringLiteral("閉じる(&C)"),
                          QStringLiteral("編集ウィンドウを閉じます。"));

    for (QLabel* caption :
         {classLabel_, idLabel_, englishLabel_, japaneseLabel_, oldNameLabel_, newNameLabel_})
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    classLabel_->setBuddy(classBox_);
    idLabel_->setBuddy(idBox_);
    englishLabel_->setBuddy(englishBox_);
    japaneseLabel_->setBuddy(japaneseBox_);
    oldNameLabel_->setBuddy(oldNameBox_);
    newNameLabel_->setBuddy(newNameBox_);
}

void WordEditor::layOutControls() {
    auto buttonRow = [](std::initializer_list<QPushButton*> buttons) {
        auto* row = new QHBoxLayout;
        row->addStretch();
        for (QPushButton* b : buttons)
            row->addWidget(b);
        return row;
    };

    auto* words = new QGridLayout(wordFrame_);
    words->addWidget(classLabel_, 0, 0);
    words->addWidget(classBox_, 0, 1, 1, 2);
    words->addWidget(idLabel_, 1, 0);
    words->addWidget(idBox_, 1, 1);
    words->addWidget(englishLabel_, 2, 0);
    words->addWidget(englishBox_, 2, 1, 1, 2);
    words->addWidget(japaneseLabel_, 3, 0);
    words->addWidget(japaneseBox_, 3, 1, 1, 2);
    words->addLayout(buttonRow({searchButton_, updateButton_}), 4, 0, 1, 3);
    words->setColumnStretch(2, 1);
    idBox_->setMinimumContentsLength(4);

    auto* classes = new QGridLayout(renameFrame_);
    classes->addWidget(oldNameLabel_, 0, 0);
    classes->addWidget(oldNameBox_, 0, 1);
    classes->addWidget(newNameLabel_, 1, 0);
    classes->addWidget(newNameBox_, 1, 1);
    classes->addLayout(buttonRow({renameButton_}), 2, 0, 1, 2);
    classes->setColumnStretch(1, 1);

    // The same label column in both frames, so that their fields line up.
    int labelWidth = 0;
    for (QLabel* caption :
         {classLabel_, idLabel_, englishLabel_, japaneseLabel_, oldNameLabel_, newNameLabel_})
        labelWidth = std::max(labelWidth, caption->sizeHint().width());
    words->setColumnMinimumWidth(0, labelWidth);
    classes->setColumnMinimumWidth(0, labelWidth);

    auto* window = new QVBoxLayout(this);
    window->addWidget(wordFrame_);
    window->addWidget(renameFrame_);
    window->addLayout(buttonRow({closeButton_}));
    setMinimumWidth(440);
}

void WordEditor::connectControls() {
    // The Japanese field offers the dictionaries' meanings of the English.
    auto* offer = new MeaningOffer(book_.meanings(), *japaneseBox_);
    connect(englishBox_, &QLineEdit::textChanged, offer, &MeaningOffer::setEnglish);
    connect(classBox_, &QComboBox::activated, this, &WordEditor::showClass);
    connect(idBox_, &QComboBox::activated, this, &WordEditor::showWord);
    connect(oldNameBox_, &QComboBox::activated, this, &WordEditor::showClassToRename);
    connect(englishBox_, &QLineEdit::textChanged, this, &WordEditor::wordFieldsChanged);
    connect(japaneseBox_, &QLineEdit::textChanged, this, &WordEditor::wordFieldsChanged);
    connect(newNameBox_, &QLineEdit::textChanged, this, &WordEditor::newClassNameChanged);
    connect(searchButton_, &QPushButton::clicked, this, &WordEditor::searchTranslation);
    connect(updateButton_, &QPushButton::clicked, this, &WordEditor::updateWord);
    connect(renameButton_, &QPushButton::clicked, this, &WordEditor::renameClass);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    for (QComboBox* box : {classBox_, idBox_, oldNameBox_})
        box->installEventFilter(this);
    connect(&book_, &session::BookSession::classesChanged, this, &WordEditor::showClasses);
}

void WordEditor::loadClasses() {
    unloaded_ = false;
    idBox_->clear();
    for (int id = 1; id <= book::kWordsPerClass; ++id)
        idBox_->addItem(QString::number(id));
    showInBox(idBox_, QStringLiteral("1"));

    const QStringList names = book_.readClassNames();
    const QString firstClass = names.value(0);
    const book::WordRecord firstWord =
        book_.recordToShow(firstClass, QStringLiteral("1")).value_or(book::WordRecord{});
    englishBox_->setText(firstWord.english);
    japaneseBox_->setText(firstWord.japanese);
    fillClassBox(classBox_, names, firstClass);
    fillClassBox(oldNameBox_, names, firstClass);

    setWordButtons(false, false);
    renameButton_->setEnabled(false);
}

void WordEditor::showClass() {
    showWord();
    followClass();
}

void WordEditor::followClass() { Q_EMIT classFollowed(classBox_->currentText()); }

void WordEditor::showWord() {
    // An ID that is no number addresses nothing: the fields keep what they show.
    if (const auto record = book_.recordToShow(classBox_->currentText(), idBox_->currentText())) {
        englishBox_->setText(record->english);
        japaneseBox_->setText(record->japanese);
    }
    setWordButtons(false, false);
}

void WordEditor::wordFieldsChanged() {
    if (englishBox_->text().isEmpty() || japaneseBox_->text().isEmpty())
        setWordButtons(true, false);
    else
        updateButton_->setEnabled(true);
}

void WordEditor::setWordButtons(bool searchEnabled, bool updateEnabled) {
    searchButton_->setEnabled(searchEnabled);
    updateButton_->setEnabled(updateEnabled);
}

void WordEditor::searchTranslation() {
    const QString english = englishBox_->text();
    const QString japanese = japaneseBox_->text();
    if (english.isEmpty() && japanese.isEmpty()) {
        showWord();
        return;
    }
    if (const auto hit = book_.searchTranslation(english, japanese)) {
        if (hit->byEnglish)
            japaneseBox_->setText(hit->japanese);
        else
            englishBox_->setText(hit->english);
        showInBox(idBox_, QString::number(hit->id));
        showInBox(classBox_, hit->className);
    }
    setWordButtons(false, false);
}

void WordEditor::updateWord() {
    const QString refusal = book_.updateWord(classBox_->currentText(), idBox_->currentText(),
                                             englishBox_->text(), japaneseBox_->text());
    if (!refusal.isEmpty())
        dialogs_.showInformation(this, QStringLiteral("更新をキャンセルします"), refusal);
    updateButton_->setEnabled(false);
    followClass();
}

void WordEditor::tellClosed() {
    if (std::exchange(unloaded_, true))
        return;
    Q_EMIT closed();
}

void WordEditor::closeEvent(QCloseEvent* event) {
    tellClosed();
    // Not QDialog's, which would reject() and so close again.
    QWidget::closeEvent(event);
}

void WordEditor::showClassToRename() { Q_EMIT classFollowed(oldNameBox_->currentText()); }

void WordEditor::newClassNameChanged() {
    renameButton_->setEnabled(!newNameBox_->text().isEmpty());
}

void WordEditor::renameClass() {
    const editing::RenameResult result =
        book_.renameClass(oldNameBox_->currentText(), newNameBox_->text());
    if (!result.refusal.isEmpty())
        dialogs_.showInformation(this, QStringLiteral("変更をキャンセルします"), result.refusal);
    renameButton_->setEnabled(false);
    // The class boxes were refilled as the session told its classes.
    if (result.shownClass < 0)
        return;
    showClass();
    followClass();
}

void WordEditor::showClasses(const QStringList& names, const QString& shown) {
    fillClassBox(oldNameBox_, names, shown);
    fillClassBox(classBox_, names, shown);
}

void WordEditor::fillClassBox(QComboBox* box, const QStringList& names, const QString& current) {
    box->clear();
    box->addItems(names);
    showInBox(box, current);
}

void WordEditor::showInBox(QComboBox* box, const QString& text) {
    // Adding the first entry of an empty box selects it; the text shown is set last.
    const int index = box->findText(text);
    if (index >= 0)
        box->setCurrentIndex(index);
    box->setEditText(text);
}

bool WordEditor::eventFilter(QObject* watched, QEvent* event) {
    const bool down = event->type() == QEvent::KeyPress;
    if (!down && event->type() != QEvent::KeyRelease)
        return QDialog::eventFilter(watched, event);
    // Enter takes what was typed as the choice, as picking it from the list would.
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (down && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        if (watched == classBox_)
            showClass();
        else if (watched == idBox_)
            showWord();
        else
            showClassToRename();
        return true;
    }
    // A key moving through a class box's list follows the class at once, down and up.
    if (watched == classBox_)
        followClass();
    else if (watched == oldNameBox_)
        showClassToRename();
    return false;
}

} // namespace editor
