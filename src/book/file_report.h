#pragma once

#include "whole_file.h"

#include <QFile>
#include <QString>

namespace book {

// Why a file could not be read or written, in the words velbook and the book check
// print: "it is a folder", "the disk is full". `maxBytes` is the limit a TooLarge
// file went past.
QString fileFailureText(const FileFailure& failure, const QString& path, qint64 maxBytes = 0);

// Opens `file` read-only after making sure that it is a regular file: opening a FIFO
// would wait for a writer that never comes. Returns why it could not, empty when open.
QString openRegularFile(QFile& file);

} // namespace book
