#include "foundation/files/TextFile.h"

#include "foundation/files/BVLog.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace {

// The Nordic letters of code page 865 (the DOS page the older results
// programs write) that are not where Windows-1252 has them: å Å æ Æ ø Ø.
// Only these are turned: a name file written in Windows-1252 comes through
// the same conversion, and its own letters (æ, ø, ö ...) must stay.
constexpr std::array<std::pair<unsigned char, unsigned char>, 6> kNordicLetters = {{
    {0x86, 0xE5}, {0x8F, 0xC5}, {0x91, 0xE6}, {0x92, 0xC6}, {0x9B, 0xF8}, {0x9D, 0xD8},
}};

char ToWindowsLetter(char ch)
{
    for (const auto& [dos, windows] : kNordicLetters)
        if (static_cast<unsigned char>(ch) == dos)
            return static_cast<char>(windows);
    return ch;
}

// The index is built from blocks of this size, one pass over the file.
constexpr size_t kIndexBlock = 4096;

}  // namespace

CTextFile::~CTextFile() { Close(); }

int CTextFile::Open(const std::string& path, bool write, unsigned char key)
{
    Close();
    m_key = key;
    int rc = write ? m_file.OpenOrCreate(path)
                   : m_file.OpenExisting(path, platform::NativeFile::Access::Read);
    if (rc == ENOENT && !write)
        return 0;  // a missing file reads as a file of no lines, and is never made
    if (rc != 0)
        return kInvalidHandle;
    if (const int64_t size = m_file.Size(); !write && size > m_sizeLimit) {
        BV_LOG(ProgramLog(), 80, "%s: %lld bytes, more than %lld; not read", path.c_str(), static_cast<long long>(size),
               static_cast<long long>(m_sizeLimit));
        m_file.Close();
        return kInvalidHandle;
    }
    BuildIndex();
    return 0;
}

void CTextFile::Close()
{
    m_file.Close();
    m_lines.clear();
}

void CTextFile::BuildIndex()
{
    std::array<char, kIndexBlock> block;
    int64_t offset = 0;
    bool inLine = false;
    int64_t lineStart = 0;
    for (;;) {
        long n = m_file.ReadAt(block.data(), block.size(), offset);
        if (n <= 0)
            break;
        for (long i = 0; i < n; ++i) {
            unsigned char c = static_cast<unsigned char>(block[i]) ^ m_key;
            int64_t at = offset + i;
            if (c == '\r' || c == '\n') {
                if (inLine)
                    m_lines.back().length = static_cast<size_t>(at - lineStart);
                else
                    m_lines.push_back({at, 0});
                inLine = false;
            } else if (!inLine) {
                m_lines.push_back({at, 0});
                lineStart = at;
                inLine = true;
            }
        }
        offset += n;
        if (static_cast<size_t>(n) < block.size())
            break;
    }
    if (inLine)
        m_lines.back().length = static_cast<size_t>(offset - lineStart);
}

int CTextFile::GetLine(int n, std::string& line, size_t maxLength) const
{
    line.clear();
    if (n < 1 || static_cast<size_t>(n) > m_lines.size())
        return LineMissing;
    const LineEntry& entry = m_lines[static_cast<size_t>(n) - 1];
    size_t length = std::min(entry.length, maxLength);
    line.resize(length);
    long got = m_file.ReadAt(line.data(), length, entry.offset);
    if (got != static_cast<long>(length)) {
        // The file shrank since it was indexed (another program rewrote it).
        line.clear();
        return LineReadFailed;
    }
    if (m_key != 0)
        for (char& c : line)
            c = static_cast<char>(static_cast<unsigned char>(c) ^ m_key);
    return LineOk;
}

int CTextFile::GetLine(int n, char* buffer, size_t size) const
{
    if (buffer == nullptr || size == 0)
        return LineReadFailed;
    buffer[0] = '\0';
    std::string line;
    int rc = GetLine(n, line, size - 1);
    if (rc != LineOk)
        return rc;
    std::memcpy(buffer, line.data(), line.size());
    buffer[line.size()] = '\0';
    return LineOk;
}

void CTextFile::ToWindowsLetters(char* text)
{
    if (text == nullptr)
        return;
    for (; *text; ++text)
        *text = ToWindowsLetter(*text);
}

void CTextFile::ToWindowsLetters(std::string& text)
{
    for (char& ch : text)
        ch = ToWindowsLetter(ch);
}

std::string CTextFile::GetColumn(std::string_view line, int firstColumn, int width)
{
    if (firstColumn < 0 || width < 1 || line.size() < static_cast<size_t>(firstColumn) + 1)
        return {};
    std::string_view column = line.substr(static_cast<size_t>(firstColumn), static_cast<size_t>(width));
    size_t start = column.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string() : std::string(column.substr(start));
}

char* CTextFile::GetColumn(const char* line, char* buffer, int firstColumn, int width)
{
    if (buffer == nullptr || width < 0)
        return buffer;
    std::string column = GetColumn(line ? std::string_view(line) : std::string_view(), firstColumn, width);
    std::memcpy(buffer, column.data(), column.size());
    buffer[column.size()] = '\0';
    return buffer;
}
