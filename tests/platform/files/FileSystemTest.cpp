#include "platform/system/Clock.h"
#include "platform/files/FileSystem.h"
#include "platform/files/NativeFile.h"
#include "platform/system/SystemInfo.h"
#include "platform/files/SystemPath.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <set>

#include <sys/stat.h>
#include <sys/wait.h>
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

// Writers killed in the middle of an atomic write leave their temporary file;
// the next writer of the folder removes those whose writer is gone, and
// leaves alone the file of a writer still at work.
TEST_F(FileSystemTest, TheNextWriterRemovesTheTemporaryFilesOfKilledWriters)
{
    ASSERT_EQ(CreateFolder("BV"), 0);
    const std::string big(64 << 20, 'x');  // long enough to be caught writing
    auto writerTemps = [] { return FindFiles("BV", "~bvw*.TMP"); };
    for (int k = 0; k < 3; ++k) {
        const size_t before = writerTemps().size();
        pid_t pid = fork();
        if (pid == 0) {
            for (;;)
                WriteFileAtomically(".\\BV\\H1R00103.txt", big);
        }
        ASSERT_GT(pid, 0);
        for (int polls = 0; writerTemps().size() == before && polls < 20000; ++polls)
            usleep(100);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    std::vector<std::string> left = writerTemps();
    ASSERT_GE(left.size(), 3u) << "each killed writer left its file";

    // A writer at work: its file is held. And a file made this very moment,
    // whose writer has not locked it yet.
    NativeFile working;
    ASSERT_EQ(working.CreateExclusive(".\\BV\\~bvwBEEF.TMP"), 0);
    ASSERT_EQ(working.TryLock(0, 0), 0);
    bvtest::TempFolder::Write("BV/~bvwCAFE.TMP", "");
    // The killed writers' files are older than a moment.
    for (const std::string& name : left)
        std::filesystem::last_write_time("BV/" + name,
                                         std::filesystem::file_time_type::clock::now() - std::chrono::seconds(10));
    bvtest::TempFolder::Write("BV/~bvOTHER.TMP", "");  // another kind of temporary file
    std::filesystem::last_write_time("BV/~bvOTHER.TMP",
                                     std::filesystem::file_time_type::clock::now() - std::chrono::seconds(10));

    ASSERT_EQ(WriteFileAtomically(".\\BV\\Sponsor.txt", "[H1]\r\n"), 0);
    EXPECT_EQ(writerTemps(), (std::vector<std::string>{"~bvwBEEF.TMP", "~bvwCAFE.TMP"}));
    EXPECT_TRUE(FileExists(".\\BV\\~bvOTHER.TMP"));
    EXPECT_EQ(bvtest::TempFolder::Read("BV/Sponsor.txt"), "[H1]\r\n");
}

// A file larger than its reader will take is measured, never read: a huge
// (here sparse) file costs neither memory nor time.
TEST_F(FileSystemTest, ReadUpToALimitTakesTheSizeFromTheOpenFileFirst)
{
    bvtest::TempFolder::Write("Small.TXT", std::string(100, 'a'));
    {
        NativeFile huge;
        ASSERT_EQ(huge.OpenOrCreate("Huge.TXT"), 0);
        ASSERT_EQ(huge.Truncate(300ll << 20), 0);
    }
    ASSERT_EQ(::mkfifo("Fifo.TXT", 0666), 0);
    const struct {
        const char* path;
        int64_t limit;
        int rc;
        int64_t size;
        size_t bytes;
    } cases[] = {
        {"Small.TXT", 100, 0, 100, 100},
        {"Small.TXT", 99, EFBIG, 100, 0},
        {"Huge.TXT", 1 << 20, EFBIG, 300ll << 20, 0},
        {"Fifo.TXT", 1 << 20, kNotRegularFile, -1, 0},
        {"Missing.TXT", 1 << 20, ENOENT, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path << " " << c.limit);
        std::string bytes = "left from before";
        int64_t size = -1;
        EXPECT_EQ(ReadFileUpTo(c.path, bytes, c.limit, &size), c.rc);
        EXPECT_EQ(size, c.size);
        EXPECT_EQ(bytes.size(), c.bytes);
    }
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
