#include "frm_edit.h"

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

FrmEdit::FrmEdit(session::BookSession& book, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), book_(book), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmEdit"));
    setWindowTitle(QStringLiteral("ｳﾞｪﾙﾌｧｲﾙの編集"));
    buildControls();
    layOutControls();
    connectControls();
    loadClasses();
}

void FrmEdit::buildControls() {
    frmWordEdit = named<QGroupBox>(this, "frmWordEdit");
    frmWordEdit->setTitle(QStringLiteral("単語編集"));
    const QString classTip = QStringLiteral("変更したい単語を含む、単語クラスを選択します。");
    lblClass = label(frmWordEdit, "lblClass", QStringLiteral("単語クラス："), classTip);
    cboClassEdit = editableBox(frmWordEdit, "cboClassEdit", classTip);
    const QString idTip = QStringLiteral("変更したい単語を、ID値にもとづいて選択します。");
    lblID = label(frmWordEdit, "lblID", QStringLiteral("ID："), idTip);
    cboIdEdit = editableBox(frmWordEdit, "cboIdEdit", idTip);
    const QString englishTip =
        QStringLiteral("英単語が表示されます。　変更する場合は、この単語を編集して下さい。");
    lblEnglish = label(frmWordEdit, "lblEnglish", QStringLiteral("英語："), englishTip);
    txtEnglishEdit = textBox(frmWordEdit, "txtEnglishEdit", englishTip);
    const QString japaneseTip = QStringLiteral(
        "英語に対する日本語訳が表示されます。　変更する場合は、この単語を編集して下さい。");
    lblJapanese = label(frmWordEdit, "lblJapanese", QStringLiteral("日本語："), japaneseTip);
    txtJapaneseEdit = textBox(frmWordEdit, "txtJapaneseEdit", japaneseTip);
    cmdWordSearch = button(
        frmWordEdit, "cmdWordSearch", QStringLiteral("検索(&F)"),
        QStringLiteral(
            "英語フィールドもしくは日本語フィールドが空欄の場合、それぞれの訳語を検索します。"));
    cmdWordUpdate = button(frmWordEdit, "cmdWordUpdate", QStringLiteral("更新(&U)"),
                           QStringLiteral("更新内容を有効にします。"));

    frmClassEdit = named<QGroupBox>(this, "frmClassEdit");
    frmClassEdit->setTitle(QStringLiteral("クラス編集"));
    const QString beforeTip = QStringLiteral("変更したいクラス名を選択します。");
    lblBeforeClass = label(frmClassEdit, "lblBeforeClass", QStringLiteral("変更前："), beforeTip);
    cboBeforeClass = editableBox(frmClassEdit, "cboBeforeClass", beforeTip);
    lblAfterClass = label(frmClassEdit, "lblAfterClass", QStringLiteral("変更後："),
                          QStringLiteral("希望のクラス名を入力します。"));
    txtAfterClass =
        textBox(frmClassEdit, "txtAfterClass", QStringLiteral("希望するクラス名を入力します。"));
    cmdClassChange = button(frmClassEdit, "cmdClassChange", QStringLiteral("変更(&H)"),
                            QStringLiteral("変更内容を有効にします。"));

    cmdEditClose = button(this, "cmdEditClose", QStringLiteral("閉じる(&C)"),
                          QStringLiteral("編集ウィンドウを閉じます。"));

    for (QLabel* caption :
         {lblClass, lblID, lblEnglish, lblJapanese, lblBeforeClass, lblAfterClass})
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblClass->setBuddy(cboClassEdit);
    lblID->setBuddy(cboIdEdit);
    lblEnglish->setBuddy(txtEnglishEdit);
    lblJapanese->setBuddy(txtJapaneseEdit);
    lblBeforeClass->setBuddy(cboBeforeClass);
    lblAfterClass->setBuddy(txtAfterClass);
}

void FrmEdit::layOutControls() {
    auto buttonRow = [](std::initializer_list<QPushButton*> buttons) {
        auto* row = new QHBoxLayout;
        row->addStretch();
        for (QPushButton* b : buttons)
            row->addWidget(b);
        return row;
    };

    auto* words = new QGridLayout(frmWordEdit);
    words->addWidget(lblClass, 0, 0);
    words->addWidget(cboClassEdit, 0, 1, 1, 2);
    words->addWidget(lblID, 1, 0);
    words->addWidget(cboIdEdit, 1, 1);
    words->addWidget(lblEnglish, 2, 0);
    words->addWidget(txtEnglishEdit, 2, 1, 1, 2);
    words->addWidget(lblJapanese, 3, 0);
    words->addWidget(txtJapaneseEdit, 3, 1, 1, 2);
    words->addLayout(buttonRow({cmdWordSearch, cmdWordUpdate}), 4, 0, 1, 3);
    words->setColumnStretch(2, 1);
    cboIdEdit->setMinimumContentsLength(4);

    auto* classes = new QGridLayout(frmClassEdit);
    classes->addWidget(lblBeforeClass, 0, 0);
    classes->addWidget(cboBeforeClass, 0, 1);
    classes->addWidget(lblAfterClass, 1, 0);
    classes->addWidget(txtAfterClass, 1, 1);
    classes->addLayout(buttonRow({cmdClassChange}), 2, 0, 1, 2);
    classes->setColumnStretch(1, 1);

    // The same label column in both frames, so that their fields line up.
    int labelWidth = 0;
    for (QLabel* caption :
         {lblClass, lblID, lblEnglish, lblJapanese, lblBeforeClass, lblAfterClass})
        labelWidth = std::max(labelWidth, caption->sizeHint().width());
    words->setColumnMinimumWidth(0, labelWidth);
    classes->setColumnMinimumWidth(0, labelWidth);

    auto* window = new QVBoxLayout(this);
    window->addWidget(frmWordEdit);
    window->addWidget(frmClassEdit);
    window->addLayout(buttonRow({cmdEditClose}));
    setMinimumWidth(440);
}

void FrmEdit::connectControls() {
    // The Japanese field offers the dictionaries' meanings of the English.
    auto* offer = new MeaningOffer(book_.meanings(), *txtJapaneseEdit);
    connect(txtEnglishEdit, &QLineEdit::textChanged, offer, &MeaningOffer::setEnglish);
    connect(cboClassEdit, &QComboBox::activated, this, &FrmEdit::showClass);
    connect(cboIdEdit, &QComboBox::activated, this, &FrmEdit::showWord);
    connect(cboBeforeClass, &QComboBox::activated, this, &FrmEdit::showClassToRename);
    connect(txtEnglishEdit, &QLineEdit::textChanged, this, &FrmEdit::wordFieldsChanged);
    connect(txtJapaneseEdit, &QLineEdit::textChanged, this, &FrmEdit::wordFieldsChanged);
    connect(txtAfterClass, &QLineEdit::textChanged, this, &FrmEdit::newClassNameChanged);
    connect(cmdWordSearch, &QPushButton::clicked, this, &FrmEdit::searchTranslation);
    connect(cmdWordUpdate, &QPushButton::clicked, this, &FrmEdit::updateWord);
    connect(cmdClassChange, &QPushButton::clicked, this, &FrmEdit::renameClass);
    connect(cmdEditClose, &QPushButton::clicked, this, &QWidget::close);
    for (QComboBox* box : {cboClassEdit, cboIdEdit, cboBeforeClass})
        box->installEventFilter(this);
    connect(&book_, &session::BookSession::classesChanged, this, &FrmEdit::showClasses);
}

void FrmEdit::loadClasses() {
    unloaded_ = false;
    cboIdEdit->clear();
    for (int id = 1; id <= book::kWordsPerClass; ++id)
        cboIdEdit->addItem(QString::number(id));
    showInBox(cboIdEdit, QStringLiteral("1"));

    const QStringList names = book_.readClassNames();
    const QString firstClass = names.value(0);
    const book::WordRecord firstWord =
        book_.recordToShow(firstClass, QStringLiteral("1")).value_or(book::WordRecord{});
    txtEnglishEdit->setText(firstWord.english);
    txtJapaneseEdit->setText(firstWord.japanese);
    fillClassBox(cboClassEdit, names, firstClass);
    fillClassBox(cboBeforeClass, names, firstClass);

    setWordButtons(false, false);
    cmdClassChange->setEnabled(false);
}

void FrmEdit::showClass() {
    showWord();
    followClass();
}

void FrmEdit::followClass() { Q_EMIT classFollowed(cboClassEdit->currentText()); }

void FrmEdit::showWord() {
    // An ID that is no number addresses nothing: the fields keep what they show.
    if (const auto record =
            book_.recordToShow(cboClassEdit->currentText(), cboIdEdit->currentText())) {
        txtEnglishEdit->setText(record->english);
        txtJapaneseEdit->setText(record->japanese);
    }
    setWordButtons(false, false);
}

void FrmEdit::wordFieldsChanged() {
    if (txtEnglishEdit->text().isEmpty() || txtJapaneseEdit->text().isEmpty())
        setWordButtons(true, false);
    else
        cmdWordUpdate->setEnabled(true);
}

void FrmEdit::setWordButtons(bool searchEnabled, bool updateEnabled) {
    cmdWordSearch->setEnabled(searchEnabled);
    cmdWordUpdate->setEnabled(updateEnabled);
}

void FrmEdit::searchTranslation() {
    const QString english = txtEnglishEdit->text();
    const QString japanese = txtJapaneseEdit->text();
    if (english.isEmpty() && japanese.isEmpty()) {
        showWord();
        return;
    }
    if (const auto hit = book_.searchTranslation(english, japanese)) {
        if (hit->byEnglish)
            txtJapaneseEdit->setText(hit->japanese);
        else
            txtEnglishEdit->setText(hit->english);
        showInBox(cboIdEdit, QString::number(hit->id));
        showInBox(cboClassEdit, hit->className);
    }
    setWordButtons(false, false);
}

void FrmEdit::updateWord() {
    const QString refusal = book_.updateWord(cboClassEdit->currentText(), cboIdEdit->currentText(),
                                             txtEnglishEdit->text(), txtJapaneseEdit->text());
    if (!refusal.isEmpty())
        dialogs_.showInformation(this, QStringLiteral("更新をキャンセルします"), refusal);
    cmdWordUpdate->setEnabled(false);
    followClass();
}

void FrmEdit::tellClosed() {
    if (std::exchange(unloaded_, true))
        return;
    Q_EMIT closed();
}

void FrmEdit::closeEvent(QCloseEvent* event) {
    tellClosed();
    // Not QDialog's, which would reject() and so close again.
    QWidget::closeEvent(event);
}

void FrmEdit::showClassToRename() { Q_EMIT classFollowed(cboBeforeClass->currentText()); }

void FrmEdit::newClassNameChanged() {
    cmdClassChange->setEnabled(!txtAfterClass->text().isEmpty());
}

void FrmEdit::renameClass() {
    const session::RenameResult result =
        book_.renameClass(cboBeforeClass->currentText(), txtAfterClass->text());
    if (!result.refusal.isEmpty())
        dialogs_.showInformation(this, QStringLiteral("変更をキャンセルします"), result.refusal);
    cmdClassChange->setEnabled(false);
    // The class boxes were refilled as the session told its classes.
    if (result.shownClass < 0)
        return;
    showClass();
    followClass();
}

void FrmEdit::showClasses(const QStringList& names, const QString& shown) {
    fillClassBox(cboBeforeClass, names, shown);
    fillClassBox(cboClassEdit, names, shown);
}

void FrmEdit::fillClassBox(QComboBox* box, const QStringList& names, const QString& current) {
    box->clear();
    box->addItems(names);
    showInBox(box, current);
}

void FrmEdit::showInBox(QComboBox* box, const QString& text) {
    // Adding the first entry of an empty box selects it; the text shown is set last.
    const int index = box->findText(text);
    if (index >= 0)
        box->setCurrentIndex(index);
    box->setEditText(text);
}

bool FrmEdit::eventFilter(QObject* watched, QEvent* event) {
    const bool down = event->type() == QEvent::KeyPress;
    if (!down && event->type() != QEvent::KeyRelease)
        return QDialog::eventFilter(watched, event);
    // Enter takes what was typed as the choice, as picking it from the list would.
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (down && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        if (watched == cboClassEdit)
            showClass();
        else if (watched == cboIdEdit)
            showWord();
        else
            showClassToRename();
        return true;
    }
    // A key moving through a class box's list follows the class at once, down and up.
    if (watched == cboClassEdit)
        followClass();
    else if (watched == cboBeforeClass)
        showClassToRename();
    return false;
}

} // namespace editor
