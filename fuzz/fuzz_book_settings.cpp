// Arbitrary bytes as the settings records of a book (speed, voice, input mode): every
// stored text is read as a setting or as none, and a setting written is read back.
#include "book/record_file.h"
#include "book/settings.h"
#include "book/word_record.h"

#include <QBuffer>

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A book holds its settings in the records behind the end record; more bytes would
    // only repeat the same reading.
    const QByteArrayView bytes(
        data, std::min(qsizetype(size), qsizetype(book::kTrailerRecords) * book::kSlotSize));
    for (qsizetype at = 0; at < bytes.size(); at += book::kSlotSize) {
        const book::WordRecord record = book::decodeSlot(bytes.sliced(at)).trimmed();
        for (const QString& text : {record.english, record.japanese}) {
            if (const auto speed = book::speedFromText(text))
                Q_ASSERT(*speed >= 0 && *speed < int(book::kSpeeds.size()));
            if (const auto mode = book::inputModeFromText(text))
                Q_ASSERT(book::storedText(*mode) == text);
            if (const auto voice = book::voiceFromText(text))
                Q_ASSERT(book::storedVoiceText(*voice) == text);
        }
    }
    // A setting written into the first slot keeps the other text of the slot, trimmed.
    QByteArray slot = bytes.first(std::min<qsizetype>(bytes.size(), book::kSlotSize)).toByteArray();
    QBuffer buffer(&slot);
    buffer.open(QIODevice::ReadWrite);
    book::RecordFile file(buffer);
    const book::WordRecord before = file.read(1).trimmed();
    if (book::writeSetting(file, 1, book::SettingField::English, book::storedVoiceText(true)) ==
        book::WriteStatus::Ok) {
        const book::WordRecord after = file.read(1);
        Q_ASSERT(after.english == book::storedVoiceText(true));
        Q_ASSERT(after.japanese == before.japanese);
    }
    return 0;
}
