#include "program_start.h"

#include "folder/failure_text.h"

namespace app {

bool prepareProgramFolder(folder::FolderClaim& claim, platform::Dialogs& dialogs) {
    QString error;
    // No lock, no writing: a second program could write the same book unseen.
    if (claim.claim(&error) != folder::FolderClaim::Result::Claimed) {
        dialogs.showCritical(nullptr, folder::kFileOpenError, error);
        return false;
    }
    const folder::ProgramFiles files = folder::programFiles(claim.folder());
    folder::removeLeftoverTemporaries(files);
    if (!folder::prepareWordBook(files, &error))
        dialogs.showCritical(nullptr, folder::kFileOpenError, error);
    return true;
}

} // namespace app
