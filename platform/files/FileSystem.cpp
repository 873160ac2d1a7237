#include "platform/files/FileSystem.h"

#include "platform/system/Codepage.h"
#include "platform/files/NativeFile.h"
#include "platform/system/SystemInfo.h"
#include "platform/files/SystemPath.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace platform {
namespace {

std::atomic<long> g_replacements{0};

// Writes all the bytes from the start of an open file and waits until they
// are on the disk: 0 or the system error.
int WriteAllAndSync(NativeFile& out, std::string_view bytes)
{
    if (out.WriteAt(bytes.data(), bytes.size(), 0) != static_cast<long>(bytes.size()))
        return errno ? errno : EIO;
    return out.Sync();
}

// The atomic writer's own temporary files. Each is held locked by its writer
// for as long as it lives, so a file of this name that nobody holds was left
// by a writer that died (killed, or the power cut) and may go.
constexpr std::string_view kWriterPrefix = "~bvw";
constexpr char kWriterPattern[] = "~bvw*.TMP";
// A living writer locks its file the moment after making it; a file younger
// than this may be one caught in that moment.
constexpr int kFreshSeconds = 2;

// A new "<prefix>XXXX.TMP" in the folder, created and left open in out; its
// system path, or empty. The name is our own and new, so the folder is found
// once and the file made there as named: no look for another letter case.
std::string CreateTemp(const std::string& folderSystemPath, std::string_view prefix, NativeFile& out)
{
    static thread_local std::mt19937 random(std::random_device{}() ^ static_cast<unsigned>(ProcessId()));
    const std::string folder = NativePath(folderSystemPath.empty() ? "." : folderSystemPath);
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "%04X.TMP", static_cast<unsigned>(random() & 0xFFFF));
        const std::string base = std::string(prefix) + name;
        const std::string native = (folder.empty() || folder.back() == '/' ? folder : folder + "/") + base;
        FolderChange change(native);
        int rc = out.CreateExclusiveResolved(native);
        if (rc == 0) {
            change.Added();
            return JoinSystemPath(folderSystemPath, base);
        }
        if (rc != EEXIST)
            return {};
    }
    errno = EEXIST;
    return {};
}

// A new "~bvwXXXX.TMP" in the folder, open and locked; its path, or empty.
std::string MakeWriterTemp(const std::string& folder, NativeFile& out)
{
    std::string path = CreateTemp(folder, kWriterPrefix, out);
    if (path.empty())
        return path;
    if (out.TryLock(0, 0) != 0) {
        out.Close();
        RemoveFile(path);
        return {};
    }
    return path;
}

// The names of the writers' temporary files in the folder. A pass that keeps
// a listing of the folder cleans up once, at its first write, from that
// listing: a file left behind can wait for the next pass.
std::vector<std::string> WriterTempsToCheck(const std::string& folder)
{
    KeptListing* kept = KeptListing::AnyOnThisThread() ? KeptListing::Of(NativePath(folder)) : nullptr;
    if (!kept)
        return FindFiles(folder, kWriterPattern);
    std::vector<std::string> names;
    if (!kept->TakeSweep())
        return names;
    for (const auto& [key, name] : kept->Entries())
        if (MatchesPattern(key, kWriterPattern))
            names.push_back(Utf8ToCp1252(name));
    return names;
}

}  // namespace

long FileReplacements() { return g_replacements.load(std::memory_order_relaxed); }

bool FileExists(const std::string& systemPath)
{
    struct stat st;
    return ::stat(NativePath(systemPath).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& systemPath)
{
    struct stat st;
    return ::stat(NativePath(systemPath).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int64_t FileSize(const std::string& systemPath)
{
    struct stat st;
    if (::stat(NativePath(systemPath).c_str(), &st) != 0)
        return -1;
    return st.st_size;
}

int FileStatus(const std::string& systemPath)
{
    struct stat st;
    if (::stat(NativePath(systemPath).c_str(), &st) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? EISDIR : 0;
}

int CreateFolder(const std::string& systemPath)
{
    if (::mkdir(NativePath(systemPath).c_str(), 0777) == 0 || errno == EEXIST)
        return 0;
    return errno;
}

int CreateFolders(const std::string& systemPath)
{
    std::string native = NativePath(systemPath);
    for (size_t pos = 1; pos <= native.size(); ++pos) {
        if (pos == native.size() || native[pos] == '/') {
            std::string part = native.substr(0, pos);
            if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
                return errno;
        }
    }
    return 0;
}

int RemoveFile(const std::string& systemPath)
{
    const std::string native = NativePath(systemPath);
    FolderChange change(native);
    if (::unlink(native.c_str()) != 0)
        return errno;
    change.Removed();
    ++g_replacements;
    return 0;
}

int RemoveResolved(const std::string& nativePath)
{
    return ::unlink(nativePath.c_str()) == 0 ? 0 : errno;
}

int ReplaceFile(const std::string& fromSystemPath, const std::string& toSystemPath)
{
    std::string from = NativePath(fromSystemPath);
    std::string to = NativePath(toSystemPath);
    FolderChange left(from), arrived(to);
    if (::rename(from.c_str(), to.c_str()) != 0)
        return errno;
    left.Removed();
    arrived.Added();
    ++g_replacements;
    return 0;
}

int CopyFile(const std::string& fromSystemPath, const std::string& toSystemPath)
{
    std::string bytes;
    if (!ReadWholeFile(fromSystemPath, bytes))
        return errno ? errno : EIO;
    NativeFile out;
    int rc = out.OpenOrCreate(toSystemPath);
    if (rc != 0)
        return rc;
    ++g_replacements;
    if (out.Truncate(0) != 0 || out.WriteAt(bytes.data(), bytes.size(), 0) != static_cast<long>(bytes.size()))
        return errno ? errno : EIO;
    return out.Sync();
}

std::string FolderOf(std::string_view systemPath)
{
    size_t p = systemPath.find_last_of("/\\");
    return p == std::string_view::npos ? std::string() : std::string(systemPath.substr(0, p));
}

int SyncFolder(const std::string& systemPath)
{
    std::string native = NativePath(systemPath.empty() ? "." : systemPath);
    int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int rc = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return rc;
}

int WriteFileAtomically(const std::string& systemPath, std::string_view bytes)
{
    std::string folder = FolderOf(systemPath);
    if (folder.empty())
        folder = ".";
    RemoveAbandonedWriterTemps(folder);
    NativeFile out;
    errno = 0;
    std::string temp = MakeWriterTemp(folder, out);
    if (temp.empty())
        return errno ? errno : EIO;
    int rc = WriteAllAndSync(out, bytes);
    // The lock goes with the name: the file is renamed while still held.
    if (rc == 0)
        rc = ReplaceFile(temp, systemPath);
    if (rc != 0)
        RemoveFile(temp);
    out.Close();
    if (rc != 0)
        return rc;
    SyncFolder(folder);
    return 0;
}

int CreateFileAtomically(const std::string& systemPath, std::string_view bytes)
{
    if (FileExists(systemPath) || FolderExists(systemPath))
        return EEXIST;
    // The whole file is made under a temporary name and then linked to its
    // own name, which fails when the name has been taken meanwhile: a file
    // another program has just made is never truncated or replaced.
    std::string folder = FolderOf(systemPath);
    if (folder.empty())
        folder = ".";
    std::string temp = MakeTempFile(folder, "~bv");
    if (temp.empty())
        return errno ? errno : EIO;
    std::string tempNative = NativePath(temp);
    int rc = 0;
    {
        NativeFile out;
        rc = out.OpenExisting(temp, NativeFile::Access::ReadWrite);
        if (rc == 0)
            rc = WriteAllAndSync(out, bytes);
    }
    const std::string native = NativePath(systemPath);
    FolderChange made(native);
    if (rc == 0) {
        if (::link(tempNative.c_str(), native.c_str()) == 0) {
            made.Added();
        } else {
            rc = errno;
            if (rc == EPERM || rc == ENOTSUP || rc == EOPNOTSUPP || rc == EMLINK || rc == ENOSYS) {
                // No hard links on this file system: an exclusive create,
                // where others may see the file empty for a moment.
                NativeFile out;
                rc = out.CreateExclusive(systemPath);
                if (rc == 0)
                    rc = WriteAllAndSync(out, bytes);
            }
        }
    }
    FolderChange cleaned(tempNative);
    if (::unlink(tempNative.c_str()) == 0)
        cleaned.Removed();
    if (rc == 0)
        SyncFolder(folder);
    return rc;
}

bool CanCreateFileIn(const std::string& folderSystemPath)
{
    std::string folder = folderSystemPath.empty() ? "." : folderSystemPath;
    if (!FolderExists(folder))
        return false;
    int fd = ::open(NativePath(folder).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return false;
    std::string temp = MakeTempFile(folder, "~rw");
    if (temp.empty())
        return false;
    RemoveFile(temp);
    return true;
}

int SectorSize(const std::string& systemPath)
{
    constexpr int kDefault = 512;
    struct stat st;
    if (::stat(NativePath(systemPath.empty() ? "." : systemPath).c_str(), &st) != 0)
        return kDefault;
    // The block device of the file system, or of the whole disk when the
    // file system lies on a partition.
    char base[64];
    std::snprintf(base, sizeof base, "/sys/dev/block/%u:%u", major(st.st_dev), minor(st.st_dev));
    for (const char* tail : {"/queue/logical_block_size", "/../queue/logical_block_size"}) {
        std::string path = std::string(base) + tail;
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        char text[32] = {};
        ssize_t n = ::read(fd, text, sizeof text - 1);
        ::close(fd);
        if (n <= 0)
            continue;
        int size = std::atoi(text);
        return size >= 8 && size <= 8192 ? size : kDefault;
    }
    return kDefault;
}

bool ReadWholeFile(const std::string& systemPath, std::string& bytes)
{
    NativeFile in;
    if (in.OpenExisting(systemPath, NativeFile::Access::Read) != 0)
        return false;
    int64_t size = in.Size();
    if (size < 0)
        return false;
    bytes.resize(static_cast<size_t>(size));
    long n = in.ReadAt(bytes.data(), bytes.size(), 0);
    if (n < 0)
        return false;
    bytes.resize(static_cast<size_t>(n));
    return true;
}

int ReadFileUpTo(const std::string& systemPath, std::string& bytes, int64_t maxBytes, int64_t* size)
{
    bytes.clear();
    NativeFile in;
    if (int rc = in.OpenExisting(systemPath, NativeFile::Access::Read); rc != 0)
        return rc;
    const int64_t held = in.Size();
    if (size)
        *size = held;
    if (held < 0)
        return errno ? errno : EIO;
    if (held > maxBytes)
        return EFBIG;
    bytes.resize(static_cast<size_t>(held));
    const long n = in.ReadAt(bytes.data(), bytes.size(), 0);
    if (n < 0) {
        bytes.clear();
        return errno ? errno : EIO;
    }
    bytes.resize(static_cast<size_t>(n));
    return 0;
}

int RemoveAbandonedWriterTemps(const std::string& folder)
{
    int removed = 0;
    const time_t now = ::time(nullptr);
    for (const std::string& name : WriterTempsToCheck(folder)) {
        const std::string path = JoinSystemPath(folder, name);
        // The age first: a file caught between its writer's create and lock
        // is never locked here, which would make that writer fail.
        struct stat st;
        if (::stat(NativePath(path).c_str(), &st) != 0 || now - st.st_mtime < kFreshSeconds)
            continue;
        NativeFile f;
        if (f.OpenExisting(path, NativeFile::Access::ReadWrite) != 0 || f.TryLock(0, 0) != 0)
            continue;  // its writer is still at work
        if (RemoveFile(path) == 0)
            ++removed;
    }
    return removed;
}

bool GetModifiedTime(const std::string& systemPath, LocalTime& out)
{
    out = {};
    struct stat st;
    if (::stat(NativePath(systemPath).c_str(), &st) != 0)
        return false;
    struct tm t;
    localtime_r(&st.st_mtim.tv_sec, &t);
    out = {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
           static_cast<int>(st.st_mtim.tv_nsec / 1000000), t.tm_wday};
    return true;
}

int SetModifiedTime(const std::string& systemPath, const LocalTime& local)
{
    struct tm t {};
    t.tm_year = local.year - 1900;
    t.tm_mon = local.month - 1;
    t.tm_mday = local.day;
    t.tm_hour = local.hour;
    t.tm_min = local.minute;
    t.tm_sec = local.second;
    t.tm_isdst = -1;
    time_t secs = mktime(&t);
    if (secs == static_cast<time_t>(-1))
        return EINVAL;
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = secs;
    times[1].tv_nsec = static_cast<long>(local.millisecond) * 1000000;
    return ::utimensat(AT_FDCWD, NativePath(systemPath).c_str(), times, 0) == 0 ? 0 : errno;
}

bool MatchesPattern(std::string_view name, std::string_view pattern)
{
    // Iterative wildcard match with one backtrack point for the last '*'.
    size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' ||
                    Upper1252(static_cast<unsigned char>(pattern[p])) == Upper1252(static_cast<unsigned char>(name[n])))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> FindFiles(const std::string& folderSystemPath, std::string_view pattern, bool foldersToo)
{
    std::vector<std::string> names;
    std::string native = NativePath(folderSystemPath.empty() ? "." : folderSystemPath);
    DIR* dir = ::opendir(native.c_str());
    if (!dir)
        return names;
    CountFolderListing();
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        // The name first: an exchange folder holds thousands of files, and
        // only those that match are worth a look at the disk.
        std::string ansi = Utf8ToCp1252(name);
        if (!MatchesPattern(ansi, pattern))
            continue;
        // The entry's type as the folder tells it; a look at the file
        // itself only where it does not (or for a link).
        bool file = e->d_type == DT_REG, folder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st;
            if (::stat((native + "/" + name).c_str(), &st) != 0)
                continue;
            file = S_ISREG(st.st_mode);
            folder = S_ISDIR(st.st_mode);
        }
        if (folder ? !foldersToo : !file)
            continue;
        names.push_back(ansi);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string MakeTempFile(const std::string& folderSystemPath, std::string_view prefix)
{
    NativeFile f;
    return CreateTemp(folderSystemPath, prefix, f);
}

}  // namespace platform
