#pragma once

#include <QString>
#include <QStringList>

namespace mainwin {

// The program's name and version as the title bar and --version show them.
inline constexpr const char* kProductName = "ヴェルタイピング for English";
inline constexpr const char* kVersion = VELTYPING_VERSION; // the project version in CMake

QString productAndVersion();
// The About box: the program, then the dictionaries meanings are proposed from and their
// licences.
QString aboutText();

// The window title: product, version, " / ", the book's title, then what is shown
// (for instance "向け / マニュアル").
QString windowCaption(const QString& bookTitle, const QString& suffix);

// Texts the window's commands share.
inline const QString kManualSuffix = QStringLiteral("向け / マニュアル");
inline const QString kClassListingSuffix = QStringLiteral("向け / 単語帳");
inline const QString kDataLossQuestion = QStringLiteral("データは失われますが、よろしいですか？");

// The lines as one text, each ended by CR LF as in the program's text files.
QString linesText(const QStringList& lines);

// What a screen reader calls drop i (0 to 4), with the word it shows, if any.
QString dropAccessibleName(int drop, const QString& shown);

} // namespace mainwin
