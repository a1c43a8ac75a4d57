#pragma once

#include "ports.h"

#include "book/record_file.h"
#include "book/record_map.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace drill {

// One word of the drilled class as the drill keeps it in memory.
struct WordStockEntry {
    QString english;
    QString japanese;
    std::array<qint16, book::kModeCount> modeCount{}; // as loaded; not kept up to date
    int recordNo = 0;
    bool inUse = false; // held by a drop that can still answer it
};

// The words of the drilled class that have not left the drill yet: entries 0 to
// count() - 1 are live. A word leaves by having the last live entry moved into its place.
class WordStock {
public:
    static constexpr int kLoadedWords = book::kWordsPerClass;
    // A drill of n words ends when a word leaving the stock leaves max(5, n - 40): a
    // class's 50 words end at ten, and the five drops always keep a word each.
    static constexpr int kMostDepartures = 40;
    static constexpr int kFewestLeftAtEnd = 5;
    // Random draws before a draw settles for the first free entry, so that it always ends.
    static constexpr int kRandomDrawLimit = 64;

    // Loads the words of the records (at most kLoadedWords of them), none in use.
    void load(const book::RecordFile& file, const QList<int>& records);
    void clear() { count_ = 0; }

    int count() const { return count_; }
    // The English texts of the live entries, in stock order.
    QStringList englishWords() const;
    // The live words at which the drill of the loaded words ends.
    int leftAtEnd() const { return leftAtEnd_; }
    WordStockEntry& operator[](int index) { return entries_[index]; }
    const WordStockEntry& operator[](int index) const { return entries_[index]; }

    // The live entry of a word, or -1 once it has left the drill.
    int indexOfRecord(int recordNo) const;

    // Takes the live entry at `index` out: the last live entry moves into its place.
    // Returns the index the moved entry came from.
    int removeAt(int index);

    // A random entry below count() - 1 that is not in use. After kRandomDrawLimit busy
    // draws, the first free entry below count() - 1 (then below count()) is taken.
    int drawFree(RandomSource& random) const;

private:
    std::array<WordStockEntry, kLoadedWords + 1> entries_{};
    int count_ = 0;
    int leftAtEnd_ = kFewestLeftAtEnd;
};

// The record numbers of the words of the class whose first word record is `firstRecord`.
QList<int> classWordRecords(int firstRecord);

} // namespace drill
