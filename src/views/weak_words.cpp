#include "weak_words.h"

#include "book/book.h"
#include "book/learning.h"

#include <algorithm>
#include <tuple>

namespace views {

namespace {

// Misses of a weak word: an unlearned word counts its misses, a forgotten one -n was
// missed n times since it was memorised.
int misses(qint16 state) { return state < 0 ? -int(state) : int(state); }

// Forgotten before unlearned, most misses first, then book order.
bool comesFirst(const WeakWord& a, const WeakWord& b) {
    return std::tuple(!book::isForgotten(a.state), -misses(a.state), a.record) <
           std::tuple(!book::isForgotten(b.state), -misses(b.state), b.record);
}

} // namespace

QList<int> WeakWords::records() const {
    QList<int> numbers;
    numbers.reserve(words.size());
    for (const WeakWord& word : words)
        numbers << word.record;
    return numbers;
}

WeakWords findWeakWords(const book::RecordFile& file, int eofRecord, book::Mode mode) {
    QList<WeakWord> all;
    if (eofRecord > 0) {
        for (int k = 0; k < book::classCount(eofRecord); ++k) {
            const int first = book::firstWordRecord(k);
            for (int r = first; r < first + book::kWordsPerClass; ++r) {
                const qint16 state = file.readCounters(r)[mode];
                if (state > 0 || book::isForgotten(state))
                    all.append({r, k, state});
            }
        }
    }
    WeakWords weak;
    weak.total = int(all.size());
    weak.forgotten = int(std::count_if(all.begin(), all.end(), [](const WeakWord& word) {
        return book::isForgotten(word.state);
    }));
    const auto cut = all.begin() + std::min<qsizetype>(all.size(), kMostReviewWords);
    std::partial_sort(all.begin(), cut, all.end(), comesFirst);
    weak.words = QList<WeakWord>(all.begin(), cut);
    return weak;
}

} // namespace views
