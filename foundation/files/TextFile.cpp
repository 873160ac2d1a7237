#include "foundation/files/TextFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace {

// Code page 865 (the Nordic DOS page) to Windows-1252 for the bytes 0x80-0xFF.
// A byte whose character Windows-1252 lacks (box drawing, most Greek letters)
// maps to itself.
constexpr std::array<unsigned char, 128> kCp865To1252 = {
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7,  // 80 Ç ü é â ä à å ç
    0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5,  // 88 ê ë è ï î ì Ä Å
    0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9,  // 90 É æ Æ ô ö ò û ù
    0xFF, 0xD6, 0xDC, 0xF8, 0xA3, 0xD8, 0x9E, 0x83,  // 98 ÿ Ö Ü ø £ Ø - ƒ
    0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA,  // A0 á í ó ú ñ Ñ ª º
    0xBF, 0xA9, 0xAC, 0xBD, 0xBC, 0xA1, 0xAB, 0xA4,  // A8 ¿ - ¬ ½ ¼ ¡ « ¤
    0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7,  // B0 box drawing
    0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF,  // B8
    0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7,  // C0
    0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF,  // C8
    0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7,  // D0
    0xD8, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF,  // D8
    0xE0, 0xDF, 0xE2, 0xE3, 0xE4, 0xE5, 0xB5, 0xE7,  // E0 - ß - - - - µ -
    0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF,  // E8
    0xF0, 0xB1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF7, 0xF7,  // F0 - ± - - - - ÷ -
    0xB0, 0xF9, 0xB7, 0xFB, 0xFC, 0xB2, 0xFE, 0xA0,  // F8 ° - · - - ² - nbsp
};

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
    for (; *text; ++text) {
        unsigned char c = static_cast<unsigned char>(*text);
        if (c >= 0x80)
            *text = static_cast<char>(kCp865To1252[c - 0x80]);
    }
}

void CTextFile::ToWindowsLetters(std::string& text)
{
    for (char& ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 0x80)
            ch = static_cast<char>(kCp865To1252[c - 0x80]);
    }
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
