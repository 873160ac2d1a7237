// bvtool dump: a record file (.bvd, .bvc) as it lies on the disk: the header
// and every record in hex, with the text beside it readable.
#include "Command.h"

#include "foundation/files/BVFileEx.h"
#include "platform/system/Codepage.h"
#include "platform/files/FileSystem.h"

#include <cstdio>
#include <cstring>

namespace bvtool {
namespace {

// One byte of the text column: letters of the code page as themselves,
// control bytes and undefined ones as '.'.
std::string Readable(unsigned char c)
{
    bool printable = (c >= 0x20 && c < 0x7F) || c >= 0xA0 ||
                     (c >= 0x80 && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D);
    return printable ? ToScreen(std::string(1, static_cast<char>(c))) : ".";
}

void DumpBytes(const std::string& bytes, size_t from, size_t length)
{
    for (size_t line = 0; line < length; line += 16) {
        std::printf("  %04zx ", line);
        std::string text;
        for (size_t i = line; i < line + 16; ++i) {
            if (i < length) {
                unsigned char c = static_cast<unsigned char>(bytes[from + i]);
                std::printf(" %02x", c);
                text += Readable(c);
            } else {
                std::printf("   ");
            }
        }
        std::printf("  %s\n", text.c_str());
    }
}

int RunDump(const Args& args)
{
    if (args.size() != 1)
        return Fail("usage: bvtool dump FILE");
    std::string bytes;
    if (!platform::ReadWholeFile(ToFile(args[0]), bytes))
        return Fail("cannot read " + args[0]);
    RecordFileHeader header;
    if (bytes.size() < sizeof header)
        return Fail(args[0] + " is too short for a record file header (" + std::to_string(bytes.size()) + " bytes)");
    std::memcpy(&header, bytes.data(), sizeof header);
    std::printf("file: %s\n", args[0].c_str());
    std::printf("change counter: %d\n", header.changeCounter);
    std::printf("record size: %d\n", header.recordSize);
    std::printf("version: %d\n", header.version);
    std::fflush(stdout);
    if (header.recordSize <= 0)
        return Fail("record size " + std::to_string(header.recordSize) + ": the records cannot be told apart");
    size_t size = static_cast<size_t>(header.recordSize);
    size_t count = (bytes.size() - sizeof header) / size;
    size_t stray = (bytes.size() - sizeof header) % size;
    std::printf("records: %zu\n", count);
    if (stray)
        std::printf("stray bytes after the last record: %zu\n", stray);
    for (size_t n = 0; n < count; ++n) {
        size_t at = sizeof header + n * size;
        std::printf("\nrecord %zu (offset %zu)\n", n + 1, at);
        DumpBytes(bytes, at, size);
    }
    if (stray) {
        std::printf("\nstray bytes (offset %zu)\n", sizeof header + count * size);
        DumpBytes(bytes, sizeof header + count * size, stray);
    }
    return 0;
}

[[maybe_unused]] const bool registered = Register(
    {"dump", "bvtool dump FILE",
     "shows a record file (.bvd, .bvc): header, then every record in hex with its text", &RunDump});

}  // namespace
}  // namespace bvtool
