#pragma once

#include "record_map.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>

namespace book {

inline constexpr int kSlotSize = 128;
// No word book is larger: the end record is looked for among records 1 to 1241, and
// nothing the program reads lies past the 19 records behind it. Readers go no further,
// however large the file.
inline constexpr qint64 kMaxBookBytes = qint64(kEndSearchLimit + kTrailerRecords) * kSlotSize;
// Bytes left for the two texts after the id, two length fields and three counters.
inline constexpr int kMaxTextBytes = kSlotSize - 14;
inline constexpr int kModeCount = 3;
// The one counter value that marks a word memorised in a mode.
inline constexpr qint16 kMemorisedMark = -32768;

// One 128-byte slot of a word book: a word, a class header, the end record, the
// title, or a statistics or settings record, by its place in the file.
struct WordRecord {
    qint32 id = 0;
    QString english;
    QString japanese;
    std::array<qint16, kModeCount> modeCount{};

    // The same record with both texts trimmed of leading and trailing blanks.
    WordRecord trimmed() const;
    bool operator==(const WordRecord&) const = default;
};

enum class SlotError {
    None,
    TooLong,      // the two texts need more than kMaxTextBytes of CP932
    NotEncodable, // a text holds a character that CP932 cannot encode
};

struct EncodedSlot {
    QByteArray bytes; // exactly kSlotSize bytes when error is None
    SlotError error = SlotError::None;
};

// The record as one slot: little-endian integers, CP932 texts with a 2-byte length,
// the rest of the slot zero.
EncodedSlot encodeSlot(const WordRecord& record);

// Reads a slot as far as it makes sense: a short slot, a length running past the
// slot or bytes that are not CP932 never fail; what is missing reads as empty or 0.
WordRecord decodeSlot(QByteArrayView slot);

// Only the three counters of a slot, read as decodeSlot reads them but without
// decoding the texts: for counting over a whole book.
std::array<qint16, kModeCount> decodeSlotCounters(QByteArrayView slot);

// The English text of a slot as stored (CP932), read as decodeSlot reads it.
QByteArrayView slotEnglishBytes(QByteArrayView slot);

// Why a record does not fit its slot, in words for the learner; empty when it fits.
QString slotErrorText(SlotError error);

} // namespace book
