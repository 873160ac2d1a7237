// Any bytes as a text file, plain or scrambled: every byte is either in one
// line or ends one, and cutting columns or converting letters stays in bounds.
#include "foundation/files/TextFile.h"
#include "fuzz/FuzzScratch.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const unsigned char key = data[0];
    const int first = data[1];
    const int width = data[2] % 40;
    data += 3;
    size -= 3;

    // One scratch folder per fuzzing process, removed when it ends.
    static const fuzz::ScratchFolder scratch("fuzz-textfile");
    const std::string path = scratch.File("f.txt");
    if (!fuzz::WriteWholeFile(path, data, size))
        return 0;

    CTextFile file;
    if (file.Open(path, false, key) != 0)
        return 0;
    size_t lineEnds = 0;
    for (size_t i = 0; i < size; ++i) {
        unsigned char c = data[i] ^ key;
        lineEnds += c == '\r' || c == '\n';
    }
    size_t inLines = 0;
    char small[16];
    for (int n = 1; n <= file.GetLineCount(); ++n) {
        std::string line;
        if (file.GetLine(n, line) != CTextFile::LineOk)
            __builtin_trap();
        inLines += line.size();
        if (file.GetLine(n, small, sizeof small) != CTextFile::LineOk)
            __builtin_trap();
        CTextFile::ToWindowsLetters(line);
        std::string column = CTextFile::GetColumn(line, first, width);
        if (column.size() > static_cast<size_t>(width))
            __builtin_trap();
    }
    if (inLines + lineEnds != size)
        __builtin_trap();
    return 0;
}
