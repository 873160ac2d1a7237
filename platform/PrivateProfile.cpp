#include "platform/PrivateProfile.h"

#include "platform/FileSystem.h"
#include "platform/SystemPath.h"

#include <cstdlib>
#include <string_view>

namespace platform {
namespace {

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool Lookup(const std::string& section, const std::string& key, const std::string& systemPath, std::string& value)
{
    std::string bytes;
    if (!ReadWholeFile(systemPath, bytes))
        return false;
    bool inSection = false;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string::npos)
            end = bytes.size();
        std::string_view line = TrimBlanks(std::string_view(bytes).substr(pos, end - pos));
        pos = end + 1;
        if (!line.empty() && line.front() == '[') {
            size_t close = line.find(']');
            std::string_view name = line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1);
            inSection = SameNameNoCase(TrimBlanks(name), section);
            continue;
        }
        if (!inSection)
            continue;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        if (!SameNameNoCase(TrimBlanks(line.substr(0, eq)), key))
            continue;
        std::string_view v = TrimBlanks(line.substr(eq + 1));
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        value.assign(v);
        return true;
    }
    return false;
}

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& systemPath)
{
    std::string value;
    if (Lookup(section, key, systemPath, value))
        return value;
    return defaultValue;
}

int GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& systemPath)
{
    std::string value;
    if (!Lookup(section, key, systemPath, value))
        return defaultValue;
    return static_cast<int>(std::strtol(value.c_str(), nullptr, 10));
}

}  // namespace platform
