// The range's name import on an exchange folder that holds what no results
// program writes: a FIFO and a huge file under name files' names. The import
// neither hangs nor reads them; it logs each by name, and changes no file.
#include "FolderSums.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using bvtest::TempFolder;

class BvtoolImportFilesTest : public bvtest::InTempFolder {};

TEST_F(BvtoolImportFilesTest, AFifoAndAHugeNameFileAreLoggedAndSkipped)
{
    std::filesystem::create_directories("BV");
    std::filesystem::create_directories("range");
    ASSERT_EQ(bvtest::RunTool("comp create range 1 1-3").status, 0);
    // Lanes 1 to 3 of relay 1 have start numbers 1 to 3.
    for (int lane = 1; lane <= 3; ++lane)
        TempFolder::Write("BV/H1R0010" + std::to_string(lane) + ".txt",
                          "[Def]\r\nStartNr=" + std::to_string(lane) + "\r\n");
    ASSERT_EQ(::mkfifo("BV/N00001.TXT", 0666), 0);
    TempFolder::Write("BV/N00002.TXT", "[Shooter]\r\nName=Ola\r\n");
    ASSERT_EQ(::truncate("BV/N00002.TXT", 300l << 20), 0);
    TempFolder::Write("BV/N00003.TXT", "[Shooter]\r\nName=Kari Nordmann\r\n");
    const auto before = bvtest::FolderSums("BV");

    // A hang here is the fault: the timeout ends it as a failure.
    int status = -1;
    const std::string out = bvtest::RunCommand("timeout 60 " BV_BINARY_DIR "/tools/bvtool/bvtool import range 1 1 BV", &status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(out, "  1      1 \n  2      2 \n  3      3 Kari Nordmann\n");
    const std::string log = TempFolder::Read("BVLog.txt");
    EXPECT_NE(log.find("BV\\N00001.txt is no plain file; not read"), std::string::npos) << log;
    EXPECT_NE(log.find("BV\\N00002.txt: 314572800 bytes, more than 1048576; not read"), std::string::npos) << log;
    EXPECT_EQ(bvtest::FolderSums("BV"), before);
}

// A results program that writes a column file per relay: one of 300 MB is
// not read (nor indexed line by line), and no lane takes a name from it.
TEST_F(BvtoolImportFilesTest, AHugeColumnFileIsLoggedAndSkipped)
{
    std::filesystem::create_directories("BV");
    std::filesystem::create_directories("range");
    bvtest::RunSteps({{"comp create range 1 1-3", 0, ""}, {"cfg set range/BVLeder.bvc 1 1 15 3"}});
    TempFolder::Write("BV/H1-XX-s.001", " 1          Sen Kari\r\n");
    ASSERT_EQ(::truncate("BV/H1-XX-s.001", 300l << 20), 0);
    const auto before = bvtest::FolderSums("BV");

    int status = -1;
    const std::string out = bvtest::RunCommand("timeout 60 " BV_BINARY_DIR "/tools/bvtool/bvtool import range 1 1 BV", &status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(out, "");
    const std::string log = TempFolder::Read("BVLog.txt");
    EXPECT_NE(log.find("BV\\H1-XX-s.001: 314572800 bytes, more than 1048576; not read"), std::string::npos) << log;
    EXPECT_EQ(bvtest::FolderSums("BV"), before);
}

}  // namespace
