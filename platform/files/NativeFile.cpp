#include "platform/files/NativeFile.h"

#include "platform/files/SystemPath.h"

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

NativeFile::~NativeFile() { Close(); }

NativeFile::NativeFile(NativeFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

int NativeFile::OpenExisting(const std::string& systemPath, Access access)
{
    return OpenExistingResolved(NativePath(systemPath), access);
}

int NativeFile::CreateExclusive(const std::string& systemPath)
{
    return CreateExclusiveResolved(NativePath(systemPath));
}

int NativeFile::OpenPlain(const std::string& nativePath, int flags)
{
    Close();
    // Without O_NONBLOCK, opening a FIFO waits for its other end; on a plain
    // file the flag changes nothing, so it stays.
    int fd = ::open(nativePath.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    struct stat st;
    int rc = ::fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile;
    if (rc != 0) {
        ::close(fd);
        return rc;
    }
    m_fd = fd;
    return 0;
}

int NativeFile::OpenExistingResolved(const std::string& nativePath, Access access)
{
    return OpenPlain(nativePath, access == Access::ReadWrite ? O_RDWR : O_RDONLY);
}

int NativeFile::CreateExclusiveResolved(const std::string& nativePath)
{
    Close();
    m_fd = ::open(nativePath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return m_fd < 0 ? errno : 0;
}

int NativeFile::OpenOrCreate(const std::string& systemPath)
{
    const std::string native = NativePath(systemPath);
    FolderChange change(native);  // the file may be made here
    if (int rc = OpenPlain(native, O_RDWR | O_CREAT); rc != 0)
        return rc;
    change.Added();
    return 0;
}

int NativeFile::Close()
{
    if (m_fd < 0)
        return 0;
    int rc = ::close(m_fd);
    m_fd = -1;
    return rc == 0 ? 0 : errno;
}

long NativeFile::ReadAt(void* buffer, size_t length, int64_t offset) const
{
    size_t done = 0;
    auto* p = static_cast<char*>(buffer);
    while (done < length) {
        ssize_t n = ::pread(m_fd, p + done, length - done, offset + static_cast<int64_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return static_cast<long>(done);
}

long NativeFile::WriteAt(const void* buffer, size_t length, int64_t offset)
{
    size_t done = 0;
    const auto* p = static_cast<const char*>(buffer);
    while (done < length) {
        ssize_t n = ::pwrite(m_fd, p + done, length - done, offset + static_cast<int64_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (n == 0) {
            errno = EIO;
            break;
        }
        done += static_cast<size_t>(n);
    }
    return static_cast<long>(done);
}

int64_t NativeFile::Size() const
{
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        return -1;
    return st.st_size;
}

int NativeFile::Truncate(int64_t length)
{
    return ::ftruncate(m_fd, length) == 0 ? 0 : errno;
}

void (*NativeFile::s_syncHook)(const NativeFile& file) = nullptr;

int NativeFile::Sync()
{
    if (::fdatasync(m_fd) != 0)
        return errno;
    if (s_syncHook)
        s_syncHook(*this);
    return 0;
}

int NativeFile::TryLock(int64_t offset, int64_t length)
{
    int rc = SetRangeLock(F_WRLCK, offset, length);
    return rc == EACCES ? EAGAIN : rc;
}

int NativeFile::Unlock(int64_t offset, int64_t length)
{
    return SetRangeLock(F_UNLCK, offset, length);
}

int NativeFile::SetRangeLock(short type, int64_t offset, int64_t length)
{
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = offset;
    fl.l_len = length;
    return ::fcntl(m_fd, F_OFD_SETLK, &fl) == 0 ? 0 : errno;
}

FileIdentity NativeFile::Identity() const
{
    struct stat st;
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return {};
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

FileIdentity IdentityOf(const std::string& systemPath) { return IdentityOfResolved(NativePath(systemPath)); }

FileIdentity IdentityOfResolved(const std::string& nativePath)
{
    struct stat st;
    if (::stat(nativePath.c_str(), &st) != 0)
        return {};
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

}  // namespace platform
