#pragma once

#include "dictzip_data.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace dictionary {

// A dictionary in dictd's format: an index of lines "headword TAB offset TAB length"
// (offset and length in dictd's base-64 digits) and the articles' text in a dictzip file.
// Lines that do not read as that are skipped; an article outside the text reads as
// what of it there is.
class DictdDictionary {
public:
    DictdDictionary(QByteArrayView index, QByteArray data);

    // The articles of a headword, its case ignored, in the order of the index.
    QList<QByteArray> articles(const QString& headword) const;

    qsizetype headwordCount() const { return index_.size(); }

private:
    struct Place {
        qint64 offset;
        qint64 length;
    };
    QHash<QByteArray, QList<Place>> index_;
    DictzipData data_;
};

} // namespace dictionary
