#include "platform/SharedLock.h"

#include <cerrno>

#include <fcntl.h>

namespace platform {

int TryLockShared(NativeFile& file, int64_t offset, int64_t length)
{
    struct flock fl {};
    fl.l_type = F_RDLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = offset;
    fl.l_len = length;
    if (::fcntl(file.Descriptor(), F_OFD_SETLK, &fl) == 0)
        return 0;
    return (errno == EACCES) ? EAGAIN : errno;
}

}  // namespace platform
