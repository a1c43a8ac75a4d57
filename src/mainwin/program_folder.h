#pragma once

#include <QString>

namespace mainwin {

// The program's files, matched in the program folder without regard to case.
struct ProgramFiles {
    QString folder;
    QString wordBook; // Word.dat
    QString display;  // display.txt
    QString result;   // result.txt
};
ProgramFiles programFiles(const QString& folder);

// The bundled default book, embedded in the program.
inline constexpr const char* kDefaultBookResource = ":/veltyping/Word.dat";

// Makes the folder if need be and, when it holds no word book, copies the bundled
// default book in as Word.dat. False, with a reason, when neither is possible.
bool prepareProgramFolder(const QString& folder, QString* error);

} // namespace mainwin
