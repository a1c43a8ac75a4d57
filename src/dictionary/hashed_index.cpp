#include "hashed_index.h"

#include <algorithm>

namespace dictionary {

// FNV-1a: keys are short, and loading hashes a million of them.
quint32 HashedIndex::hash(QByteArrayView key) {
    quint32 hash = 2166136261u;
    for (char c : key)
        hash = (hash ^ uchar(c)) * 16777619u;
    return hash;
}

// Places are added in file order, so entries sorted whole or sorted stably by hash come
// out the same. Over a million entries, two stable passes of 16 bits over the hash take a
// quarter of std::sort's time; a small index is not worth their tables.
void HashedIndex::finish() {
    if (entries_.size() < (size_t(1) << 16)) {
        std::sort(entries_.begin(), entries_.end());
        entries_.erase(std::unique(entries_.begin(), entries_.end()), entries_.end());
        return;
    }
    std::vector<quint64> sorted(entries_.size());
    for (int shift : {32, 48}) {
        std::vector<size_t> start(65537, 0);
        for (quint64 entry : entries_)
            ++start[((entry >> shift) & 0xffff) + 1];
        for (size_t i = 1; i < start.size(); ++i)
            start[i] += start[i - 1];
        for (quint64 entry : entries_)
            sorted[start[(entry >> shift) & 0xffff]++] = entry;
        entries_.swap(sorted);
    }
    entries_.erase(std::unique(entries_.begin(), entries_.end()), entries_.end());
}

QList<quint32> HashedIndex::places(quint32 keyHash) const {
    QList<quint32> found;
    const quint64 first = quint64(keyHash) << 32;
    for (auto it = std::lower_bound(entries_.begin(), entries_.end(), first);
         it != entries_.end() && (*it >> 32) == keyHash; ++it)
        found.append(quint32(*it));
    return found;
}

} // namespace dictionary
