#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace folder {

// The program's files, matched in the program folder without regard to case.
struct ProgramFiles {
    QString folder;
    QString wordBook; // Word.dat
    QString display;  // display.txt
    QString result;   // result.txt
    QString history;  // history.tsv
};
ProgramFiles programFiles(const QString& folder);

// The path of `name` in `folder`, matched without regard to case: an existing
// WORD.DAT is the working book and keeps its name. Without a match, folder/name.
QString pathInFolder(const QString& folder, const QString& name);

// The bundled default book, embedded in the program.
inline constexpr const char* kDefaultBookResource = ":/veltyping/Word.dat";

// The program folder, held by one program at a time: a second program on the same
// folder would write into a book that the first one replaces.
class FolderClaim {
public:
    explicit FolderClaim(QString folder);
    ~FolderClaim();

    const QString& folder() const { return folder_; }

    enum class Result { Claimed, InUse, Failed };
    // Makes the folder if need be and locks it; a lock left by a program that died is
    // taken over. `reason` says why for InUse and Failed, and what to do: a path that is
    // no folder, a lock path that is no file, a folder the program cannot write.
    Result claim(QString* reason);

private:
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
};

// The message for a folder whose lock another program holds, with the host and program
// the lock file names.
QString inUseReason(const QString& folder, const QString& lockPath, const QString& host,
                    const QString& application);

// Removes the temporary files that a whole-file write leaves when the program dies
// before its rename: only the program's own temporary names, only regular files.
void removeLeftoverTemporaries(const ProgramFiles& files);

// When the folder holds no word book, copies the bundled default book in as Word.dat.
// False, with a reason, when that is not possible.
bool prepareWordBook(const ProgramFiles& files, QString* error);

} // namespace folder
