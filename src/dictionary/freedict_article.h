#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace dictionary {

// One article of FreeDict's English-Japanese dictionary, as its dictd text lays it out:
//   book //buːk// <n>
//   1. 本, 書籍, ブック
//   collection of sheets of paper bound together ...
//   2. 束, 綴り
//   ...
// (a single sense has no number). A line holding Japanese lists a sense's translations;
// the English line after it says what the sense is.
struct FreedictArticle {
    QString headword;          // as the article writes it ("Apple", "apple")
    QString partOfSpeech;      // "n", "v", "adj", "pn" (a proper noun), …; empty when not given
    QList<QStringList> senses; // the translations of each sense, in order
};

FreedictArticle parseFreedictArticle(QByteArrayView text);

} // namespace dictionary
