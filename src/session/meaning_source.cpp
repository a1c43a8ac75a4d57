#include "meaning_source.h"

#include <QEventLoop>
#include <QThread>

namespace session {

MeaningSource::MeaningSource(Loader loader, QObject* parent)
    : QObject(parent), loader_(loader ? std::move(loader) : [] {
          return std::make_unique<dictionary::MeaningProposer>();
      }) {}

MeaningSource::~MeaningSource() {
    if (thread_)
        thread_->wait();
}

void MeaningSource::startLoading() {
    if (thread_ || proposer_)
        return;
    thread_ = QThread::create([this] {
        loading_ = loader_();
        if (!loading_)
            loading_ = std::make_unique<dictionary::MeaningProposer>(QByteArray(), QByteArray(),
                                                                     QByteArray());
    });
    thread_->setParent(this);
    // Queued to this object's thread: the proposer is handed over only there.
    connect(thread_, &QThread::finished, this, [this] {
        if (proposer_)
            return;
        proposer_ = std::move(loading_);
        Q_EMIT ready();
    });
    thread_->start(QThread::LowPriority);
}

const dictionary::MeaningProposer& MeaningSource::proposer() {
    if (!proposer_) {
        startLoading();
        QEventLoop loop;
        connect(this, &MeaningSource::ready, &loop, &QEventLoop::quit);
        if (!thread_->isFinished())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        thread_->wait();
        if (!proposer_) {
            proposer_ = std::move(loading_);
            Q_EMIT ready();
        }
    }
    return *proposer_;
}

} // namespace session
