#include "platform/system/CommandLine.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace platform {

int CommandFail(const char* program, const std::string& line)
{
    std::fprintf(stderr, "%s: %s\n", program, line.c_str());
    return 1;
}

bool ParseWhole(const std::string& text, long low, long high, int& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || value < low || value > high)
        return false;
    out = static_cast<int>(value);
    return true;
}

std::string FromCommandFolder(const std::string& path)
{
    if (path.empty() || path[0] == '/')
        return path;
    char here[4096];
    if (getcwd(here, sizeof here) == nullptr)
        return path;
    return std::string(here) + "/" + path;
}

}  // namespace platform
