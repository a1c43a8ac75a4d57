#include "dictd_dictionary.h"

#include <algorithm>

namespace dictionary {

namespace {

// No English headword is longer; longer ones are never looked up.
constexpr qsizetype kMaxHeadwordBytes = 256;
// Ten base-64 digits reach 2^60: more would overflow.
constexpr qsizetype kMaxDigits = 10;

int digitValue(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

// A number in dictd's base-64 digits, or -1.
qint64 decodeNumber(QByteArrayView digits) {
    if (digits.isEmpty() || digits.size() > kMaxDigits)
        return -1;
    qint64 value = 0;
    for (char c : digits) {
        const int digit = digitValue(c);
        if (digit < 0)
            return -1;
        value = value * 64 + digit;
    }
    return value;
}

// The headword as looked up: in lower case. Most are ASCII, and loading makes tens of
// thousands of them.
QByteArray headwordKey(QByteArrayView headword) {
    if (std::all_of(headword.begin(), headword.end(), [](char c) { return uchar(c) < 0x80; }))
        return headword.toByteArray().toLower();
    return QString::fromUtf8(headword).toLower().toUtf8();
}

// One line of the index, read.
struct IndexLine {
    QByteArrayView headword;
    qint64 offset = -1;
    qint64 length = -1;
};

// The line's three fields; a headword that is empty or too long, or digits that are none,
// make the line no entry (its offset -1).
IndexLine readLine(QByteArrayView line) {
    const qsizetype tab1 = line.indexOf('\t');
    const qsizetype tab2 = tab1 < 0 ? -1 : line.indexOf('\t', tab1 + 1);
    if (tab1 <= 0 || tab2 < 0 || tab1 > kMaxHeadwordBytes)
        return {};
    QByteArrayView lengthDigits = line.sliced(tab2 + 1);
    if (lengthDigits.endsWith('\r'))
        lengthDigits.chop(1);
    IndexLine read{line.first(tab1), decodeNumber(line.sliced(tab1 + 1, tab2 - tab1 - 1)),
                   decodeNumber(lengthDigits)};
    if (read.offset < 0 || read.length <= 0)
        read.offset = -1;
    return read;
}

qsizetype lineEnd(QByteArrayView text, qsizetype start) {
    const qsizetype end = text.indexOf('\n', start);
    return end < 0 ? text.size() : end;
}

} // namespace

DictdDictionary::DictdDictionary(QByteArray index, QByteArray data)
    : index_(std::move(index)), data_(std::move(data)) {
    if (index_.size() > kMaxIndexBytes)
        index_.truncate(kMaxIndexBytes);
    const QByteArrayView all(index_);
    qsizetype at = 0;
    while (at < all.size()) {
        const qsizetype end = lineEnd(all, at);
        const IndexLine line = readLine(all.sliced(at, end - at));
        if (line.offset >= 0)
            lines_.add(HashedIndex::hash(headwordKey(line.headword)), quint32(at));
        at = end + 1;
    }
    lines_.finish();
}

QList<QByteArray> DictdDictionary::articles(const QString& headword) const {
    QList<QByteArray> found;
    const QByteArray key = headwordKey(headword.toUtf8());
    const QByteArrayView all(index_);
    for (quint32 at : lines_.places(HashedIndex::hash(key))) {
        const IndexLine line = readLine(all.sliced(at, lineEnd(all, at) - at));
        if (headwordKey(line.headword) != key)
            continue;
        QByteArray text = data_.read(line.offset, line.length);
        if (!text.isEmpty())
            found.append(std::move(text));
    }
    return found;
}

} // namespace dictionary
