#include "choices_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace platform {

namespace {

constexpr int kChoicesRole = Qt::UserRole;

// Edits a cell in an editable list of the choices kept in the cell.
class ChoiceDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* box = new QComboBox(parent);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(index.data(kChoicesRole).toStringList());
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* box = static_cast<QComboBox*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        box->setCurrentIndex(box->findText(text, Qt::MatchExactly));
        box->setCurrentText(text);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
    }
};

} // namespace

ChoicesDialog::ChoicesDialog(QWidget* parent, const QString& title, const QString& text,
                             const QStringList& headers, const QList<Dialogs::ChoiceRow>& rows,
                             Dialogs::ChoicesProblem problem)
    : QDialog(parent), problem_(std::move(problem)) {
    setWindowTitle(title);
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    table_ = new QTableWidget(int(rows.size()), int(headers.size()));
    table_->setObjectName(QStringLiteral("tblChoices"));
    table_->setHorizontalHeaderLabels(headers);
    table_->setAccessibleName(title);
    table_->verticalHeader()->hide();
    const int last = int(headers.size()) - 1;
    for (int r = 0; r < rows.size(); ++r) {
        const Dialogs::ChoiceRow& row = rows[r];
        for (int c = 0; c < last; ++c) {
            auto* item = new QTableWidgetItem(row.cells.value(c));
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            table_->setItem(r, c, item);
        }
        auto* choice = new QTableWidgetItem(row.chosen);
        choice->setData(kChoicesRole, row.choices);
        choice->setToolTip(row.choices.join(QStringLiteral("、")));
        table_->setItem(r, last, choice);
    }
    table_->setItemDelegateForColumn(last, new ChoiceDelegate(table_));
    // Not on moving to a cell: arrow keys go from row to row and never change a choice.
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                            QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    // The column before the choices takes what room is left, and cuts a long text short.
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (last > 0)
        header->setSectionResizeMode(last - 1, QHeaderView::Stretch);
    header->setSectionResizeMode(last, QHeaderView::Interactive);
    header->resizeSection(last, 240);
    table_->resizeRowsToContents();
    if (table_->rowCount() > 0)
        table_->setCurrentCell(0, last);
    label->setBuddy(table_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No);
    buttons->button(QDialogButtonBox::Yes)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &ChoicesDialog::tryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    resize(760, 640);
}

QStringList ChoicesDialog::chosen() const {
    QStringList column;
    const int last = table_->columnCount() - 1;
    for (int r = 0; r < table_->rowCount(); ++r)
        column << table_->item(r, last)->text();
    return column;
}

void ChoicesDialog::tryAccept() {
    // A cell still open is taken as typed.
    if (QWidget* editor = table_->indexWidget(table_->currentIndex()))
        QMetaObject::invokeMethod(table_, "commitData", Q_ARG(QWidget*, editor));
    if (const QString why = problem_(chosen()); !why.isEmpty()) {
        SystemDialogs().message(this, QMessageBox::Critical, windowTitle(), why, QMessageBox::Ok,
                                QMessageBox::Ok);
        table_->setFocus();
        return;
    }
    accept();
}

} // namespace platform
