#pragma once

#include "dictzip_data.h"
#include "hashed_index.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace dictionary {

// A dictionary in dictd's format: an index of lines "headword TAB offset TAB length"
// (offset and length in dictd's base-64 digits) and the articles' text in a dictzip file.
// Lines that do not read as that are skipped; an article outside the text reads as
// what of it there is.
class DictdDictionary {
public:
    DictdDictionary(QByteArray index, QByteArray data);

    // The articles of a headword, its case ignored, in the order of the index.
    QList<QByteArray> articles(const QString& headword) const;

    // Index files beyond this are read only this far (the real one is 0.6 MB).
    static constexpr qsizetype kMaxIndexBytes = qsizetype(64) << 20;

private:
    QByteArray index_;
    HashedIndex lines_; // the start of each line by its lower-case headword
    DictzipData data_;
};

} // namespace dictionary
