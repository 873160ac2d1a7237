#include "platform/files/ProfileStore.h"

#include "platform/system/Codepage.h"
#include "platform/files/IniLine.h"
#include "platform/system/SystemInfo.h"
#include "platform/files/SystemPath.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool MakeFolders(const std::string& folder)
{
    std::string part;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        part = folder.substr(0, pos);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

bool WriteAtomically(const std::string& path, const std::string& bytes)
{
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && !MakeFolders(path.substr(0, slash)))
        return false;
    std::string temp = path + ".new";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        done += static_cast<size_t>(n);
    }
    bool ok = ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

std::string MemoryKey(const std::string& section, const std::string& key)
{
    std::string k = section + "\n" + key;
    for (char& c : k)
        c = static_cast<char>(Upper1252(static_cast<unsigned char>(c)));
    return k;
}

std::string g_programName = "Brevandi";
ProfileStore* g_profile = nullptr;
std::unique_ptr<IniProfileStore> g_programProfile;

}  // namespace

bool ProfileStore::WriteInt(const std::string& section, const std::string& key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

IniProfileStore::IniProfileStore(std::string nativePath) : m_path(std::move(nativePath)) {}

std::string IniProfileStore::GetString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue)
{
    bool inSection = false;
    for (const std::string& line : ReadLines(m_path)) {
        std::string_view name;
        if (IniSectionName(line, name)) {
            inSection = SameNameNoCase(name, section);
            continue;
        }
        std::string_view value;
        if (inSection && IniValueOf(line, key, value))
            return std::string(value);
    }
    return defaultValue;
}

int IniProfileStore::GetInt(const std::string& section, const std::string& key, int defaultValue)
{
    std::string text = GetString(section, key, {});
    if (text.empty())
        return defaultValue;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    return end == text.c_str() ? defaultValue : static_cast<int>(v);
}

bool IniProfileStore::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    // A value is one line: a line break would split it into a second key.
    std::string clean;
    for (char c : value)
        if (c != '\r' && c != '\n')
            clean += c;
    std::vector<std::string> lines = ReadLines(m_path);
    std::string entry = key + "=" + clean;
    bool inSection = false;
    bool written = false;
    size_t sectionEnd = std::string::npos;  // index after the last line of the section
    for (size_t i = 0; i < lines.size() && !written; ++i) {
        std::string_view name;
        if (IniSectionName(lines[i], name)) {
            inSection = SameNameNoCase(name, section);
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        std::string_view old;
        if (IniValueOf(lines[i], key, old)) {
            // The name keeps the spelling it has in the file.
            lines[i] = std::string(IniTrim(std::string_view(lines[i]).substr(0, lines[i].find('=')))) + "=" + clean;
            written = true;
        } else if (!IniTrim(lines[i]).empty()) {
            sectionEnd = i + 1;
        }
    }
    if (!written) {
        if (sectionEnd == std::string::npos) {
            if (!lines.empty() && !IniTrim(lines.back()).empty())
                lines.emplace_back();
            lines.push_back("[" + section + "]");
            lines.push_back(entry);
        } else {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), entry);
        }
    }
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\n";
    return WriteAtomically(m_path, bytes);
}

std::string MemoryProfileStore::GetString(const std::string& section, const std::string& key,
                                          const std::string& defaultValue)
{
    auto it = m_values.find(MemoryKey(section, key));
    return it == m_values.end() ? defaultValue : it->second;
}

int MemoryProfileStore::GetInt(const std::string& section, const std::string& key, int defaultValue)
{
    auto it = m_values.find(MemoryKey(section, key));
    if (it == m_values.end() || it->second.empty())
        return defaultValue;
    return static_cast<int>(std::strtol(it->second.c_str(), nullptr, 10));
}

bool MemoryProfileStore::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    m_values[MemoryKey(section, key)] = value;
    return true;
}

void SetProgramName(const std::string& program)
{
    g_programName = program;
    g_programProfile.reset();
}

const std::string& ProgramName()
{
    return g_programName;
}

std::string ProfilePath(const std::string& program)
{
    return UserConfigFolder() + "/Brevandi/" + Cp1252ToUtf8(program) + ".ini";
}

ProfileStore& Profile()
{
    if (g_profile)
        return *g_profile;
    if (!g_programProfile)
        g_programProfile = std::make_unique<IniProfileStore>(ProfilePath(g_programName));
    return *g_programProfile;
}

void SetProfile(ProfileStore* store)
{
    g_profile = store;
}

}  // namespace platform
