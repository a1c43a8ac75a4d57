#pragma once

#include "word_record.h"

#include <QFile>
#include <QString>

namespace book {

enum class WriteStatus {
    Ok,
    TooLong,
    NotEncodable,
    BadRecordNumber, // below 1: no such record exists
    IoError,         // the file refused the write (read-only, disk full, not open)
};

// A word book file of 128-byte slots, addressed by record number from 1. Reads and
// writes go straight to the file, so several handles on one file see each other's
// writes at once; each write puts one whole slot in place.
class RecordFile {
public:
    explicit RecordFile(const QString& path);
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    enum class Access { ReadOnly, ReadWrite, Create };
    // ReadOnly and ReadWrite need an existing file; Create makes an empty one if need be.
    bool open(Access access = Access::ReadWrite);
    bool isOpen() const { return file_.isOpen(); }
    void close() { file_.close(); }

    // A record below 1 or past the end of the file reads as an empty record.
    WordRecord read(int recordNo) const;
    // The counters of a record alone, as read() would give them.
    std::array<qint16, kModeCount> readCounters(int recordNo) const;
    WriteStatus write(int recordNo, const WordRecord& record);

    // Slots in the file, counting a truncated last one.
    int recordCount() const;
    QString path() const { return file_.fileName(); }
    QString errorString() const { return file_.errorString(); }

private:
    // The raw bytes of a slot; empty for a record below 1 or past the end.
    QByteArray readSlot(int recordNo) const;

    mutable QFile file_;
};

} // namespace book
