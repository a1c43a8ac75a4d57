#pragma once

#include <QObject>
#include <QStringList>

class QCompleter;
class QLineEdit;
class QStringListModel;

namespace session {
class MeaningSource;
}

namespace editor {

// Offers the dictionaries' meanings of the word's English on its Japanese field: the
// field's hint names the first of them, and Down (or a click on the empty field) drops
// down the list to pick from. Picking only fills the field; nothing is written until the
// learner updates the word. The dictionaries load in the background when first wanted.
class MeaningOffer : public QObject {
    Q_OBJECT

public:
    MeaningOffer(session::MeaningSource& source, QLineEdit& field);

    // The English whose meanings are offered.
    void setEnglish(const QString& english);
    // The meanings offered now, best first.
    QStringList offered() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();

    session::MeaningSource& source_;
    QLineEdit& field_;
    QStringListModel* model_ = nullptr;
    QCompleter* completer_ = nullptr;
    QString english_;
};

} // namespace editor
