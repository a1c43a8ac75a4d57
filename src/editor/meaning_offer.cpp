#include "meaning_offer.h"

#include "session/meaning_source.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>

namespace editor {

namespace {

constexpr int kOffered = 8;
// The hint names this many: the field is narrow.
constexpr int kHinted = 3;

} // namespace

MeaningOffer::MeaningOffer(session::MeaningSource& source, QLineEdit& field)
    : QObject(&field), source_(source), field_(field) {
    model_ = new QStringListModel(this);
    completer_ = new QCompleter(model_, this);
    completer_->setCaseSensitivity(Qt::CaseSensitive);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    completer_->popup()->setObjectName(QStringLiteral("lstMeaningOffer"));
    field_.setCompleter(completer_);
    field_.installEventFilter(this);
    connect(&source_, &session::MeaningSource::ready, this, &MeaningOffer::refresh);
}

void MeaningOffer::setEnglish(const QString& english) {
    if (english == english_)
        return;
    english_ = english;
    if (!english_.isEmpty())
        source_.startLoading();
    refresh();
}

QStringList MeaningOffer::offered() const { return model_->stringList(); }

void MeaningOffer::refresh() {
    const dictionary::MeaningProposer* proposer = source_.loaded();
    const QStringList meanings =
        proposer && !english_.isEmpty() ? proposer->meaningsFor(english_, kOffered) : QStringList();
    model_->setStringList(meanings);
    field_.setPlaceholderText(meanings.isEmpty()
                                  ? QString()
                                  : QStringLiteral("辞書の候補（↓）：") +
                                        meanings.mid(0, kHinted).join(QStringLiteral("、")));
}

bool MeaningOffer::eventFilter(QObject* watched, QEvent* event) {
    const bool down =
        event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down;
    const bool click = event->type() == QEvent::MouseButtonPress;
    if (watched == &field_ && (down || click) && field_.text().isEmpty() &&
        model_->rowCount() > 0) {
        completer_->setCompletionPrefix(QString());
        completer_->complete();
        return down;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace editor
