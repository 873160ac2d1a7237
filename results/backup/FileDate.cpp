#include "results/backup/FileDate.h"

#include "platform/files/FileSystem.h"

#include <ctime>

namespace results {

bool GetFileDate(const std::string& path, platform::LocalTime& out, bool local)
{
    out = {};
    platform::LocalTime lt;
    if (!platform::GetModifiedTime(path, lt))
        return false;
    if (local) {
        out = lt;
        return true;
    }
    std::tm t{};
    t.tm_year = lt.year - 1900;
    t.tm_mon = lt.month - 1;
    t.tm_mday = lt.day;
    t.tm_hour = lt.hour;
    t.tm_min = lt.minute;
    t.tm_sec = lt.second;
    t.tm_isdst = -1;
    std::time_t when = std::mktime(&t);
    std::tm u{};
    gmtime_r(&when, &u);
    out = {u.tm_year + 1900, u.tm_mon + 1, u.tm_mday, u.tm_hour, u.tm_min, u.tm_sec, lt.millisecond, u.tm_wday};
    return true;
}

}  // namespace results
