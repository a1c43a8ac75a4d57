// Arbitrary bytes as the contents of veltyping.lock, read as the program reads them when
// a folder is in use (the holder's process, program and computer, for the message). The
// bytes live in a memory file: no file on disk per input.
#include "folder/program_folder.h"

#include <QLockFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int memory = ::memfd_create("veltyping.lock", 0);
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(memory);
    if (memory < 0 || ::ftruncate(memory, 0) != 0 ||
        ::pwrite(memory, data, size, 0) != ssize_t(size))
        std::abort();
    QLockFile lock(path);
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock.getLockInfo(&pid, &host, &application))
        (void)folder::inUseReason(QStringLiteral("/folder"), path, host, application);
    return 0;
}
