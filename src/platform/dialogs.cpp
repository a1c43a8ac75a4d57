#include "dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace platform {

void Dialogs::showCritical(QWidget* parent, const QString& title, const QString& text) {
    message(parent, QMessageBox::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void Dialogs::showInformation(QWidget* parent, const QString& title, const QString& text) {
    message(parent, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool Dialogs::askYesNo(QWidget* parent, const QString& title, const QString& text) {
    return message(parent, QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::No) == QMessageBox::Yes;
}

QMessageBox::StandardButton SystemDialogs::message(QWidget* parent, QMessageBox::Icon icon,
                                                   const QString& title, const QString& text,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

namespace {

std::optional<QString> chosen(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace

std::optional<QString> SystemDialogs::openFileName(QWidget* owner, const QString& filter,
                                                   const QString& initialDir) {
    return chosen(
        QFileDialog::getOpenFileName(owner, QStringLiteral("ｳﾞｪﾙﾌｧｲﾙを開く"), initialDir, filter));
}

std::optional<QString> SystemDialogs::saveFileName(QWidget* owner, const QString& filter,
                                                   const QString& initialDir) {
    return chosen(QFileDialog::getSaveFileName(owner, QString(), initialDir, filter));
}

int SystemDialogs::chooseRow(QWidget* parent, const QString& title, const QString& prompt,
                             const QStringList& headers, const QList<QStringList>& rows) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* label = new QLabel(prompt);
    auto* table = new QTreeWidget;
    table->setRootIsDecorated(false);
    table->setHeaderLabels(headers);
    table->setAccessibleName(prompt);
    for (const QStringList& row : rows)
        table->addTopLevelItem(new QTreeWidgetItem(row));
    table->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    label->setBuddy(table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    // Nothing is chosen until the learner picks a row.
    buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
    QObject::connect(table, &QTreeWidget::currentItemChanged, &dialog, [buttons, table] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(table->currentItem());
    });
    QObject::connect(table, &QTreeWidget::itemActivated, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(table);
    layout->addWidget(buttons);
    dialog.resize(640, 360);
    if (dialog.exec() != QDialog::Accepted || !table->currentItem())
        return -1;
    return table->indexOfTopLevelItem(table->currentItem());
}

} // namespace platform
