#pragma once
// Random access by line number to a text file: the language files (every byte
// scrambled with one XOR key) and the fixed-column name files that results
// programs write. Open reads the file once to index where each line starts;
// GetLine then reads just that line.
//
// Every CR and every LF ends a line, and a line end met at the start of a line
// makes an empty line of its own, so "A" CR LF "B" CR LF is four lines: "A",
// "", "B", "". A last line without a line end still counts. Callers skip the
// empty lines; the numbering is what the files have always had.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/NativeFile.h"

class CTextFile {
public:
    // What Open returns when the file exists but cannot be opened.
    static constexpr int kInvalidHandle = -1;

    // GetLine results.
    enum { LineOk = 0, LineSeekFailed = 1, LineReadFailed = 2, LineMissing = 3 };

    CTextFile() = default;
    virtual ~CTextFile();
    CTextFile(const CTextFile&) = delete;
    CTextFile& operator=(const CTextFile&) = delete;

    // Opens a file (a system path) and indexes its lines; any file open
    // before is closed first. key 0 means a plain file, any other value is
    // XORed over every byte. Reading never creates a file: a missing one
    // opens as a file of no lines. With write set the file is opened for
    // reading and writing and created when missing. 0, or kInvalidHandle.
    int Open(const std::string& path, bool write = false, unsigned char key = 0);
    // Files read from other programs hold at most this many bytes (none: any
    // size); Open refuses a larger one at once, logged with its name and
    // size, and gives kInvalidHandle.
    void SetSizeLimit(int64_t maxBytes) { m_sizeLimit = maxBytes; }
    void Close();

    // Line n (from 1) into buffer, cut to size - 1 bytes and NUL-terminated;
    // the buffer is emptied first. LineOk, or one of the failures above.
    int GetLine(int n, char* buffer, size_t size) const;
    // The same into a string, cut to maxLength bytes.
    int GetLine(int n, std::string& line, size_t maxLength = SIZE_MAX) const;

    int GetLineCount() const { return static_cast<int>(m_lines.size()); }

    // Turns the six Nordic letters of the DOS code page 865 (å Å æ Æ ø Ø)
    // into their Windows-1252 bytes, in place; every other byte stays.
    static void ToWindowsLetters(char* text);
    static void ToWindowsLetters(std::string& text);

    // The column of a fixed-column line that starts at firstColumn (from 0)
    // and is width characters wide, leading blanks skipped; the whole width
    // counts, so a right-aligned number or a name that fills its column keeps
    // its last character. Empty when the line is shorter than firstColumn + 1.
    // buffer holds width + 1 bytes.
    static char* GetColumn(const char* line, char* buffer, int firstColumn, int width);
    static std::string GetColumn(std::string_view line, int firstColumn, int width);

private:
    struct LineEntry {
        int64_t offset;
        size_t length;
    };

    void BuildIndex();

    platform::NativeFile m_file;
    unsigned char m_key = 0;
    int64_t m_sizeLimit = INT64_MAX;
    std::vector<LineEntry> m_lines;
};
