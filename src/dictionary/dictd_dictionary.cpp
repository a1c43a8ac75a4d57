#include "dictd_dictionary.h"

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

QByteArray headwordKey(QByteArrayView headword) {
    return QString::fromUtf8(headword).toLower().toUtf8();
}

} // namespace

DictdDictionary::DictdDictionary(QByteArrayView index, QByteArray data) : data_(std::move(data)) {
    qsizetype at = 0;
    while (at < index.size()) {
        qsizetype end = index.indexOf('\n', at);
        if (end < 0)
            end = index.size();
        const QByteArrayView line = index.sliced(at, end - at);
        at = end + 1;
        const qsizetype tab1 = line.indexOf('\t');
        const qsizetype tab2 = tab1 < 0 ? -1 : line.indexOf('\t', tab1 + 1);
        if (tab1 <= 0 || tab2 < 0 || tab1 > kMaxHeadwordBytes)
            continue;
        QByteArrayView lengthDigits = line.sliced(tab2 + 1);
        if (lengthDigits.endsWith('\r'))
            lengthDigits.chop(1);
        const qint64 offset = decodeNumber(line.sliced(tab1 + 1, tab2 - tab1 - 1));
        const qint64 length = decodeNumber(lengthDigits);
        if (offset < 0 || length <= 0)
            continue;
        index_[headwordKey(line.first(tab1))].append({offset, length});
    }
}

QList<QByteArray> DictdDictionary::articles(const QString& headword) const {
    QList<QByteArray> found;
    const auto places = index_.constFind(headword.toLower().toUtf8());
    if (places == index_.cend())
        return found;
    for (const Place& place : *places) {
        QByteArray text = data_.read(place.offset, place.length);
        if (!text.isEmpty())
            found.append(std::move(text));
    }
    return found;
}

} // namespace dictionary
