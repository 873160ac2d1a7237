// bvtool srec, run as a user runs it, on images that srec_cat wrote.
#include "RunCommand.h"
#include "SRecordText.h"
#include "SrecCat.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>

namespace {

using bvtest::RunTool;
using bvtest::TempFolder;
using bvtest::ToolRun;

class BvtoolSrecTest : public bvtest::InTempFolder {};

TEST_F(BvtoolSrecTest, ListsTheBlocksThatTileSrecCatsImage)
{
    const std::string binary = bvtest::ImageBinary(0x1F3A7);
    char version[64];
    std::snprintf(version, sizeof version, "version %02X %02X %02X %02X %02X %02X",
                  static_cast<uint8_t>(binary[0xBFFA]), static_cast<uint8_t>(binary[0xBFFB]),
                  static_cast<uint8_t>(binary[0xBFFC]), static_cast<uint8_t>(binary[0xBFFD]),
                  static_cast<uint8_t>(binary[0xBFFE]), static_cast<uint8_t>(binary[0xBFFF]));
    for (int recordBytes : {16, 32, 64, 200}) {
        SCOPED_TRACE(recordBytes);
        ASSERT_TRUE(bvtest::MakeSrecImage(binary, recordBytes, "image.s28"));
        ToolRun run = RunTool("srec image.s28 A");
        ASSERT_EQ(run.status, 0) << run.err;
        std::istringstream out(run.out);
        std::string line;
        std::getline(out, line);
        EXPECT_EQ(line, "year 0");  // srec_cat's header has address 0000
        std::getline(out, line);
        EXPECT_EQ(line, version);
        int first = 0, total = 0;
        std::getline(out, line);
        ASSERT_EQ(std::sscanf(line.c_str(), "blocks %d %d", &first, &total), 2) << line;
        // Every block once, each in its sector and its 4 KB page, and
        // together every byte of the binary exactly once.
        std::map<unsigned, int> byAddress;
        int expected = 1, firstPass = 0;
        while (std::getline(out, line)) {
            int number = 0, sector = 0, length = 0;
            unsigned address = 0;
            char hex[8] = {};
            ASSERT_EQ(std::sscanf(line.c_str(), "%d %d %7s %d", &number, &sector, hex, &length), 4) << line;
            ASSERT_EQ(std::strlen(hex), 5u) << line;
            address = static_cast<unsigned>(std::stoul(hex, nullptr, 16));
            EXPECT_EQ(number, expected++);
            EXPECT_EQ(sector, static_cast<int>(address / 0x4000)) << line;
            EXPECT_EQ(address >> 12, (address + static_cast<unsigned>(length) - 1) >> 12) << line;
            EXPECT_GE(length, 1);
            EXPECT_LE(length, 90) << line;  // a USB message carries no more
            firstPass += sector < 4;
            EXPECT_TRUE(byAddress.emplace(address, length).second) << line;
        }
        EXPECT_EQ(expected - 1, total);
        EXPECT_EQ(firstPass, first);
        unsigned next = 0;
        for (const auto& [address, length] : byAddress) {
            ASSERT_EQ(address, next);
            next += static_cast<unsigned>(length);
        }
        EXPECT_EQ(next, binary.size());
    }
}

TEST_F(BvtoolSrecTest, RefusedFilesExitWithTheirStatus)
{
    TempFolder::Write("crc.s28", bvtest::S2(0x100, {1, 2, 3}, 1) + bvtest::S8());
    TempFolder::Write("open.s28", bvtest::S2(0x100, {1, 2, 3}));
    TempFolder::Write("s1.s28", bvtest::SRecord('1', 0x100, 2, {1, 2, 3}) + bvtest::S8());
    TempFolder::Write("far.s28", bvtest::S2(0x20000, {1, 2, 3}) + bvtest::S8());
    struct Case {
        const char* args;
        const char* err;
    };
    const Case cases[] = {
        {"srec crc.s28", "bvtool: status 3\n"},
        {"srec s1.s28 B", "bvtool: status 3\n"},
        {"srec open.s28", "bvtool: status 12\n"},
        {"srec far.s28", "bvtool: status 2\n"},
        {"srec crc.s28 C", "bvtool: usage: bvtool srec FILE [A|B]\n"},
    };
    for (const Case& c : cases) {
        ToolRun run = RunTool(c.args);
        EXPECT_EQ(run.status, 1) << c.args;
        EXPECT_EQ(run.out, "") << c.args;
        EXPECT_EQ(run.err, c.err) << c.args;
    }
    ToolRun missing = RunTool("srec nothing.s28");
    EXPECT_TRUE(bvtest::FailedWithOneLine(missing));

    TempFolder::Write("small.s28", bvtest::S0("2010") + bvtest::S2(0x0FF0, bvtest::Counting(32, 0x20)) +
                                       bvtest::S2(0x10000, {9}) + bvtest::S8());
    ToolRun small = RunTool("srec small.s28");
    EXPECT_EQ(small.status, 0) << small.err;
    EXPECT_EQ(small.out, "year 2010\n"
                         "version 00 00 00 00 00 00\n"
                         "blocks 2 3\n"
                         "1 0 01000 16\n"
                         "2 0 00FF0 16\n"
                         "3 4 10000 1\n");
}

}  // namespace
