#include "platform/files/SystemPath.h"

#include "platform/system/Codepage.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <mutex>

#include <dirent.h>
#include <sys/stat.h>

namespace platform {
namespace {

std::mutex g_driveMutex;
std::array<std::string, 26> g_driveRoots;

bool Exists(const std::string& native)
{
    struct stat st;
    return lstat(native.c_str(), &st) == 0;
}

// The entry of folder whose name matches wanted without regard to case;
// empty when there is none.
std::string FindNoCase(const std::string& folder, const std::string& wantedUtf8)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return {};
    std::string wanted = Utf8ToCp1252(wantedUtf8);
    std::string found;
    while (dirent* e = readdir(dir)) {
        // Folders of thousands of files are searched for names that are not
        // there yet: a plain ASCII name is compared as it stands, without a
        // conversion of its own.
        std::string_view name = e->d_name;
        bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (ascii ? SameNameNoCase(name, wanted) : SameNameNoCase(Utf8ToCp1252(name), wanted)) {
            found = e->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

}  // namespace

bool SameNameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper1252(static_cast<unsigned char>(a[i])) != Upper1252(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void SetDriveRoot(char drive, const std::string& nativeFolder)
{
    char d = static_cast<char>(Upper1252(static_cast<unsigned char>(drive)));
    if (d < 'A' || d > 'Z')
        return;
    std::lock_guard lock(g_driveMutex);
    g_driveRoots[d - 'A'] = nativeFolder;
}

std::string NativePath(std::string_view systemPath)
{
    std::string path = Cp1252ToUtf8(systemPath);
    for (char& c : path)
        if (c == '\\')
            c = '/';

    std::string prefix;  // the part that is taken as it stands
    size_t pos = 0;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        char d = static_cast<char>(Upper1252(static_cast<unsigned char>(path[0])));
        {
            std::lock_guard lock(g_driveMutex);
            prefix = g_driveRoots[d - 'A'];
        }
        if (prefix.empty())
            prefix = "/";
        else if (prefix.back() != '/')
            prefix += '/';
        pos = 2;
        while (pos < path.size() && path[pos] == '/')
            ++pos;
    } else if (!path.empty() && path[0] == '/') {
        prefix = "/";
        pos = 1;
    }

    std::string result = prefix;
    bool searching = true;  // stop looking on disk once a component is missing
    while (pos <= path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty()) {
            if (end == path.size())
                break;
            continue;
        }
        if (part == "." ) {
            if (result.empty())
                result = "./";
            continue;
        }
        std::string candidate = result + part;
        if (searching && part != ".." && !Exists(candidate)) {
            std::string folder = result.empty() ? "." : result;
            std::string found = FindNoCase(folder, part);
            if (found.empty())
                searching = false;
            else
                candidate = result + found;
        }
        result = candidate;
        if (end < path.size())
            result += '/';
    }
    if (result.empty())
        result = ".";
    if (result.size() > 2 && result.compare(0, 2, "./") == 0)
        result.erase(0, 2);
    return result;
}

std::string JoinSystemPath(std::string_view folder, std::string_view name)
{
    std::string out(folder);
    if (!out.empty() && out.back() != '\\' && out.back() != '/')
        out += '\\';
    out += name;
    return out;
}

std::string FolderWithSeparator(std::string_view folder)
{
    if (folder.empty())
        return ".\\";
    std::string out(folder);
    if (out.back() != '\\' && out.back() != '/')
        out += '\\';
    return out;
}

std::string_view BaseName(std::string_view path)
{
    size_t p = path.find_last_of("/\\");
    return p == std::string_view::npos ? path : path.substr(p + 1);
}

}  // namespace platform
