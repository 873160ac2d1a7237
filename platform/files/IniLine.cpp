#include "platform/files/IniLine.h"

#include "platform/files/SystemPath.h"

namespace platform {

std::string_view IniTrim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

bool IniSectionName(std::string_view line, std::string_view& name)
{
    line = IniTrim(line);
    if (line.empty() || line.front() != '[')
        return false;
    size_t close = line.find(']');
    name = IniTrim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
    return true;
}

bool IniValueOf(std::string_view line, std::string_view key, std::string_view& value)
{
    size_t eq = line.find('=');
    if (eq == std::string_view::npos || !SameNameNoCase(IniTrim(line.substr(0, eq)), key))
        return false;
    value = IniTrim(line.substr(eq + 1));
    return true;
}

}  // namespace platform
