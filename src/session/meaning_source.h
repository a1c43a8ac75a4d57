#pragma once

#include "dictionary/meaning_proposer.h"

#include <QObject>

#include <functional>
#include <memory>

class QThread;

namespace session {

// The dictionaries' meaning proposer, loaded once, off the GUI thread, when first wanted:
// loading reads and indexes some 35 MB, which a learner who never asks for a meaning
// should not pay for, and which the window must not wait on.
class MeaningSource : public QObject {
    Q_OBJECT

public:
    using Loader = std::function<std::unique_ptr<dictionary::MeaningProposer>()>;
    // An empty loader stands for the dictionaries installed on the machine.
    explicit MeaningSource(Loader loader = {}, QObject* parent = nullptr);
    // Waits for a load under way: it takes a fraction of a second.
    ~MeaningSource() override;

    // Starts the load in the background unless it has started.
    void startLoading();
    // The proposer once loaded; null before.
    const dictionary::MeaningProposer* loaded() const { return proposer_.get(); }
    // The proposer, loading it first if need be. While it loads, the event loop keeps
    // the windows painted but takes no input, so that no command runs in between.
    const dictionary::MeaningProposer& proposer();

Q_SIGNALS:
    // The proposer has loaded (told once).
    void ready();

private:
    Loader loader_;
    std::unique_ptr<dictionary::MeaningProposer> loading_; // written by the loading thread
    std::unique_ptr<dictionary::MeaningProposer> proposer_;
    QThread* thread_ = nullptr;
};

} // namespace session
