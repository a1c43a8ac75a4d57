#pragma once

#include "word_record.h"

#include <QFile>
#include <QString>

#include <memory>

namespace book {

enum class WriteStatus {
    Ok,
    TooLong,
    NotEncodable,
    BadRecordNumber, // below 1: no such record exists
    IoError,         // the file refused the write (read-only, disk full, not open)
    NotAtPath,       // the file was deleted or replaced since it was opened
};

// A word book of 128-byte slots, addressed by record number from 1, on a file or on any
// device. Reads and writes go straight to the device, so several handles on one file see
// each other's writes at once; each write puts one whole slot in place.
class RecordFile {
public:
    // The file at `path`, opened with open().
    explicit RecordFile(const QString& path);
    // A device the caller has opened and keeps alive: a buffer in a test, a scratch copy.
    explicit RecordFile(QIODevice& device);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    enum class Access { ReadOnly, ReadWrite, Create };
    // ReadOnly and ReadWrite need an existing file; Create makes an empty one if need be.
    // Anything but a regular file is refused before it is opened: a FIFO would wait.
    bool open(Access access = Access::ReadWrite);
    bool isOpen() const { return device_->isOpen(); }
    void close() { device_->close(); }

    // A record below 1 or past the end of the file reads as an empty record.
    WordRecord read(int recordNo) const;
    // The counters of a record alone, as read() would give them.
    std::array<qint16, kModeCount> readCounters(int recordNo) const;
    // The English text of a record as stored, undecoded.
    QByteArray readEnglishBytes(int recordNo) const;
    // Refused, writing nothing, when the file opened by path is no longer at its path.
    WriteStatus write(int recordNo, const WordRecord& record);

    // Slots in the file, counting a truncated last one.
    int recordCount() const;
    QString path() const { return file_ ? file_->fileName() : QString(); }
    QString errorString() const;
    // Whether the file opened by path is still the file at that path; a device is.
    bool stillAtPath() const;

private:
    // The raw bytes of a slot; empty for a record below 1 or past the end.
    QByteArray readSlot(int recordNo) const;

    std::unique_ptr<QFile> file_; // set when the record file was made from a path
    QIODevice* device_;
    bool notRegular_ = false;        // open() found a folder, FIFO or device at the path
    mutable bool movedAway_ = false; // what the last check of stillAtPath() found
};

} // namespace book
