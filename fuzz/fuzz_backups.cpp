// Arbitrary bytes as the backup folder's index and as a backup's content: the index
// reads only entries of the program's own names, which write back the same, and a
// backup is described however damaged it is.
#include "folder/backups.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    const QList<folder::BackupEntry> entries = folder::parseBackupIndex(bytes);
    for (const folder::BackupEntry& entry : entries)
        Q_ASSERT(!entry.name.contains(u'/') && !entry.name.contains(u'\\'));
    Q_ASSERT(folder::parseBackupIndex(folder::backupIndexBytes(entries)) == entries);
    (void)folder::describeBackup(QStringLiteral("backup/Word-20261207-093000.dat"), QDateTime(),
                                 bytes.toByteArray());
    return 0;
}
