#include "session_rig.h"

#include "session/list_meanings.h"

#include <QStandardPaths>

namespace testsupport {

void SessionRig::initRig() {
    QStandardPaths::setTestModeEnabled(true);
    dir = std::make_unique<QTemporaryDir>();
    random = ScriptedRandom{};
    clock = FakeClock{};
    speaker.spoken.clear();
    speaker.prepared.clear();
    calendar = nullptr;
    failures.clear();
    dictionaries = [] {
        return std::make_unique<dictionary::MeaningProposer>(QByteArray(), QByteArray(),
                                                             QByteArray());
    };
}

std::unique_ptr<session::BookSession> SessionRig::openSession() {
    auto session = std::make_unique<session::BookSession>(
        dir->path(), session::BookSession::Ports{random, clock, speaker, calendar, dictionaries});
    QObject::connect(session.get(), &session::BookSession::failed,
                     [this](const folder::Failure& failure) { failures << failure; });
    session->load();
    return session;
}

session::ListToOpen SessionRig::readList(const QString& path) const {
    std::unique_ptr<dictionary::MeaningProposer> proposer;
    session::ListToOpen list = session::readListToOpen(path);
    session::proposeMissingMeanings(list, [&]() -> const dictionary::MeaningProposer& {
        proposer = dictionaries();
        return *proposer;
    });
    return list;
}

} // namespace testsupport
