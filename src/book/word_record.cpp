#include "word_record.h"

#include "cp932.h"

#include <QtEndian>

namespace book {

WordRecord WordRecord::trimmed() const {
    WordRecord copy = *this;
    copy.english = trimBlanks(english);
    copy.japanese = trimBlanks(japanese);
    return copy;
}

EncodedSlot encodeSlot(const WordRecord& record) {
    const auto english = encodeCp932(record.english);
    const auto japanese = encodeCp932(record.japanese);
    if (!english || !japanese)
        return {{}, SlotError::NotEncodable};
    if (english->size() + japanese->size() > kMaxTextBytes)
        return {{}, SlotError::TooLong};

    QByteArray slot(kSlotSize, '\0');
    char* out = slot.data();
    qToLittleEndian<qint32>(record.id, out);
    out += 4;
    for (const QByteArray* text : {&*english, &*japanese}) {
        qToLittleEndian<quint16>(static_cast<quint16>(text->size()), out);
        out += 2;
        std::copy(text->cbegin(), text->cend(), out);
        out += text->size();
    }
    for (qint16 count : record.modeCount) {
        qToLittleEndian<qint16>(count, out);
        out += 2;
    }
    return {slot, SlotError::None};
}

namespace {

// Reads fields front to back; once the slot runs out every further field is empty.
class SlotReader {
public:
    explicit SlotReader(QByteArrayView slot) : slot_(slot) {}

    template <typename T> T integer() {
        if (pos_ + qsizetype(sizeof(T)) > slot_.size()) {
            pos_ = slot_.size();
            return 0;
        }
        const T value = qFromLittleEndian<T>(slot_.data() + pos_);
        pos_ += sizeof(T);
        return value;
    }

    QString text() { return decodeCp932(textBytes()); }

    QByteArrayView textBytes() {
        const qsizetype length = integer<quint16>();
        const qsizetype available = std::min(length, slot_.size() - pos_);
        const QByteArrayView bytes = slot_.sliced(pos_, available);
        pos_ += available;
        if (available < length)
            pos_ = slot_.size(); // the length ran past the slot: nothing after it is real
        return bytes;
    }

private:
    QByteArrayView slot_;
    qsizetype pos_ = 0;
};

} // namespace

WordRecord decodeSlot(QByteArrayView slot) {
    SlotReader reader(slot.first(std::min<qsizetype>(slot.size(), kSlotSize)));
    WordRecord record;
    record.id = reader.integer<qint32>();
    record.english = reader.text();
    record.japanese = reader.text();
    for (qint16& count : record.modeCount)
        count = reader.integer<qint16>();
    return record;
}

std::array<qint16, kModeCount> decodeSlotCounters(QByteArrayView slot) {
    SlotReader reader(slot.first(std::min<qsizetype>(slot.size(), kSlotSize)));
    reader.integer<qint32>();
    reader.textBytes();
    reader.textBytes();
    std::array<qint16, kModeCount> counters{};
    for (qint16& count : counters)
        count = reader.integer<qint16>();
    return counters;
}

QByteArrayView slotEnglishBytes(QByteArrayView slot) {
    SlotReader reader(slot.first(std::min<qsizetype>(slot.size(), kSlotSize)));
    reader.integer<qint32>();
    return reader.textBytes();
}

QString slotErrorText(SlotError error) {
    switch (error) {
    case SlotError::None:
        return {};
    case SlotError::TooLong:
        return QStringLiteral("英語と日本語を合わせて%1バイト（半角%1文字、全角%2文字）までです。")
            .arg(kMaxTextBytes)
            .arg(kMaxTextBytes / 2);
    case SlotError::NotEncodable:
        return QStringLiteral("単語帳に保存できない文字が含まれています。");
    }
    return {};
}

} // namespace book
