#pragma once

#include "dialogs.h"

#include <QDialog>

class QTableWidget;

namespace platform {

// The desktop's question over a table whose last column the learner may edit: each cell of
// it opens an editable list of the row's choices. Yes checks the column first
// (Dialogs::askChoicesInTable).
class ChoicesDialog : public QDialog {
    Q_OBJECT

public:
    ChoicesDialog(QWidget* parent, const QString& title, const QString& text,
                  const QStringList& headers, const QList<Dialogs::ChoiceRow>& rows,
                  Dialogs::ChoicesProblem problem);

    // The last column as it stands.
    QStringList chosen() const;

private:
    void tryAccept();

    QTableWidget* table_ = nullptr;
    Dialogs::ChoicesProblem problem_;
};

} // namespace platform
