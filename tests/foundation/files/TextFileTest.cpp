#include "foundation/files/TextFile.h"
#include "platform/files/FileSystem.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using bvtest::TempFolder;

std::vector<std::string> ReadAllLines(const CTextFile& file)
{
    std::vector<std::string> lines;
    for (int n = 1; n <= file.GetLineCount(); ++n) {
        std::string line;
        EXPECT_EQ(file.GetLine(n, line), CTextFile::LineOk) << "line " << n;
        lines.push_back(line);
    }
    return lines;
}

std::string Scramble(std::string bytes, unsigned char key)
{
    for (char& c : bytes)
        c = static_cast<char>(static_cast<unsigned char>(c) ^ key);
    return bytes;
}

// Runs a shell command that must succeed and gives its standard output.
std::string Shell(const std::string& command)
{
    int exitCode = -1;
    std::string out = bvtest::RunCommand(command, &exitCode);
    EXPECT_EQ(exitCode, 0) << command;
    return out;
}

class TextFileTest : public bvtest::InTempFolder {};

struct LineCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST_F(TextFileTest, EveryCrAndLfEndsALinePlainAndScrambled)
{
    const std::vector<LineCase> cases = {
        {"crlf makes an empty line after each", "A\r\nB\r\n", {"A", "", "B", ""}},
        {"lf only", "A\nB\n", {"A", "B"}},
        {"last line without an end counts", "A\nlast", {"A", "last"}},
        {"empty file", "", {}},
        {"line ends only", "\r\n\n", {"", "", ""}},
        {"cr alone ends a line", "A\rB", {"A", "B"}},
        {"blanks are text", "  \n x ", {"  ", " x "}},
        {"long line over the index block", std::string(5000, 'x') + "\nB", {std::string(5000, 'x'), "B"}},
    };
    for (unsigned char key : {0x00, 0x3B, 0x0D}) {
        for (const LineCase& c : cases) {
            TempFolder::Write("t.txt", key ? Scramble(c.bytes, key) : c.bytes);
            CTextFile file;
            ASSERT_EQ(file.Open("t.txt", false, key), 0) << c.name;
            EXPECT_EQ(file.GetLineCount(), static_cast<int>(c.lines.size())) << c.name << " key " << int(key);
            EXPECT_EQ(ReadAllLines(file), c.lines) << c.name << " key " << int(key);
        }
    }
}

TEST_F(TextFileTest, ReadingAMissingFileNeverCreatesIt)
{
    CTextFile file;
    EXPECT_EQ(file.Open(".\\Missing.txt"), 0);
    EXPECT_EQ(file.GetLineCount(), 0);
    char buffer[8] = "junk";
    EXPECT_EQ(file.GetLine(1, buffer, sizeof buffer), CTextFile::LineMissing);
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(platform::FileExists("Missing.txt"));

    // Opened for writing it is made, as that caller asked for.
    EXPECT_EQ(file.Open(".\\Made.txt", true), 0);
    EXPECT_TRUE(platform::FileExists("Made.txt"));
}

TEST_F(TextFileTest, AFileThatCannotBeOpenedGivesTheInvalidHandle)
{
    TempFolder::Write("plain", "x");
    CTextFile file;
    EXPECT_EQ(file.Open("plain\\inside.txt"), CTextFile::kInvalidHandle);
    EXPECT_EQ(file.GetLineCount(), 0);
    std::string line;
    EXPECT_EQ(file.GetLine(1, line), CTextFile::LineMissing);
}

// A name file of a results program over the reader's bound is not indexed
// at all: refused at once, logged with its name and size.
TEST_F(TextFileTest, AFileOverTheSizeLimitIsRefusedAndLogged)
{
    TempFolder::Write("H1-XX-s.001", std::string(99, 'x') + "\r\n");
    CTextFile file;
    file.SetSizeLimit(100);
    EXPECT_EQ(file.Open("H1-XX-s.001"), CTextFile::kInvalidHandle);
    EXPECT_EQ(file.GetLineCount(), 0);
    const std::string log = TempFolder::Read("BVLog.txt");
    EXPECT_NE(log.find("H1-XX-s.001: 101 bytes, more than 100; not read"), std::string::npos) << log;
    file.SetSizeLimit(101);
    EXPECT_EQ(file.Open("H1-XX-s.001"), 0);
    EXPECT_EQ(file.GetLineCount(), 2);
}

TEST_F(TextFileTest, GetLineCutsToTheBufferAndNeverWritesPastIt)
{
    TempFolder::Write("t.txt", "ABCDEFGHIJ\nxy\n");
    CTextFile file;
    ASSERT_EQ(file.Open("t.txt"), 0);
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(file.GetLine(1, buffer, 5), CTextFile::LineOk);
    EXPECT_STREQ(buffer, "ABCD");
    EXPECT_EQ(buffer[5], '#');
    EXPECT_EQ(file.GetLine(2, buffer, 1), CTextFile::LineOk);
    EXPECT_STREQ(buffer, "");

    struct { int n; int rc; } outside[] = {{0, CTextFile::LineMissing}, {3, CTextFile::LineMissing},
                                           {-1, CTextFile::LineMissing}};
    for (auto c : outside) {
        std::strcpy(buffer, "junk");
        EXPECT_EQ(file.GetLine(c.n, buffer, sizeof buffer), c.rc) << c.n;
        EXPECT_STREQ(buffer, "") << c.n;
    }
}

TEST_F(TextFileTest, AFileThatShrankSinceOpenGivesAReadFailure)
{
    TempFolder::Write("t.txt", "first\nsecond line\n");
    CTextFile file;
    ASSERT_EQ(file.Open("t.txt"), 0);
    TempFolder::Write("t.txt", "first\n");  // rewritten in place by another program
    std::string line;
    EXPECT_EQ(file.GetLine(1, line), CTextFile::LineOk);
    EXPECT_EQ(file.GetLine(2, line), CTextFile::LineReadFailed);
    EXPECT_EQ(line, "");
}

TEST_F(TextFileTest, NordicDosLettersBecomeWindowsLettersAsIconvConvertsThem)
{
    // A name file as a DOS program writes it, made by iconv.
    const std::string utf8 = "ÆØÅ æøå Bjørn Ærø, Åse-Øyvind 0-9 [x]";
    TempFolder::Write("utf8.txt", utf8);
    std::string dos = Shell("iconv -f UTF-8 -t CP865 utf8.txt");
    ASSERT_FALSE(dos.empty());
    std::string converted = dos;
    CTextFile::ToWindowsLetters(converted);
    EXPECT_EQ(converted, Shell("iconv -f UTF-8 -t CP1252 utf8.txt"));

    std::vector<char> cText(dos.begin(), dos.end());
    cText.push_back('\0');
    CTextFile::ToWindowsLetters(cText.data());
    EXPECT_EQ(std::string(cText.data()), converted);
}

// Results programs that write Windows-1252 send their names through the same
// conversion: their letters stay. Only the six DOS letters move.
TEST_F(TextFileTest, OnlyTheSixNordicDosLettersMoveEveryOtherByteStays)
{
    const std::string utf8 = "Sjöberg Müller Ærøskøbing æøå ÆØÅ µ ° ÷ é ß";
    TempFolder::Write("utf8.txt", utf8);
    std::string windows = Shell("iconv -f UTF-8 -t CP1252 utf8.txt");
    ASSERT_FALSE(windows.empty());
    std::string kept = windows;
    CTextFile::ToWindowsLetters(kept);
    EXPECT_EQ(kept, windows);

    const std::map<unsigned char, unsigned char> moved = {{0x86, 0xE5}, {0x8F, 0xC5}, {0x91, 0xE6},
                                                          {0x92, 0xC6}, {0x9B, 0xF8}, {0x9D, 0xD8}};
    std::string all;
    for (int b = 1; b <= 0xFF; ++b)
        all += static_cast<char>(b);
    std::string mapped = all;
    CTextFile::ToWindowsLetters(mapped);
    for (size_t i = 0; i < all.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(all[i]);
        auto it = moved.find(b);
        EXPECT_EQ(static_cast<unsigned char>(mapped[i]), it == moved.end() ? b : it->second) << std::hex << +b;
    }
}

TEST_F(TextFileTest, GetColumnTakesTheWholeWidthOfAFixedColumn)
{
    // Lane from 0, class 12..15, name 16..36, club 37..57, start score 58..62
    // (right-aligned), as results programs write a relay's names.
    char line[80];
    std::snprintf(line, sizeof line, "%-12s%-4s%-21s%-21s%5s", "7", "JUN", "Kari Nordmann", "Brevandi Skytterlag 1", "12,5");
    struct Case {
        const char* line;
        int first;
        int width;
        const char* expected;
    } cases[] = {
        {line, 16, 21, "Kari Nordmann        "},
        {line, 37, 21, "Brevandi Skytterlag 1"},  // fills its column: nothing lost
        {line, 12, 4, "JUN "},
        {line, 58, 5, "12,5"},                    // the last digit of a right-aligned number stays
        {"0123456789", 12, 5, ""},
        {"0123456789", 10, 5, ""},                // shorter than first column + 1
        {"0123456789", 9, 5, "9"},
        {"   Ola Nordmann", 0, 21, "Ola Nordmann"},  // three blanks and a 12-letter name
        {"          ", 0, 5, ""},
        {"ABCDEFG", 2, 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CTextFile::GetColumn(c.line, c.first, c.width), c.expected) << c.line << " @" << c.first;
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        CTextFile::GetColumn(c.line, buffer, c.first, c.width);
        EXPECT_STREQ(buffer, c.expected);
        EXPECT_EQ(buffer[c.width + 1], '#') << "wrote past width + 1 bytes";
    }
}

}  // namespace
