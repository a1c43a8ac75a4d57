#pragma once

#include "book/whole_file.h"

#include <QString>

namespace folder {

// A file the learner must hear about: the box's title ("FILE OPEN ERROR" or
// "FILE WRITE ERROR") and a text that names the file and says why.
struct Failure {
    QString title;
    QString text;
};

// Why a file operation failed, in the learner's words. `path` is the file concerned.
QString failureText(const book::FileFailure& failure, const QString& path);

// The message for a file that is not a usable word book: where to get a new one.
QString obsoleteBookMessage();

inline const QString kHomePageUrl = QStringLiteral("https://veltyping.example.jp/");
inline const QString kFileOpenError = QStringLiteral("FILE OPEN ERROR");
inline const QString kFileWriteError = QStringLiteral("FILE WRITE ERROR");

} // namespace folder
