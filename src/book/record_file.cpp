#include "record_file.h"

namespace book {

RecordFile::RecordFile(const QString& path) : file_(path) {}

bool RecordFile::open(Access access) {
    QIODevice::OpenMode mode = QIODevice::Unbuffered;
    switch (access) {
    case Access::ReadOnly:
        mode |= QIODevice::ReadOnly;
        break;
    case Access::ReadWrite:
        mode |= QIODevice::ReadWrite | QIODevice::ExistingOnly;
        break;
    case Access::Create:
        mode |= QIODevice::ReadWrite;
        break;
    }
    return file_.open(mode);
}

QByteArray RecordFile::readSlot(int recordNo) const {
    if (recordNo < 1 || !file_.isOpen() || !file_.seek(qint64(recordNo - 1) * kSlotSize))
        return {};
    return file_.read(kSlotSize);
}

WordRecord RecordFile::read(int recordNo) const { return decodeSlot(readSlot(recordNo)); }

std::array<qint16, kModeCount> RecordFile::readCounters(int recordNo) const {
    return decodeSlotCounters(readSlot(recordNo));
}

WriteStatus RecordFile::write(int recordNo, const WordRecord& record) {
    if (recordNo < 1)
        return WriteStatus::BadRecordNumber;
    const EncodedSlot slot = encodeSlot(record);
    switch (slot.error) {
    case SlotError::TooLong:
        return WriteStatus::TooLong;
    case SlotError::NotEncodable:
        return WriteStatus::NotEncodable;
    case SlotError::None:
        break;
    }
    if (!file_.isOpen() || !file_.isWritable())
        return WriteStatus::IoError;
    const qint64 offset = qint64(recordNo - 1) * kSlotSize;
    // Slots skipped over by a write past the end are filled with zero bytes.
    if (file_.size() < offset && !file_.resize(offset))
        return WriteStatus::IoError;
    if (!file_.seek(offset) || file_.write(slot.bytes) != kSlotSize)
        return WriteStatus::IoError;
    return WriteStatus::Ok;
}

int RecordFile::recordCount() const {
    if (!file_.isOpen())
        return 0;
    return int((file_.size() + kSlotSize - 1) / kSlotSize);
}

} // namespace book
