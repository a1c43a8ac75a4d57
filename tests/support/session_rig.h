#pragma once

#include "session/book_session.h"
#include "test_doubles.h"

#include <QTemporaryDir>

#include <memory>

namespace testsupport {

// What every session test stands on: a program folder of its own for each test function,
// a scripted world (random numbers, clock, speech) and the failures the session told of.
// A test class derives from it beside QObject, calls initRig() in init() and opens
// sessions with openSession().
class SessionRig {
protected:
    std::unique_ptr<QTemporaryDir> dir;
    ScriptedRandom random;
    FakeClock clock;
    RecordingSpeaker speaker;
    const folder::Calendar* calendar = nullptr; // null: the local date and time
    QList<folder::Failure> failures;
    // The dictionaries the session proposes meanings from: none, unless a test gives some.
    session::MeaningSource::Loader dictionaries;

    // A fresh program folder, and scripts with nothing queued.
    void initRig();
    QString bookPath() const { return dir->filePath(QStringLiteral("Word.dat")); }
    // A session on the folder with its book loaded; what it fails at goes into `failures`.
    std::unique_ptr<session::BookSession> openSession();
    // The word list at `path` as the rig's sessions read it: with the rig's dictionaries.
    session::ListToOpen readList(const QString& path) const;
};

} // namespace testsupport
