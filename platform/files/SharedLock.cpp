#include "platform/files/SharedLock.h"

#include <cerrno>

#include <fcntl.h>

namespace platform {

int TryLockShared(NativeFile& file, int64_t offset, int64_t length)
{
    int rc = file.SetRangeLock(F_RDLCK, offset, length);
    return rc == EACCES ? EAGAIN : rc;
}

}  // namespace platform
