// bvtool's dump, cfg and unique commands, run as a range technician runs them.
#include "foundation/files/BVFileEx.h"
#include "RecordBytes.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using bvtest::ItemBytes;
using bvtest::RecordHeader;
using bvtest::RunSteps;
using bvtest::RunTool;
using bvtest::TempFolder;
using bvtest::ToolRun;

class BvtoolRecordTest : public bvtest::InTempFolder {};

}  // namespace

TEST_F(BvtoolRecordTest, CfgSetCreatesTheFileAndGetReadsItBack)
{
    RunSteps({
        {"cfg set .\\\\Comp.BVC 1 1 680 'Bane Ås'", 0, ""},
        {"cfg set Comp.BVC 29 5 500 12", 0, ""},
        {"cfg set Comp.BVC 1 1 680 'Skive Ø'", 0, ""},
        {"cfg get comp.bvc 1 1 680", 0, "Skive Ø\n"},
        {"cfg get Comp.BVC 29 5 500", 0, "12\n"},
        {"cfg get Comp.BVC 1 1 681", 1, ""},
        {"cfg get Comp.BVC 0 1 680", 1, ""},
        {"cfg set Comp.BVC 1 1000 1 x", 1, ""},
        {"cfg set Comp.BVC 1 1 x 1", 1, ""},
        {"cfg set Comp.BVC 1 1 1 0123456789012345678901234567890123", 1, ""},
        {"cfg get Missing.bvc 1 1 1", 1, ""},
        {"cfg set NoFolder/x.bvc 1 1 1 x", 1, ""},
        {"cfg frob Comp.BVC 1 1 1", 1, ""},
    });
    // The file as the programs store it: Windows-1252 text in 36-byte items.
    EXPECT_EQ(TempFolder::Read("Comp.BVC"),
              RecordHeader(3, 36, 1) + ItemBytes(1001680, "Skive \xD8") + ItemBytes(5029500, "12"));
}

TEST_F(BvtoolRecordTest, CfgRefusesFilesOfAnotherLayout)
{
    TempFolder::Write("StartNr.bvd", RecordHeader(5, 4, 1));
    ToolRun r = RunTool("cfg get StartNr.bvd 1 1 1");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "bvtool: StartNr.bvd is not a configuration file (record size 4, version 1)\n");
    r = RunTool("cfg set StartNr.bvd 1 1 1 x");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(TempFolder::Read("StartNr.bvd"), RecordHeader(5, 4, 1));
}

TEST_F(BvtoolRecordTest, UniqueDrawsTheNextStartNumber)
{
    for (const char* expected : {"1\n", "2\n", "3\n"}) {
        ToolRun r = RunTool("unique StartNr.bvd");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, expected);
    }
    EXPECT_EQ(TempFolder::Read("StartNr.bvd"), RecordHeader(3, 4, 1));

    TempFolder::Write("Comp.bvc", RecordHeader(0, 36, 1));
    ToolRun r = RunTool("unique Comp.bvc");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "bvtool: Comp.bvc is not a start-number file (record size 36, version 1)\n");
}

TEST_F(BvtoolRecordTest, UniqueGivesUpOnAFileLockedByAnotherProgram)
{
    CBVFileEx holder;
    ASSERT_EQ(holder.Open("StartNr.bvd", 4, 1, 1, 0x82), 0);
    ASSERT_EQ(holder.CheckOpen(), 0);
    ASSERT_EQ(holder.Lock(), 0);
    ToolRun r = RunTool("unique StartNr.bvd");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "bvtool: no number drawn: StartNr.bvd is locked by another program or cannot be written\n");
    holder.CheckClose(0);
    EXPECT_EQ(RunTool("unique StartNr.bvd").out, "1\n");
}

TEST_F(BvtoolRecordTest, DumpShowsHeaderAndRecords)
{
    std::string record(20, '\0');
    std::memcpy(record.data(), "\x01\x00\x00\x00Ola \xC5s", 10);
    TempFolder::Write("Name.BVD", RecordHeader(7, 20, 3) + record + "\xFF\xFE");
    ToolRun r = RunTool("dump Name.BVD");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "file: Name.BVD\n"
              "change counter: 7\n"
              "record size: 20\n"
              "version: 3\n"
              "records: 1\n"
              "stray bytes after the last record: 2\n"
              "\n"
              "record 1 (offset 8)\n"
              "  0000  01 00 00 00 4f 6c 61 20 c5 73 00 00 00 00 00 00  ....Ola \xC3\x85s......\n"
              "  0010  00 00 00 00                                      ....\n"
              "\n"
              "stray bytes (offset 28)\n"
              "  0000  ff fe                                            \xC3\xBF\xC3\xBE\n");

    TempFolder::Write("short.bvd", "abc");
    r = RunTool("dump short.bvd");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "bvtool: short.bvd is too short for a record file header (3 bytes)\n");

    TempFolder::Write("zero.bvd", RecordHeader(1, 0, 1) + "xyz");
    r = RunTool("dump zero.bvd");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "file: zero.bvd\nchange counter: 1\nrecord size: 0\nversion: 1\n");
    EXPECT_EQ(r.err, "bvtool: record size 0: the records cannot be told apart\n");
}

TEST_F(BvtoolRecordTest, HelpListsTheRecordCommands)
{
    ToolRun r = RunTool("help");
    EXPECT_EQ(r.status, 0);
    for (const char* usage : {"bvtool dump FILE\n", "bvtool cfg get FILE SECTION INDEX KEY\n",
                              "bvtool cfg set FILE SECTION INDEX KEY TEXT\n", "bvtool unique FILE\n"})
        EXPECT_NE(r.out.find(usage), std::string::npos) << usage;
}
