#include "foundation/files/Unzip.h"

#include "platform/system/Clock.h"
#include "platform/system/Codepage.h"
#include "platform/files/FileSystem.h"
#include "platform/files/NativeFile.h"
#include "platform/files/SystemPath.h"

#include <unzip.h>

#include <unordered_map>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kFolderAttribute = 0x10;
constexpr uint32_t kFlagEncrypted = 0x0001;
constexpr uint32_t kFlagUtf8Name = 0x0800;
constexpr size_t kBlock = 2048;
constexpr size_t kMaxPath = 260;

unzFile Zip(void* handle) { return static_cast<unzFile>(handle); }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The name and extension part of an entry name.
std::string_view LastComponent(std::string_view name)
{
    size_t p = name.find_last_of("\\/");
    return p == std::string_view::npos ? name : name.substr(p + 1);
}

std::string_view ExtensionOf(std::string_view name)
{
    size_t p = name.rfind('.');
    return p == std::string_view::npos ? std::string_view() : name.substr(p + 1);
}

bool HasExtension(std::string_view name, std::string_view extension)
{
    return extension.empty() || platform::SameNameNoCase(ExtensionOf(name), extension);
}

// Whether bytes are UTF-8 with at least one character beyond ASCII. Archives
// made on Linux often carry UTF-8 names without saying so; a name in the
// Windows code page is almost never valid UTF-8 of that kind.
bool LooksLikeUtf8(std::string_view text)
{
    bool beyondAscii = false;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 9;
        if (extra == 9 || (c & 0xFE) == 0xC0)
            return false;  // not a lead byte, or an overlong form
        for (size_t k = 1; k <= extra; ++k)
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        beyondAscii |= extra > 0;
        i += extra + 1;
    }
    return beyondAscii;
}

std::string JoinPath(const std::string& folder, std::string_view name)
{
    std::string path = folder;
    if (!path.empty() && !IsSeparator(path.back()))
        path += '\\';
    path += name;
    return path;
}

}  // namespace

CUnzip::~CUnzip() { Close(); }

bool CUnzip::Open(const std::string& archivePath)
{
    Close();
    if (archivePath.empty() || archivePath.size() > kMaxPath)
        return false;
    std::string native = platform::NativePath(archivePath);
    m_zip = unzOpen64(native.c_str());
    if (!m_zip)
        return false;
    // The folder named like the archive, without its extension.
    size_t dot = archivePath.rfind('.');
    size_t separator = archivePath.find_last_of("\\/");
    bool dotInName = dot != std::string::npos && (separator == std::string::npos || dot > separator);
    m_defaultFolder = dotInName ? archivePath.substr(0, dot) : archivePath;
    return true;
}

bool CUnzip::Close()
{
    bool clean = true;
    if (m_zip) {
        unzCloseCurrentFile(Zip(m_zip));
        clean = unzClose(Zip(m_zip)) == UNZ_OK;
    }
    m_zip = nullptr;
    m_defaultFolder.clear();
    return clean;
}

int CUnzip::GetEntryCount()
{
    if (!m_zip)
        return 0;
    unz_global_info64 global;
    if (unzGetGlobalInfo64(Zip(m_zip), &global) != UNZ_OK)
        return 0;
    return static_cast<int>(global.number_entry);
}

bool CUnzip::GotoFile(std::string_view extension)
{
    if (!m_zip || unzGoToFirstFile(Zip(m_zip)) != UNZ_OK)
        return false;
    ZipEntryInfo info;
    if (extension.empty() || (GetCurrentInfo(info) && HasExtension(info.name, extension)))
        return true;
    return FindNext(extension);
}

bool CUnzip::FindNext(std::string_view extension)
{
    if (!m_zip)
        return false;
    while (unzGoToNextFile(Zip(m_zip)) == UNZ_OK) {
        ZipEntryInfo info;
        if (extension.empty() || (GetCurrentInfo(info) && HasExtension(info.name, extension)))
            return true;
    }
    return false;
}

bool CUnzip::ReadCurrentInfo(ZipEntryInfo& info, bool& tooLong)
{
    info = {};
    tooLong = false;
    if (!m_zip)
        return false;
    unz_file_info64 raw;
    char name[kMaxName + 1] = {};
    char comment[255] = {};
    if (unzGetCurrentFileInfo64(Zip(m_zip), &raw, name, sizeof name, nullptr, 0, comment, sizeof comment) != UNZ_OK)
        return false;
    // The library cuts a longer name to the buffer: a cut name would be
    // another file's name, so such an entry is never taken.
    tooLong = raw.size_filename > kMaxName;
    std::string text(name, tooLong ? kMaxName : raw.size_filename);
    if ((raw.flag & kFlagUtf8Name) || LooksLikeUtf8(text))
        text = platform::Utf8ToCp1252(text);
    for (char& c : text) {
        if (c == '/')
            c = '\\';
    }
    info.name = std::move(text);
    info.comment.assign(comment, raw.size_file_comment < sizeof comment ? raw.size_file_comment : sizeof comment - 1);
    info.versionMadeBy = static_cast<uint32_t>(raw.version);
    info.versionNeeded = static_cast<uint32_t>(raw.version_needed);
    info.flag = static_cast<uint32_t>(raw.flag);
    info.compressionMethod = static_cast<uint32_t>(raw.compression_method);
    info.dosDate = static_cast<uint32_t>(raw.dosDate);
    info.crc = static_cast<uint32_t>(raw.crc);
    info.compressedSize = static_cast<uint32_t>(raw.compressed_size);
    info.uncompressedSize = static_cast<uint32_t>(raw.uncompressed_size);
    info.internalAttributes = static_cast<uint32_t>(raw.internal_fa);
    info.externalAttributes = static_cast<uint32_t>(raw.external_fa);
    info.isFolder = (info.externalAttributes & kFolderAttribute) != 0 ||
                    (!info.name.empty() && info.name.back() == '\\');
    return true;
}

bool CUnzip::GetCurrentInfo(ZipEntryInfo& info)
{
    bool tooLong;
    return ReadCurrentInfo(info, tooLong) && !tooLong;
}

bool CUnzip::IsSafeEntryName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxName)
        return false;
    if (IsSeparator(name.front()))
        return false;  // absolute, or a server share
    for (unsigned char c : name) {
        if (c < 0x20 || c == ':')
            return false;  // control characters, drives and stream names have no place in a name
    }
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = name.size();
        if (name.substr(start, end - start) == "..")
            return false;
        start = end + 1;
    }
    return true;
}

bool CUnzip::ExtractCurrent(const std::string& destination, bool flat)
{
    if (!m_zip)
        return false;
    const std::string folder = destination.empty() ? m_defaultFolder : destination;
    if (!CreateFolderPath(folder))
        return false;
    ZipEntryInfo info;
    bool tooLong;
    if (!ReadCurrentInfo(info, tooLong) || tooLong || !IsSafeEntryName(info.name))
        return false;
    if (info.isFolder)
        return CreateFolderPath(JoinPath(folder, info.name));
    if (info.flag & kFlagEncrypted)
        return false;  // no password is ever given: the bytes could not be read
    std::string_view name = flat ? LastComponent(info.name) : std::string_view(info.name);
    if (name.empty())
        return false;
    std::string target = JoinPath(folder, name);
    if (!CreateParentFolders(target))
        return false;
    if (!CopyCurrentTo(target, info))
        return false;
    SetFileTimeFromDos(target, info.dosDate);  // a file without its time is still the file
    return true;
}

bool CUnzip::CopyCurrentTo(const std::string& target, const ZipEntryInfo& info)
{
    std::string temp = platform::MakeTempFile(platform::FolderOf(target), "~bz");
    if (temp.empty())
        return false;
    platform::NativeFile out;
    bool complete = out.OpenExisting(temp, platform::NativeFile::Access::ReadWrite) == 0 &&
                    unzOpenCurrentFile(Zip(m_zip)) == UNZ_OK;
    if (complete) {
        std::vector<char> block(kBlock);
        int64_t written = 0;
        for (;;) {
            int n = unzReadCurrentFile(Zip(m_zip), block.data(), static_cast<unsigned>(block.size()));
            if (n == 0)
                break;
            if (n < 0 || out.WriteAt(block.data(), static_cast<size_t>(n), written) != n) {
                complete = false;
                break;
            }
            written += n;
        }
        // Closing the entry after reading all of it compares the CRC.
        if (unzCloseCurrentFile(Zip(m_zip)) != UNZ_OK)
            complete = false;
        if (written != static_cast<int64_t>(info.uncompressedSize))
            complete = false;
    }
    if (complete)
        complete = out.Sync() == 0;
    out.Close();
    if (complete)
        complete = platform::ReplaceFile(temp, target) == 0;
    if (!complete)
        platform::RemoveFile(temp);
    return complete;
}

bool CUnzip::ExtractAll(const std::string& destination, bool flat)
{
    if (!m_zip || destination.empty() || !CreateFolderPath(destination) || GetEntryCount() == 0)
        return false;
    // A package with one hostile name is not a package to unpack at all.
    std::string name, earlier;
    if (CheckEntries(name, earlier) != EntryCheck::Ok || !GotoFile())
        return false;
    do {
        if (!ExtractCurrent(destination, flat))
            return false;
    } while (FindNext());
    return true;
}

CUnzip::EntryCheck CUnzip::CheckEntries(std::string& name, std::string& earlier)
{
    name.clear();
    earlier.clear();
    if (!GotoFile())
        return EntryCheck::Unreadable;
    // Each name folded to one letter case, without a folder's trailing
    // separator: a file "Data" and a folder "DATA\" clash as well.
    std::unordered_map<std::string, std::pair<std::string, bool>> seen;
    do {
        ZipEntryInfo info;
        bool tooLong;
        if (!ReadCurrentInfo(info, tooLong) || tooLong) {
            name = info.name;
            return EntryCheck::Unreadable;
        }
        if (!IsSafeEntryName(info.name)) {
            name = info.name;
            return EntryCheck::Unsafe;
        }
        std::string folded = info.name;
        while (!folded.empty() && folded.back() == '\\')
            folded.pop_back();
        for (char& c : folded)
            c = static_cast<char>(platform::Upper1252(static_cast<unsigned char>(c)));
        auto [at, added] = seen.try_emplace(folded, info.name, info.isFolder);
        // One folder listed twice is made once; nothing is lost.
        if (!added && !(info.isFolder && at->second.second)) {
            name = info.name;
            earlier = at->second.first;
            return EntryCheck::SameFile;
        }
    } while (FindNext());
    GotoFile();
    return EntryCheck::Ok;
}

bool CreateFolderPath(const std::string& path)
{
    if (path.empty())
        return false;
    if (platform::FolderExists(path))
        return true;
    if (platform::FileExists(path))
        return false;
    std::string trimmed = path;
    while (trimmed.size() > 1 && IsSeparator(trimmed.back()))
        trimmed.pop_back();
    // A bare name is a folder in the working folder, and is made like any other.
    size_t p = trimmed.find_last_of("\\/");
    if (p != std::string::npos && p > 0 && !CreateFolderPath(trimmed.substr(0, p)))
        return false;
    return platform::CreateFolder(trimmed) == 0 && platform::FolderExists(trimmed);
}

bool CreateParentFolders(const std::string& path)
{
    size_t p = path.find_last_of("\\/");
    if (p == std::string::npos)
        return false;
    return CreateFolderPath(path.substr(0, p));
}

bool SetFileTimeFromDos(const std::string& path, uint32_t dosDateTime)
{
    uint32_t date = dosDateTime >> 16;
    uint32_t time = dosDateTime & 0xFFFF;
    platform::LocalTime local;
    local.year = static_cast<int>((date >> 9) & 0x7F) + 1980;
    local.month = static_cast<int>((date >> 5) & 0x0F);
    local.day = static_cast<int>(date & 0x1F);
    local.hour = static_cast<int>((time >> 11) & 0x1F);
    local.minute = static_cast<int>((time >> 5) & 0x3F);
    local.second = static_cast<int>((time & 0x1F) * 2);
    if (local.month < 1 || local.month > 12 || local.day < 1 || local.hour > 23 || local.minute > 59 ||
        local.second > 59)
        return false;
    return platform::FileExists(path) && platform::SetModifiedTime(path, local) == 0;
}
