#include "dialogs.h"

#include "choices_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace platform {

namespace {

// The line cut to `length` characters with an ellipsis, never between the halves of a
// surrogate pair.
QString shortened(const QString& line, qsizetype length) {
    qsizetype keep = length - 1;
    if (line.at(keep).isLowSurrogate())
        --keep;
    return line.first(keep) + u'…';
}

} // namespace

MessageLayout layOutMessage(const QString& text) {
    static const QRegularExpression lineEnd(QStringLiteral("\r?\n"));
    const QStringList lines = text.split(lineEnd);
    const qsizetype kept = std::min<qsizetype>(lines.size(), MessageLayout::kShownLines);
    bool cut = lines.size() > kept;
    QStringList shown;
    for (const QString& line : lines.first(kept)) {
        const bool tooLong = line.size() > MessageLayout::kShownLineLength;
        cut = cut || tooLong;
        shown << (tooLong ? shortened(line, MessageLayout::kShownLineLength) : line);
    }
    if (!cut)
        return {text, {}};
    if (lines.size() > kept)
        shown.last() = QStringLiteral("…");
    return {shown.join(QStringLiteral("\r\n")), text};
}

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
    const MessageLayout layout = layOutMessage(text);
    QMessageBox box(icon, title, layout.text, buttons, parent);
    box.setDetailedText(layout.details);
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
    return chosen(QFileDialog::getOpenFileName(owner, QStringLiteral("ｳﾞｪﾙﾌｧｲﾙを開く"), initialDir,
                                               filter, nullptr,
                                               QFileDialog::HideNameFilterDetails));
}

std::optional<QString> SystemDialogs::saveFileName(QWidget* owner, const QString& filter,
                                                   const QString& start) {
    return chosen(QFileDialog::getSaveFileName(owner, QString(), start, filter));
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

std::optional<QString> SystemDialogs::askYesNoWithText(QWidget* parent, const QString& title,
                                                       const QString& text, const QString& label,
                                                       const QString& initial,
                                                       const TextProblem& problem) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* icon = new QLabel;
    const int iconSize = dialog.style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(dialog.style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(iconSize));
    auto* body = new QLabel(text);
    body->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* line = new QLineEdit(initial);
    auto* lineLabel = new QLabel(label);
    lineLabel->setBuddy(line);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No);
    buttons->button(QDialogButtonBox::Yes)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        if (const QString why = problem(line->text()); !why.isEmpty()) {
            message(&dialog, QMessageBox::Critical, title, why, QMessageBox::Ok, QMessageBox::Ok);
            line->setFocus();
            return;
        }
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* lineRow = new QHBoxLayout;
    lineRow->addWidget(lineLabel);
    lineRow->addWidget(line, 1);
    auto* content = new QVBoxLayout;
    content->addWidget(body);
    content->addLayout(lineRow);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(content, 1);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(top);
    layout->addWidget(buttons);
    line->selectAll();
    line->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return line->text();
}

std::optional<QStringList> SystemDialogs::askChoicesInTable(QWidget* parent, const QString& title,
                                                            const QString& text,
                                                            const QStringList& headers,
                                                            const QList<ChoiceRow>& rows,
                                                            const ChoicesProblem& problem) {
    ChoicesDialog dialog(parent, title, text, headers, rows, problem);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

} // namespace platform
