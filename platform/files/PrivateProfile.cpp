#include "platform/files/PrivateProfile.h"

#include "platform/files/FileSystem.h"
#include "platform/files/IniLine.h"
#include "platform/files/SystemPath.h"

#include <cstdlib>
#include <string_view>

namespace platform {
namespace {

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
        std::string_view line = std::string_view(bytes).substr(pos, end - pos);
        pos = end + 1;
        std::string_view name;
        if (IniSectionName(line, name)) {
            inSection = SameNameNoCase(name, section);
            continue;
        }
        std::string_view v;
        if (!inSection || !IniValueOf(line, key, v))
            continue;
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
