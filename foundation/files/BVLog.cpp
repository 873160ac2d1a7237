#include "foundation/files/BVLog.h"

#include "platform/system/Clock.h"
#include "platform/files/NativeFile.h"
#include "platform/files/PrivateProfile.h"
#include "platform/system/SystemInfo.h"
#include "platform/files/SystemPath.h"

#include <cstdio>
#include <mutex>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kLogPath[] = ".\\BVLog.txt";
const char kIniPath[] = ".\\BVLog.ini";
constexpr size_t kTextSize = 200;  // the formatted text, with its terminator
constexpr int kAttempts = 3;
constexpr unsigned kPauseMs = 20;

// The threshold from BVLog.ini, read again only when the working folder or
// the file changed: every record file, exchange and line object keeps a log,
// and a busy range makes them by the hundred.
short ThresholdOfIni()
{
    struct Seen {
        std::string folder;
        struct stat folderStat {};
        std::string ini;  // the file as found, empty when there is none
        struct stat iniStat {};
        short threshold = 80;
        bool valid = false;
    };
    static std::mutex lock;
    static Seen seen;
    std::lock_guard<std::mutex> hold(lock);
    char cwd[4096];
    struct stat folderStat {}, iniStat {};
    const bool folderKnown = getcwd(cwd, sizeof cwd) != nullptr && stat(".", &folderStat) == 0;
    const bool iniKnown = !seen.ini.empty() && stat(seen.ini.c_str(), &iniStat) == 0;
    auto same = [](const struct stat& a, const struct stat& b) {
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
               a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
    };
    if (seen.valid && folderKnown && seen.folder == cwd && same(seen.folderStat, folderStat) &&
        (seen.ini.empty() || (iniKnown && same(seen.iniStat, iniStat))))
        return seen.threshold;
    seen.threshold = static_cast<short>(platform::GetPrivateProfileInt("BVLog", "Level", 80, kIniPath));
    seen.valid = folderKnown;
    seen.folder = folderKnown ? cwd : "";
    seen.folderStat = folderStat;
    seen.ini.clear();
    const std::string native = platform::NativePath(kIniPath);
    if (stat(native.c_str(), &iniStat) == 0) {
        seen.ini = native;
        seen.iniStat = iniStat;
    }
    return seen.threshold;
}

}  // namespace

CBVLog::CBVLog() : m_threshold(ThresholdOfIni()) {}

void CBVLog::Write(const char* sourcePath, int line, int level, const char* format, ...)
{
    if (!IsOn(level))
        return;
    va_list args;
    va_start(args, format);
    WriteV(sourcePath, line, level, format, args);
    va_end(args);
}

void CBVLog::WriteV(const char* sourcePath, int line, int level, const char* format, va_list args)
{
    if (!IsOn(level))
        return;
    char text[kTextSize];
    std::vsnprintf(text, sizeof text, format, args);
    Append(sourcePath, line, level, text);
}

void CBVLog::WriteF(const char* sourcePath, int line, int level, const char* format, ...)
{
    char text[kTextSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (IsOn(level))
        Append(sourcePath, line, level, text);
}

void CBVLog::Append(const char* sourcePath, int line, int level, const char* text)
{
    // Appends go through O_APPEND, so entries of several processes never
    // overwrite one another; the file is opened for each entry and closed again.
    std::string native = platform::NativePath(kLogPath);
    int fd = -1;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
        if (fd >= 0)
            break;
        if (attempt < kAttempts)
            platform::SleepMs(kPauseMs);
    }
    if (fd < 0)
        return;

    platform::LocalTime t = platform::Now();
    std::string source(platform::BaseName(sourcePath ? sourcePath : ""));
    char entry[kTextSize + 300];
    int n = std::snprintf(entry, sizeof entry, "%4d %04d.%02d.%02d %02d.%02d.%02d.%03d %02X %s(%03d) %s\r\n",
                          platform::ProcessId(), t.year, t.month, t.day, t.hour, t.minute, t.second,
                          t.millisecond, static_cast<unsigned>(level) & 0xFF, source.c_str(), line, text);
    if (n > 0) {
        size_t len = static_cast<size_t>(n) < sizeof entry ? static_cast<size_t>(n) : sizeof entry - 1;
        if (len == sizeof entry - 1) {  // cut: keep the line end
            entry[len - 2] = '\r';
            entry[len - 1] = '\n';
        }
        ssize_t written = ::write(fd, entry, len);
        (void)written;  // a lost entry is not the caller's concern
    }
    ::close(fd);
}

CBVLog& ProgramLog()
{
    static CBVLog log;
    return log;
}
