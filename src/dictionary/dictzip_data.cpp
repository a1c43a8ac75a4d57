#include "dictzip_data.h"

#include <QMutexLocker>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>

namespace dictionary {

namespace {

constexpr int kFlagHeaderCrc = 0x02;
constexpr int kFlagExtra = 0x04;
constexpr int kFlagName = 0x08;
constexpr int kFlagComment = 0x10;

// A gzip file without a chunk list is inflated whole, up to this much text.
constexpr qsizetype kMaxWholeText = 64 << 20;

quint16 le16(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

// Raw deflate data inflated into at most `limit` bytes; whatever came out before an
// error or the end of the input is kept.
QByteArray inflateRaw(QByteArrayView input, qsizetype limit) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return {};
    QByteArray out;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    stream.avail_in = uInt(input.size());
    int status = Z_OK;
    while (status == Z_OK && out.size() < limit) {
        const qsizetype before = out.size();
        const qsizetype step = std::min<qsizetype>(limit - before, 1 << 20);
        out.resize(before + step);
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + before);
        stream.avail_out = uInt(step);
        status = inflate(&stream, Z_SYNC_FLUSH);
        const bool roomLeft = stream.avail_out > 0;
        out.resize(before + step - qsizetype(stream.avail_out));
        // No progress, or the input used up with room to spare: nothing more will come.
        if (out.size() == before || (stream.avail_in == 0 && roomLeft))
            break;
    }
    inflateEnd(&stream);
    return out;
}

// The offset just past the zero-terminated field at `at`, or -1 when it never ends.
qsizetype skipZeroTerminated(const QByteArray& bytes, qsizetype at) {
    const qsizetype end = bytes.indexOf('\0', at);
    return end < 0 ? -1 : end + 1;
}

} // namespace

DictzipData::DictzipData(QByteArray file) : file_(std::move(file)) {
    const bool gzip =
        file_.size() >= 10 && uchar(file_[0]) == 0x1f && uchar(file_[1]) == 0x8b && file_[2] == 8;
    if (!gzip) {
        text_ = file_;
        return;
    }
    const int flags = uchar(file_[3]);
    qsizetype at = 10;
    qsizetype extraStart = -1;
    qsizetype extraEnd = -1;
    if (flags & kFlagExtra) {
        if (at + 2 > file_.size())
            return;
        extraStart = at + 2;
        extraEnd = extraStart + le16(file_, at);
        if (extraEnd > file_.size())
            return;
        at = extraEnd;
    }
    for (int field : {kFlagName, kFlagComment}) {
        if ((flags & field) && at >= 0)
            at = skipZeroTerminated(file_, at);
    }
    if (at < 0)
        return;
    if (flags & kFlagHeaderCrc)
        at += 2;
    if (at > file_.size())
        return;
    chunkStarts_ = {at};
    if (extraStart < 0 || !readChunkList(extraStart, extraEnd)) {
        chunkStarts_.clear();
        text_ = inflateRaw(QByteArrayView(file_).sliced(at), kMaxWholeText);
    }
}

bool DictzipData::readChunkList(qsizetype extraStart, qsizetype extraEnd) {
    qsizetype at = extraStart;
    while (at + 4 <= extraEnd) {
        const qsizetype length = le16(file_, at + 2);
        const qsizetype data = at + 4;
        if (data + length > extraEnd)
            return false;
        if (file_[at] == 'R' && file_[at + 1] == 'A' && length >= 6) {
            chunkLength_ = le16(file_, data + 2);
            const qsizetype count = le16(file_, data + 4);
            if (chunkLength_ == 0 || 6 + 2 * count > length)
                return false;
            for (qsizetype i = 0; i < count; ++i)
                chunkStarts_.append(chunkStarts_.last() + le16(file_, data + 6 + 2 * i));
            return count > 0;
        }
        at = data + length;
    }
    return false;
}

QByteArray DictzipData::inflateChunk(qsizetype chunk) const {
    const qsizetype begin = chunkStarts_[chunk];
    const qsizetype end = std::min(chunkStarts_[chunk + 1], file_.size());
    if (begin >= end)
        return {};
    return inflateRaw(QByteArrayView(file_).sliced(begin, end - begin), chunkLength_);
}

const QByteArray& DictzipData::chunkText(qsizetype chunk) const {
    if (cache_.size() != chunkStarts_.size() - 1 || cachedBytes_ > kMaxCachedBytes) {
        cache_ = QList<QByteArray>(chunkStarts_.size() - 1);
        cachedBytes_ = 0;
    }
    QByteArray& text = cache_[chunk];
    if (text.isNull()) {
        text = inflateChunk(chunk);
        // An empty chunk stays non-null: it is not inflated again.
        if (text.isNull())
            text = QByteArray("");
        cachedBytes_ += text.size();
    }
    return text;
}

QByteArray DictzipData::read(qint64 offset, qint64 length) const {
    length = std::min(length, kMaxRead);
    if (offset < 0 || length <= 0)
        return {};
    if (chunkStarts_.isEmpty())
        return offset < text_.size() ? text_.mid(offset, length) : QByteArray();

    const qsizetype chunkCount = chunkStarts_.size() - 1;
    QByteArray out;
    qint64 at = offset;
    QMutexLocker lock(&cacheMutex_);
    while (out.size() < length) {
        const qint64 chunk = at / chunkLength_;
        if (chunk >= chunkCount)
            break;
        const QByteArray& text = chunkText(chunk);
        const qint64 within = at - chunk * chunkLength_;
        if (within >= text.size())
            break;
        const qint64 take = std::min<qint64>(text.size() - within, length - out.size());
        out.append(text.constData() + within, take);
        at += take;
        // A chunk that came out short (damaged, truncated) leaves a gap: stop there.
        if (text.size() < chunkLength_)
            break;
    }
    return out;
}

} // namespace dictionary
