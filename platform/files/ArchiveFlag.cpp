#include "platform/files/ArchiveFlag.h"

#include "platform/files/SystemPath.h"

#include <atomic>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr const char* kAttribute = "user.bv.archive";

std::atomic<ArchiveStore> g_store{ArchiveStore::Auto};

// The native path of the marker file that stands in for the attribute.
std::string MarkerOf(const std::string& native)
{
    size_t slash = native.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : native.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
    return folder + "." + name + ".archive";
}

bool IsRegularFile(const std::string& native)
{
    struct stat st;
    return ::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The file system refuses user attributes on this file (not: the file lacks one).
bool NoAttributes(int error) { return error == ENOTSUP || error == EOPNOTSUPP || error == EPERM; }

bool UseAttribute() { return g_store.load() == ArchiveStore::Auto; }

// Removes the marker file; whether there was one.
bool RemoveMarker(const std::string& native) { return ::unlink(MarkerOf(native).c_str()) == 0; }

}  // namespace

void SetArchiveStore(ArchiveStore store) { g_store = store; }

int SetArchiveFlag(const std::string& systemPath, bool on)
{
    std::string native = NativePath(systemPath);
    if (!IsRegularFile(native))
        return ENOENT;
    if (!on) {
        if (UseAttribute() && ::removexattr(native.c_str(), kAttribute) != 0 && errno != ENODATA &&
            !NoAttributes(errno))
            return errno;
        if (::unlink(MarkerOf(native).c_str()) != 0 && errno != ENOENT)
            return errno;
        return 0;
    }
    if (UseAttribute()) {
        if (::setxattr(native.c_str(), kAttribute, "1", 1, 0) == 0)
            return 0;
        if (!NoAttributes(errno))
            return errno;
    }
    int fd = ::open(MarkerOf(native).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

bool HasArchiveFlag(const std::string& systemPath) { return HasArchiveFlagResolved(NativePath(systemPath)); }

bool HasArchiveFlagResolved(const std::string& native)
{
    if (!IsRegularFile(native))
        return false;
    char value;
    if (UseAttribute() && ::getxattr(native.c_str(), kAttribute, &value, sizeof value) >= 0)
        return true;
    return ::access(MarkerOf(native).c_str(), F_OK) == 0;
}

int ClearArchiveFlagOf(const std::string& native, const FileIdentity& read)
{
    NativeFile file;
    if (int rc = file.OpenExistingResolved(native, NativeFile::Access::Read); rc != 0)
        return rc;
    if (!(file.Identity() == read))
        return 0;  // rewritten since: the new file's mark is news
    // On the open file, not the name: a rewrite that lands from here on
    // brings a file (and a mark) of its own.
    if (UseAttribute() && ::fremovexattr(file.Descriptor(), kAttribute) != 0 && errno != ENODATA &&
        !NoAttributes(errno))
        return errno;
    if (!RemoveMarker(native) && errno != ENOENT)
        return errno;
    return 0;
}

bool TestAndClearArchiveFlag(const std::string& systemPath) { return TestAndClearArchiveFlagResolved(NativePath(systemPath)); }

bool TestAndClearArchiveFlagResolved(const std::string& native)
{
    if (!IsRegularFile(native)) {
        RemoveMarker(native);  // a marker left by a file that is gone marks nothing
        return false;
    }
    // Removing is the test: the system lets only one caller remove an
    // attribute or a file, so two importers never both take the file.
    bool was = UseAttribute() && ::removexattr(native.c_str(), kAttribute) == 0;
    if (RemoveMarker(native))
        was = true;
    return was;
}

}  // namespace platform
