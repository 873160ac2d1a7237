#include "platform/system/SystemInfo.h"

#include "platform/system/Codepage.h"
#include "platform/files/SystemPath.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace platform {

int ProcessId() { return static_cast<int>(::getpid()); }

std::string ComputerName()
{
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0)
        return "LOCALHOST";
    std::string name(host);
    name = name.substr(0, name.find('.'));
    name = Utf8ToCp1252(name);
    for (char& c : name)
        c = static_cast<char>(Upper1252(static_cast<unsigned char>(c)));
    if (name.size() > 15)
        name.resize(15);
    return name;
}

std::string WorkingFolder()
{
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

int SetWorkingFolder(const std::string& systemPath)
{
    return ::chdir(NativePath(systemPath).c_str()) == 0 ? 0 : errno;
}

std::string UserConfigFolder()
{
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return xdg;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.config";
    return WorkingFolder();
}

}  // namespace platform
