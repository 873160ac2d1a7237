#include "platform/ArchiveFlag.h"

#include "platform/SystemPath.h"

#include <cerrno>

#include <sys/stat.h>

namespace platform {

int SetArchiveFlag(const std::string& systemPath, bool on)
{
    std::string native = NativePath(systemPath);
    struct stat st;
    if (::stat(native.c_str(), &st) != 0)
        return errno;
    mode_t mode = st.st_mode & 07777;
    mode_t wanted = on ? (mode | S_IXUSR) : (mode & ~static_cast<mode_t>(S_IXUSR));
    if (wanted == mode)
        return 0;
    return ::chmod(native.c_str(), wanted) == 0 ? 0 : errno;
}

bool HasArchiveFlag(const std::string& systemPath)
{
    struct stat st;
    if (::stat(NativePath(systemPath).c_str(), &st) != 0)
        return false;
    return S_ISREG(st.st_mode) && (st.st_mode & S_IXUSR) != 0;
}

}  // namespace platform
