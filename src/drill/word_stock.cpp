#include "word_stock.h"

#include <algorithm>

namespace drill {

void WordStock::load(const book::RecordFile& file, const QList<int>& records) {
    count_ = std::min(int(records.size()), kLoadedWords);
    for (int i = 0; i < count_; ++i) {
        const book::WordRecord record = file.read(records[i]).trimmed();
        entries_[i] = {record.english, record.japanese, record.modeCount, records[i], false};
    }
    leftAtEnd_ = std::max(kFewestLeftAtEnd, count_ - kMostDepartures);
}

QStringList WordStock::englishWords() const {
    QStringList words;
    for (int i = 0; i < count_; ++i)
        words << entries_[i].english;
    return words;
}

QList<int> classWordRecords(int firstRecord) {
    QList<int> records;
    for (int i = 0; i < book::kWordsPerClass; ++i)
        records << firstRecord + i;
    return records;
}

int WordStock::indexOfRecord(int recordNo) const {
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].recordNo == recordNo)
            return i;
    }
    return -1;
}

int WordStock::removeAt(int index) {
    const int last = count_ - 1;
    entries_[index] = entries_[last];
    count_ = last;
    return last;
}

int WordStock::drawFree(RandomSource& random) const {
    // The last live entry is never drawn at random, as the drill always did.
    const int drawable = count_ - 1;
    for (int attempt = 0; attempt < kRandomDrawLimit && drawable > 0; ++attempt) {
        const int index = int(random.next() * drawable);
        if (!entries_[index].inUse)
            return index;
    }
    for (int index = 0; index < count_; ++index) {
        if (!entries_[index].inUse)
            return index;
    }
    // Only reachable with more holding drops than live words, which the drill never has.
    return 0;
}

} // namespace drill
