// bvtool res exchange on an exchange folder with what no range system
// writes: a result file of 300 MB, a FIFO under a result file's name, a line
// file of 2 MB, and the temporary files of atomic writers, one of them
// killed. What a run logs, what it leaves alone, and what it costs.
#include "FolderSums.h"
#include "RunCommand.h"
#include "TempFolder.h"
#include "platform/files/ArchiveFlag.h"
#include "platform/files/NativeFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using bvtest::RunSteps;
using bvtest::TempFolder;
namespace fs = std::filesystem;

class BvtoolExchangeFilesTest : public bvtest::InTempFolder {
protected:
    // Event 1 takes a result file per target, event 2 Q-NET line files;
    // shooter 1 on target 2 of event 1.
    void SetUp() override
    {
        fs::create_directories("res");
        RunSteps({{"res comp res 1 --exch-on 1"},
                  {"res event res 1 --series 3:3 --exch 1 --prefix H1 --targets 1-3"},
                  {"res event res 2 --series 3:3 --exch 2 --prefix H2 --targets 1-3"},
                  {"res shooter res 1 Kari"},
                  {"res entry res 1 1 2 1"}});
    }

    // The most memory a bvtool run held, in kB, its output going to a file;
    // -1 when it did not end well.
    static long PeakKilobytes(std::vector<std::string> args, const std::string& output)
    {
        args.insert(args.begin(), BV_BINARY_DIR "/tools/bvtool/bvtool");
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 1);
            execv(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return -1;
        return usage.ru_maxrss;
    }

    static void Aged(const std::string& path)
    {
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(10));
    }
};

TEST_F(BvtoolExchangeFilesTest, HugeFilesAndAFifoAreLoggedAndLeftAsTheyAre)
{
    TempFolder::Write("res/BV/H1R00101.TXT", "[Res]\r\nSer1=90 91 92\r\n");
    TempFolder::Write("res/BV/H1R00102.TXT", "[Res]\r\nSer1=80 81 82\r\n");
    ASSERT_EQ(::truncate("res/BV/H1R00102.TXT", 300l << 20), 0);  // sparse: no disk, but 300 MB to read
    ASSERT_EQ(::mkfifo("res/BV/H1R00103.TXT", 0666), 0);
    TempFolder::Write("res/BV/H2-01-0.001", "01: 999\r\n");
    ASSERT_EQ(::truncate("res/BV/H2-01-0.001", 2l << 20), 0);
    for (const char* name : {"H1R00101.TXT", "H1R00102.TXT"})
        ASSERT_EQ(platform::SetArchiveFlag(std::string(".\\res\\BV\\") + name, true), 0);
    const std::string huge = "H1R00102.TXT";
    const auto hugeBefore = bvtest::FolderSums("res/BV")[huge];

    // The run stays small: nothing of the huge files is held in memory.
    const long peak = PeakKilobytes({"res", "exchange", "res"}, "run.out");
    EXPECT_GT(peak, 0);
    EXPECT_LT(peak, 200l << 10);
    RecordProperty("peak_kB", static_cast<int>(peak));
    // Everything of event 1 was read, its name written; nothing of event 2.
    EXPECT_EQ(TempFolder::Read("run.out"), "run\t1\t1\t1\t1\nrun\t1\t2\t0\t0\n");
    bvtest::ToolRun card = bvtest::RunTool("res card res 1 1 1");

    const std::string log = TempFolder::Read("res/BVLog.txt");
    for (const char* line : {".\\BV\\H1R00102.TXT: 314572800 bytes, more than 1048576; not read",
                             ".\\BV\\$$H2-01-0.001: 2097152 bytes, more than 1048576; not read"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    EXPECT_NE(card.out.find("\t90\t"), std::string::npos) << card.out;
    card = bvtest::RunTool("res card res 1 1 2");
    EXPECT_EQ(card.out.find("\t80\t"), std::string::npos) << card.out;

    // The huge file got no start number (it was not rewritten); the FIFO,
    // which no listing of result files shows, is still one; the line file was taken aside, as any line file is, and
    // put with the files read, not read again every run.
    const auto after = bvtest::FolderSums("res/BV");
    EXPECT_EQ(after.at(huge), hugeBefore);
    EXPECT_EQ(after.at("H1R00103.TXT"), "fifo");
    EXPECT_EQ(fs::file_size("res/BV/$H2-01-0.001"), 2u << 20);
    EXPECT_FALSE(fs::exists("res/BV/H2-01-0.001"));
    EXPECT_FALSE(fs::exists("res/BV/$$H2-01-0.001"));
}

// The atomic writer's temporary files: one left by a writer that died, in
// the exchange folder and in the competition's; one that a writer at work
// holds; one made a moment ago. The run writes nothing through the atomic
// writer, and yet the dead writers' files go, and only they.
TEST_F(BvtoolExchangeFilesTest, TheFirstRunRemovesTheTemporaryFilesOfDeadWriters)
{
    TempFolder::Write("res/BV/H1R00101.TXT", "[Res]\r\nSer1=90 91 92\r\n");
    RunSteps({{"res exchange res", 0, "run\t1\t1\t1\t1\nrun\t1\t2\t0\t0\n"}});
    const auto before = bvtest::FolderSums("res/BV");

    TempFolder::Write("res/BV/~bvw1A2B.TMP", "[Res]\r\nSer1=");
    Aged("res/BV/~bvw1A2B.TMP");
    TempFolder::Write("res/Comp1/~bvw3C4D.TMP", "");
    Aged("res/Comp1/~bvw3C4D.TMP");
    platform::NativeFile working;
    ASSERT_EQ(working.CreateExclusive(".\\res\\BV\\~bvwBEEF.TMP"), 0);
    ASSERT_EQ(working.TryLock(0, 0), 0);
    Aged("res/BV/~bvwBEEF.TMP");
    TempFolder::Write("res/BV/~bvwCAFE.TMP", "");

    RunSteps({{"res exchange res", 0, "run\t1\t1\t1\t1\nrun\t1\t2\t0\t0\n"}});
    auto after = bvtest::FolderSums("res/BV");
    EXPECT_FALSE(fs::exists("res/BV/~bvw1A2B.TMP"));
    EXPECT_FALSE(fs::exists("res/Comp1/~bvw3C4D.TMP"));
    EXPECT_EQ(after.erase("~bvwBEEF.TMP") + after.erase("~bvwCAFE.TMP"), 2u);
    EXPECT_EQ(after, before);
    const std::string log = TempFolder::Read("res/BVLog.txt");
    EXPECT_NE(log.find("1 temporary file(s) of a writer that died removed from .\\BV"), std::string::npos) << log;
    EXPECT_NE(log.find("1 temporary file(s) of a writer that died removed from .\\Comp1\\"), std::string::npos)
        << log;
}

}  // namespace
