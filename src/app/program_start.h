#pragma once

#include "folder/program_folder.h"
#include "platform/dialogs.h"

namespace app {

// Claims the program folder for this program and readies it for the window: leftovers of
// a program that died are removed, and a first start gets the default book. False, after
// telling the learner why through `dialogs`, when the program must not start on it.
bool prepareProgramFolder(folder::FolderClaim& claim, platform::Dialogs& dialogs);

} // namespace app
