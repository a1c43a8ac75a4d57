#include "record_file.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace book {

RecordFile::RecordFile(const QString& path)
    : file_(std::make_unique<QFile>(path)), device_(file_.get()) {}

RecordFile::RecordFile(QIODevice& device) : device_(&device) {}

RecordFile::~RecordFile() = default;

bool RecordFile::open(Access access) {
    if (!file_)
        return device_->isOpen();
    const QFileInfo info(file_->fileName());
    notRegular_ = info.exists() && !info.isFile();
    if (notRegular_)
        return false;
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
    movedAway_ = false;
    return file_->open(mode);
}

QByteArray RecordFile::readSlot(int recordNo) const {
    const qint64 offset = qint64(recordNo - 1) * kSlotSize;
    if (recordNo < 1 || !device_->isOpen())
        return {};
    // Past the end there is nothing to read, and a buffer (unlike a file) warns of a seek
    // there.
    if (!file_ && offset >= device_->size())
        return {};
    if (!device_->seek(offset))
        return {};
    return device_->read(kSlotSize);
}

WordRecord RecordFile::read(int recordNo) const { return decodeSlot(readSlot(recordNo)); }

std::array<qint16, kModeCount> RecordFile::readCounters(int recordNo) const {
    return decodeSlotCounters(readSlot(recordNo));
}

QByteArray RecordFile::readEnglishBytes(int recordNo) const {
    return slotEnglishBytes(readSlot(recordNo)).toByteArray();
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
    if (!device_->isOpen() || !device_->isWritable())
        return WriteStatus::IoError;
    // A write into a file that is no longer the book would be lost in silence.
    if (!stillAtPath())
        return WriteStatus::NotAtPath;
    const qint64 offset = qint64(recordNo - 1) * kSlotSize;
    // Slots skipped over by a write past the end are filled with zero bytes (a buffer
    // does so when it seeks past its end).
    if (file_ && file_->size() < offset && !file_->resize(offset))
        return WriteStatus::IoError;
    if (!device_->seek(offset) || device_->write(slot.bytes) != kSlotSize)
        return WriteStatus::IoError;
    return WriteStatus::Ok;
}

int RecordFile::recordCount() const {
    if (!device_->isOpen())
        return 0;
    return int((device_->size() + kSlotSize - 1) / kSlotSize);
}

QString RecordFile::errorString() const {
    if (notRegular_)
        return QStringLiteral("not a regular file");
    if (movedAway_)
        return QStringLiteral("the file was deleted or replaced since it was opened");
    return device_->errorString();
}

bool RecordFile::stillAtPath() const {
#ifdef Q_OS_UNIX
    if (!file_ || !file_->isOpen())
        return true;
    struct stat opened {};
    struct stat atPath {};
    const bool same = ::fstat(file_->handle(), &opened) == 0 &&
                      ::stat(QFile::encodeName(file_->fileName()).constData(), &atPath) == 0 &&
                      opened.st_dev == atPath.st_dev && opened.st_ino == atPath.st_ino;
    movedAway_ = !same;
    return same;
#else
    return true;
#endif
}

} // namespace book
