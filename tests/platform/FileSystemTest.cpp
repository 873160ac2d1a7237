#include "platform/system/Clock.h"
#include "platform/files/FileSystem.h"
#include "platform/system/SystemInfo.h"
#include "platform/files/SystemPath.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

class FileSystemTest : public bvtest::InTempFolder {};

TEST_F(FileSystemTest, AtomicCreateMakesWholeFilesAndNeverReplacesOne)
{
    ASSERT_EQ(CreateFolder("Comp1"), 0);
    EXPECT_EQ(CreateFileAtomically(".\\Comp1\\Card.BVD", std::string("\0\0\0\0\x36\0\x02\0", 8)), 0);
    EXPECT_EQ(bvtest::TempFolder::Read("Comp1/Card.BVD"), std::string("\0\0\0\0\x36\0\x02\0", 8));

    bvtest::TempFolder::Write("Comp1/COMP.BVC", "theirs");
    EXPECT_EQ(CreateFileAtomically(".\\comp1\\Comp.bvc", "mine"), EEXIST);
    EXPECT_EQ(bvtest::TempFolder::Read("Comp1/COMP.BVC"), "theirs");
    EXPECT_EQ(CreateFileAtomically(".\\NoFolder\\x", "x"), ENOENT);
    EXPECT_EQ(FindFiles("Comp1", "*").size(), 2u);  // no temporary left behind
}

TEST_F(FileSystemTest, StatusTellsFileFolderMissingAndBlocked)
{
    bvtest::TempFolder::Write("file", "x");
    CreateFolder("dir");
    struct Case { const char* path; int status; };
    for (const Case& c : {Case{"FILE", 0}, Case{"dir", EISDIR}, Case{"none", ENOENT}, Case{"file\\below", ENOTDIR}})
        EXPECT_EQ(FileStatus(c.path), c.status) << c.path;
}

TEST_F(FileSystemTest, FolderTestLeavesNothingAndNeedsAFolder)
{
    CreateFolder("dir");
    bvtest::TempFolder::Write("file", "x");
    EXPECT_TRUE(CanCreateFileIn("dir"));
    EXPECT_TRUE(CanCreateFileIn(""));
    EXPECT_FALSE(CanCreateFileIn("file"));
    EXPECT_FALSE(CanCreateFileIn("missing"));
    EXPECT_EQ(FindFiles("dir", "*").size(), 0u);
}

TEST_F(FileSystemTest, SectorSizeIsAPowerOfTwoInRange)
{
    for (const char* path : {".", "missing"}) {
        int size = SectorSize(path);
        EXPECT_GE(size, 8) << path;
        EXPECT_LE(size, 8192) << path;
        EXPECT_EQ(size & (size - 1), 0) << path;
    }
    EXPECT_EQ(SectorSize("missing"), 512);
}

TEST_F(FileSystemTest, FoldersTemporaryFilesTimesAndCopies)
{
    EXPECT_EQ(CreateFolders(".\\a\\b\\c"), 0);
    EXPECT_TRUE(FolderExists(".\\A\\B\\C"));

    std::set<std::string> names;
    for (int i = 0; i < 20; ++i) {
        std::string t = MakeTempFile(".\\a", "BVD");
        ASSERT_FALSE(t.empty());
        EXPECT_TRUE(MatchesPattern(std::string(BaseName(t)), "BVD????.TMP")) << t;
        names.insert(t);
    }
    EXPECT_EQ(names.size(), 20u);

    bvtest::TempFolder::Write("src", "bytes");
    ASSERT_EQ(CopyFile("src", ".\\a\\copy"), 0);
    EXPECT_EQ(bvtest::TempFolder::Read("a/copy"), "bytes");

    LocalTime when{2025, 6, 14, 10, 30, 15, 250, 6};
    ASSERT_EQ(SetModifiedTime("src", when), 0);
    LocalTime got;
    ASSERT_TRUE(GetModifiedTime("SRC", got));
    EXPECT_EQ(got.year, 2025);
    EXPECT_EQ(got.month, 6);
    EXPECT_EQ(got.day, 14);
    EXPECT_EQ(got.hour, 10);
    EXPECT_EQ(got.minute, 30);
    EXPECT_EQ(got.second, 15);
    EXPECT_EQ(got.millisecond, 250);
    EXPECT_FALSE(GetModifiedTime("missing", got));
}

TEST(Clock, ManualClockReplacesTheMachinesAndItsTickWraps)
{
    ManualClock clock;
    clock.tick = 0xFFFFFFF0u;
    SetClock(&clock);
    clock.Advance(0x20);
    EXPECT_EQ(TickCount(), 0x10u);
    EXPECT_EQ(MonotonicUs(), 0x20 * 1000);
    clock.now.millisecond = 999;
    EXPECT_EQ(Now().millisecond, 999);
    SetClock(nullptr);
    LocalTime t = Now();
    EXPECT_GE(t.year, 2024);
    EXPECT_LT(t.millisecond, 1000);
}

TEST(SystemInfo, ComputerNameAndProcess)
{
    std::string name = ComputerName();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 15u);
    EXPECT_EQ(name.find('.'), std::string::npos);
    for (char c : name)
        EXPECT_FALSE(c >= 'a' && c <= 'z') << name;
    EXPECT_EQ(ProcessId(), static_cast<int>(getpid()));
}
