#pragma once

#include <QByteArrayView>
#include <QList>

#include <vector>

namespace dictionary {

// Places in a file (offsets below 4 GiB) found by the hash of a key: what loading builds
// for each dictionary instead of a table of strings, so that it makes no string at all.
// A lookup gets every place whose key has the same hash, and checks the key there.
class HashedIndex {
public:
    static quint32 hash(QByteArrayView key);

    // Places come in increasing order.
    void add(quint32 keyHash, quint32 place) { entries_.push_back(quint64(keyHash) << 32 | place); }
    // Ready for lookups: sorted, each place once per hash.
    void finish();
    // The places added with the hash, in the order they were added.
    QList<quint32> places(quint32 keyHash) const;

    void reserve(size_t entries) { entries_.reserve(entries); }

private:
    std::vector<quint64> entries_; // (hash << 32) | place
};

} // namespace dictionary
