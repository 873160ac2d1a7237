#include "platform/files/SystemPath.h"

#include "platform/system/Codepage.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <mutex>

#include <dirent.h>
#include <sys/stat.h>

namespace platform {
namespace {

std::mutex g_driveMutex;
std::array<std::string, 26> g_driveRoots;
std::atomic<long> g_listings{0};
thread_local KeptListing* g_kept = nullptr;  // innermost of this thread's listings

// "./BV/", "BV/" and "BV" name one folder.
std::string_view NormalFolder(std::string_view native)
{
    while (native.size() >= 2 && native.compare(0, 2, "./") == 0)
        native.remove_prefix(2);
    while (native.size() > 1 && native.back() == '/')
        native.remove_suffix(1);
    return native.empty() ? std::string_view(".") : native;
}

std::string UpperKey(std::string_view cp1252)
{
    std::string key(cp1252);
    for (char& c : key)
        c = static_cast<char>(Upper1252(static_cast<unsigned char>(c)));
    return key;
}

std::string KeyOfDiskName(std::string_view utf8)
{
    bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return UpperKey(ascii ? std::string(utf8) : Utf8ToCp1252(utf8));
}

int64_t ModifiedNs(const std::string& native)
{
    struct stat st;
    if (::stat(native.c_str(), &st) != 0)
        return -2;  // never equal to a stamp taken from a folder that was there
    return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

bool Exists(const std::string& native)
{
    struct stat st;
    return lstat(native.c_str(), &st) == 0;
}

// The entry of folder whose name matches wanted without regard to case;
// empty when there is none.
std::string FindNoCase(const std::string& folder, const std::string& wantedUtf8)
{
    if (KeptListing* kept = KeptListing::Of(folder))
        return kept->Find(Utf8ToCp1252(wantedUtf8));
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return {};
    CountFolderListing();
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

long FolderListings() { return g_listings.load(); }
void CountFolderListing() { ++g_listings; }

KeptListing::KeptListing(const std::string& folderSystemPath)
    : m_native(NormalFolder(NativePath(folderSystemPath.empty() ? "." : folderSystemPath))), m_outer(g_kept)
{
    Load();
    g_kept = this;
}

KeptListing::~KeptListing()
{
    // Listings end in the reverse order of their making on one thread; one
    // that ends out of turn is taken out of the chain where it stands.
    for (KeptListing** p = &g_kept; *p; p = &(*p)->m_outer) {
        if (*p == this) {
            *p = m_outer;
            break;
        }
    }
}

bool KeptListing::AnyOnThisThread() { return g_kept != nullptr; }

KeptListing* KeptListing::Of(std::string_view nativeFolder)
{
    if (!g_kept)
        return nullptr;
    std::string_view wanted = NormalFolder(nativeFolder);
    for (KeptListing* k = g_kept; k; k = k->m_outer)
        if (k->m_native == wanted)
            return k;
    return nullptr;
}

void KeptListing::Load()
{
    // The time first: a change made while the entries are read leaves a
    // later time, and the next miss lists the folder again.
    m_stamp = ModifiedNs(m_native);
    m_entries.clear();
    DIR* dir = opendir(m_native.c_str());
    if (!dir) {
        m_stamp = -1;
        return;
    }
    CountFolderListing();
    while (dirent* e = readdir(dir)) {
        std::string_view name = e->d_name;
        if (name == "." || name == "..")
            continue;
        m_entries.emplace(KeyOfDiskName(name), std::string(name));
    }
    closedir(dir);
}

void KeptListing::Restamp() { m_stamp = ModifiedNs(m_native); }

bool KeptListing::Fresh() const { return m_stamp >= 0 && ModifiedNs(m_native) == m_stamp; }

std::string KeptListing::Find(std::string_view name)
{
    const std::string key = UpperKey(name);
    auto it = m_entries.find(key);
    if (it != m_entries.end())
        return it->second;
    if (Fresh())
        return {};
    Load();
    it = m_entries.find(key);
    return it == m_entries.end() ? std::string() : it->second;
}

bool KeptListing::Knows(std::string_view name) const { return m_entries.count(UpperKey(name)) != 0; }

void KeptListing::Added(std::string_view nameOnDisk, bool fresh)
{
    m_entries.insert_or_assign(KeyOfDiskName(nameOnDisk), std::string(nameOnDisk));
    if (fresh)
        Restamp();
}

void KeptListing::Removed(std::string_view nameOnDisk, bool fresh)
{
    m_entries.erase(KeyOfDiskName(nameOnDisk));
    if (fresh)
        Restamp();
}

bool KeptListing::TakeSweep()
{
    bool first = !m_swept;
    m_swept = true;
    return first;
}

FolderChange::FolderChange(const std::string& nativePath)
{
    if (!g_kept)
        return;
    size_t p = nativePath.rfind('/');
    m_name = p == std::string::npos ? nativePath : nativePath.substr(p + 1);
    m_kept = KeptListing::Of(p == std::string::npos ? std::string_view(".") : std::string_view(nativePath).substr(0, p == 0 ? 1 : p));
    m_fresh = m_kept && m_kept->Fresh();
}

void FolderChange::Added() const
{
    if (m_kept)
        m_kept->Added(m_name, m_fresh);
}

void FolderChange::Removed() const
{
    if (m_kept)
        m_kept->Removed(m_name, m_fresh);
}

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
