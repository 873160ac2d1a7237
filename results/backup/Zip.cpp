#include "results/backup/Zip.h"

#include "foundation/files/Unzip.h"
#include "platform/files/ArchiveFlag.h"
#include "platform/files/FileSystem.h"
#include "platform/files/NativeFile.h"
#include "platform/files/SystemPath.h"
#include "platform/system/Codepage.h"
#include "results/backup/FileDate.h"

#include <zip.h>

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace results {
namespace {

constexpr uint32_t kReadOnly = 0x01;
constexpr uint32_t kArchive = 0x20;
constexpr uint32_t kNormal = 0x80;

zipFile Handle(void* p) { return static_cast<zipFile>(p); }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A drive path ("C:\x"), or one from the root ("/x", "\x").
bool IsAbsolute(std::string_view path)
{
    return (!path.empty() && IsSeparator(path.front())) || path.find(':') != std::string_view::npos;
}

std::string Backslashed(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string_view WithoutDotPrefix(std::string_view path)
{
    while (path.size() >= 2 && path[0] == '.' && IsSeparator(path[1]))
        path.remove_prefix(2);
    return path;
}

// The path from the root, as the system spells it.
std::string FullPath(const std::string& path)
{
    if (IsAbsolute(path))
        return Backslashed(path);
    std::vector<char> cwd(4096);
    if (!::getcwd(cwd.data(), cwd.size()))
        return {};
    std::string folder = Backslashed(platform::Utf8ToCp1252(cwd.data()));
    return platform::JoinSystemPath(folder, Backslashed(std::string(WithoutDotPrefix(path))));
}

uint32_t WindowsAttributes(const std::string& path)
{
    struct stat st;
    uint32_t attributes = 0;
    if (::stat(platform::NativePath(path).c_str(), &st) == 0 && (st.st_mode & 0222) == 0)
        attributes |= kReadOnly;
    if (platform::HasArchiveFlag(path))
        attributes |= kArchive;
    return attributes ? attributes : kNormal;
}

}  // namespace

CZip::CZip(const std::string& archivePath, const char* baseFolder, bool append)
{
    if (!archivePath.empty())
        Open(archivePath, baseFolder, append);
}

CZip::~CZip() { Close(); }

bool CZip::Open(const std::string& archivePath, const char* baseFolder, bool append)
{
    Close();
    if (archivePath.empty())
        return false;
    const std::string full = FullPath(archivePath);
    if (full.empty())
        return false;
    if (append && !platform::FileExists(full))
        append = false;
    // Adding into the archive's own directory keeps the old members listed.
    m_zip = zipOpen(platform::NativePath(full).c_str(), append ? APPEND_STATUS_ADDINZIP : APPEND_STATUS_CREATE);
    if (!m_zip)
        return false;
    if (!baseFolder)
        m_base = platform::FolderOf(full);
    else
        m_base = Backslashed(baseFolder);
    if (!m_base.empty() && m_base.back() != '\\')
        m_base += '\\';
    return true;
}

bool CZip::Close()
{
    int result = ZIP_OK;
    if (m_zip)
        result = zipClose(Handle(m_zip), nullptr);
    m_zip = nullptr;
    m_base.clear();
    m_filesAdded = 0;
    m_bytesRead = 0;
    return result == ZIP_OK;
}

std::string CZip::MakeFullPath(const std::string& path) const
{
    if (IsAbsolute(path) || m_base.empty())
        return path;
    return m_base + std::string(WithoutDotPrefix(path));
}

std::string CZip::EntryName(const std::string& path, bool flat) const
{
    std::string name;
    if (flat) {
        name = std::string(platform::BaseName(path));
    } else if (IsAbsolute(path)) {
        // Only a path under the base folder has a name inside the archive.
        std::string full = Backslashed(path);
        if (m_base.empty() || full.size() <= m_base.size() ||
            !platform::SameNameNoCase(std::string_view(full).substr(0, m_base.size()), m_base))
            return {};
        name = full.substr(m_base.size());
    } else {
        name = std::string(WithoutDotPrefix(path));
    }
    for (char& c : name)
        if (c == '\\')
            c = '/';
    if (name.size() > kMaxName || !CUnzip::IsSafeEntryName(name) || name.back() == '/')
        return {};
    return name;
}

bool CZip::AddFile(const std::string& path, bool flat)
{
    if (!m_zip)
        return false;
    const std::string name = EntryName(path, flat);
    if (name.empty())
        return false;
    const std::string full = MakeFullPath(path);

    // The whole file first: a read error must not leave half a member.
    platform::NativeFile file;
    if (file.OpenExisting(full, platform::NativeFile::Access::Read) != 0)
        return false;
    const int64_t size = file.Size();
    if (size < 0 || size > INT32_MAX)
        return false;
    std::string bytes(static_cast<size_t>(size), '\0');
    if (size > 0 && file.ReadAt(bytes.data(), bytes.size(), 0) != static_cast<long>(size))
        return false;
    file.Close();

    zip_fileinfo info{};
    platform::LocalTime when;
    if (GetFileDate(full, when, true)) {
        info.tmz_date.tm_sec = static_cast<uInt>(when.second);
        info.tmz_date.tm_min = static_cast<uInt>(when.minute);
        info.tmz_date.tm_hour = static_cast<uInt>(when.hour);
        info.tmz_date.tm_mday = static_cast<uInt>(when.day);
        info.tmz_date.tm_mon = static_cast<uInt>(when.month - 1);
        info.tmz_date.tm_year = static_cast<uInt>(when.year);
    }
    info.dosDate = 0;
    info.internal_fa = 0;
    info.external_fa = WindowsAttributes(full);

    int result = zipOpenNewFileInZip(Handle(m_zip), name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                     Z_DEFLATED, Z_DEFAULT_COMPRESSION);
    bool ok = result == ZIP_OK;
    if (ok) {
        ++m_filesAdded;
        if (!bytes.empty())
            ok = zipWriteInFileInZip(Handle(m_zip), bytes.data(), static_cast<unsigned>(bytes.size())) == ZIP_OK;
        m_bytesRead += static_cast<int32_t>(size);
    }
    if (zipCloseFileInZip(Handle(m_zip)) != ZIP_OK)
        ok = false;
    return ok;
}

}  // namespace results
