#pragma once

#include "book/record_file.h"

#include <QString>
#include <QStringList>

namespace editing {

struct RenameResult {
    // Why nothing was renamed, for the learner; empty after a rename.
    QString refusal;
    // The class the lists show afterwards: the renamed one, or the one that already has
    // the requested name; -1 when the lists should keep what they show.
    int shownClass = -1;
    // The class names as the book now holds them, when shownClass is a class.
    QStringList classNames;
    book::WriteStatus status = book::WriteStatus::Ok; // of the rename's write
};

// Renames the first class named `oldName` (as typed) to `newName` with its blanks trimmed.
// Only the header's name and its reading and writing play counts change.
RenameResult renameClass(book::RecordFile& file, const QString& oldName, const QString& newName);

} // namespace editing
