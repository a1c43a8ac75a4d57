#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>

namespace dictionary {

// The text of a dictd data file, read at any offset: a dictzip file (gzip whose header
// lists the compressed size of each fixed-size chunk, so that a read inflates only the
// chunks it needs), a gzip file without that list (inflated once, whole) or plain text.
// Damaged or missing chunks read as nothing; a read never runs past what the file holds.
class DictzipData {
public:
    explicit DictzipData(QByteArray file);

    // Up to length bytes of the text from offset; shorter (or empty) where the file is
    // truncated, damaged or ends earlier.
    QByteArray read(qint64 offset, qint64 length) const;

    // Larger reads are cut: no article is anywhere near this long.
    static constexpr qint64 kMaxRead = 1 << 20;

private:
    QByteArray inflateChunk(qsizetype chunk) const;
    const QByteArray& chunkText(qsizetype chunk) const;
    bool readChunkList(qsizetype extraStart, qsizetype extraEnd);

    QByteArray file_;
    // Chunked: where each chunk's deflate data starts in file_, and one more for the end.
    QList<qsizetype> chunkStarts_;
    qint64 chunkLength_ = 0;
    // Not chunked: the whole text.
    QByteArray text_;

    // The chunks inflated so far (a null array for one not yet inflated), kept for the next
    // read up to kMaxCachedBytes, then let go all at once.
    static constexpr qsizetype kMaxCachedBytes = 32 << 20;
    mutable QMutex cacheMutex_;
    mutable QList<QByteArray> cache_;
    mutable qsizetype cachedBytes_ = 0;
};

} // namespace dictionary
