#pragma once

#include "book/record_file.h"

#include <QStringList>

namespace views {

struct SearchView {
    QStringList lines;
    int hits = 0;
};

// Every word and class header whose English, or else Japanese, equals the text exactly,
// each with the name of its class.
SearchView buildSearchView(const book::RecordFile& file, int eofRecord, const QString& text);

} // namespace views
