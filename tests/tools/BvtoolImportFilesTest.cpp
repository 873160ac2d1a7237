// The range's name import on an exchange folder that holds what no results
// program writes: a FIFO and a huge file under name files' names. The import
// neither hangs nor reads them; it logs each by name, and changes no file.
#include "FolderSums.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using bvtest::TempFolder;

class BvtoolImportFilesTest : public bvtest::InTempFolder {
protected:
    // Range folder "range" with competition 1 on lanes 1-3, exchange folder "BV".
    void SetUp() override
    {
        std::filesystem::create_directories("BV");
        std::filesystem::create_directories("range");
        bvtest::RunSteps({{"comp create range 1 1-3", 0, ""}});
    }

    // The import of relay 1's names: it must give out and log each of the
    // lines, and change no file of the exchange folder. A hang is the fault
    // itself: the timeout ends it as a failure.
    static void ImportGives(const std::string& out, const std::vector<std::string>& logged)
    {
        const auto before = bvtest::FolderSums("BV");
        int status = -1;
        EXPECT_EQ(bvtest::RunCommand("timeout 60 " BV_BINARY_DIR "/tools/bvtool/bvtool import range 1 1 BV", &status),
                  out);
        EXPECT_EQ(status, 0);
        const std::string log = TempFolder::Read("BVLog.txt");
        for (const std::string& line : logged)
            EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
        EXPECT_EQ(bvtest::FolderSums("BV"), before);
    }
};

TEST_F(BvtoolImportFilesTest, AFifoAndAHugeNameFileAreLoggedAndSkipped)
{
    // Lanes 1 to 3 of relay 1 have start numbers 1 to 3.
    for (int lane = 1; lane <= 3; ++lane)
        TempFolder::Write("BV/H1R0010" + std::to_string(lane) + ".txt",
                          "[Def]\r\nStartNr=" + std::to_string(lane) + "\r\n");
    ASSERT_EQ(::mkfifo("BV/N00001.TXT", 0666), 0);
    TempFolder::Write("BV/N00002.TXT", "[Shooter]\r\nName=Ola\r\n");
    ASSERT_EQ(::truncate("BV/N00002.TXT", 300l << 20), 0);
    TempFolder::Write("BV/N00003.TXT", "[Shooter]\r\nName=Kari Nordmann\r\n");
    ImportGives("  1      1 \n  2      2 \n  3      3 Kari Nordmann\n",
                {"BV\\N00001.txt is no plain file; not read",
                 "BV\\N00002.txt: 314572800 bytes, more than 1048576; not read"});
}

// A results program that writes a column file per relay: one of 300 MB is
// not read (nor indexed line by line), and no lane takes a name from it.
TEST_F(BvtoolImportFilesTest, AHugeColumnFileIsLoggedAndSkipped)
{
    bvtest::RunSteps({{"cfg set range/BVLeder.bvc 1 1 15 3"}});
    TempFolder::Write("BV/H1-XX-s.001", " 1          Sen Kari\r\n");
    ASSERT_EQ(::truncate("BV/H1-XX-s.001", 300l << 20), 0);
    ImportGives("", {"BV\\H1-XX-s.001: 314572800 bytes, more than 1048576; not read"});
}

}  // namespace
