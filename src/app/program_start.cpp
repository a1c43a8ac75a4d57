#include "program_start.h"

#include "session/failure_text.h"

namespace app {

bool prepareProgramFolder(session::FolderClaim& claim, platform::Dialogs& dialogs) {
    QString error;
    // No lock, no writing: a second program could write the same book unseen.
    if (claim.claim(&error) != session::FolderClaim::Result::Claimed) {
        dialogs.showCritical(nullptr, session::kFileOpenError, error);
        return false;
    }
    const session::ProgramFiles files = session::programFiles(claim.folder());
    session::removeLeftoverTemporaries(files);
    if (!session::prepareWordBook(files, &error))
        dialogs.showCritical(nullptr, session::kFileOpenError, error);
    return true;
}

} // namespace app
