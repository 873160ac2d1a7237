// The "unread" mark of exchange files, kept as an extended attribute or, on a
// file system without them, as a marker file; every case runs both ways.
#include "platform/files/ArchiveFlag.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using bvtest::TempFolder;
using platform::ArchiveStore;

class ArchiveFlagTest : public bvtest::InTempFolder, public testing::WithParamInterface<ArchiveStore> {
protected:
    void SetUp() override { platform::SetArchiveStore(GetParam()); }
    void TearDown() override { platform::SetArchiveStore(ArchiveStore::Auto); }
};

TEST_P(ArchiveFlagTest, SetClearAndMissing)
{
    TempFolder::Write("R.TXT", "x");
    EXPECT_FALSE(platform::HasArchiveFlag("R.TXT"));
    EXPECT_EQ(platform::SetArchiveFlag(".\\r.txt", true), 0);  // any letter case, as the programs spell it
    EXPECT_TRUE(platform::HasArchiveFlag("R.TXT"));
    EXPECT_EQ(platform::SetArchiveFlag("R.TXT", true), 0);
    EXPECT_TRUE(platform::HasArchiveFlag("r.txt"));
    EXPECT_EQ(platform::SetArchiveFlag("R.TXT", false), 0);
    EXPECT_FALSE(platform::HasArchiveFlag("R.TXT"));
    EXPECT_EQ(platform::SetArchiveFlag("R.TXT", false), 0);
    EXPECT_EQ(TempFolder::Read("R.TXT"), "x");  // the contents are never touched

    EXPECT_FALSE(platform::HasArchiveFlag("Missing.TXT"));
    EXPECT_EQ(platform::SetArchiveFlag("Missing.TXT", true), ENOENT);
    EXPECT_FALSE(platform::TestAndClearArchiveFlag("Missing.TXT"));
}

TEST_P(ArchiveFlagTest, TestAndClearTakesTheMarkOnce)
{
    TempFolder::Write("H1R00101.TXT", "[Def]\r\n");
    ASSERT_EQ(platform::SetArchiveFlag("H1R00101.TXT", true), 0);
    EXPECT_TRUE(platform::TestAndClearArchiveFlag("H1R00101.TXT"));
    EXPECT_FALSE(platform::HasArchiveFlag("H1R00101.TXT"));
    EXPECT_FALSE(platform::TestAndClearArchiveFlag("H1R00101.TXT"));
    // Rewritten: unread again.
    ASSERT_EQ(platform::SetArchiveFlag("H1R00101.TXT", true), 0);
    EXPECT_TRUE(platform::TestAndClearArchiveFlag("h1r00101.txt"));
}

TEST_P(ArchiveFlagTest, OfManyImportersAtOnceOnlyOneTakesTheFile)
{
    TempFolder::Write("H1R00101.TXT", "[Def]\r\n");
    for (int round = 0; round < 5; ++round) {
        ASSERT_EQ(platform::SetArchiveFlag("H1R00101.TXT", true), 0);
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        constexpr int kImporters = 6;
        for (int i = 0; i < kImporters; ++i) {
            if (fork() == 0) {
                char go;
                ssize_t n = read(pipeFds[0], &go, 1);  // start together
                _exit(n == 1 && platform::TestAndClearArchiveFlag("H1R00101.TXT") ? 1 : 0);
            }
        }
        close(pipeFds[0]);
        char go[kImporters] = {};
        ASSERT_EQ(write(pipeFds[1], go, kImporters), kImporters);
        close(pipeFds[1]);
        int taken = 0;
        for (int i = 0; i < kImporters; ++i) {
            int status = 0;
            wait(&status);
            taken += WIFEXITED(status) ? WEXITSTATUS(status) : 100;
        }
        EXPECT_EQ(taken, 1) << "round " << round;
    }
}

// An importer clears the mark once the file's contents are stored: the mark
// of a file that replaced the one read in the meantime is news, and stays.
TEST_P(ArchiveFlagTest, ClearingAfterTheReadSparesTheMarkOfANewerFile)
{
    TempFolder::Write("H1R00101.TXT", "[Res]\r\nSer1=90\r\n");
    ASSERT_EQ(platform::SetArchiveFlag("H1R00101.TXT", true), 0);
    const std::string native = platform::NativePath("H1R00101.TXT");
    const platform::FileIdentity read = platform::IdentityOf("H1R00101.TXT");
    ASSERT_TRUE(platform::HasArchiveFlagResolved(native));

    // The range control rewrites the file while it is taken in.
    ASSERT_EQ(platform::WriteFileAtomically("H1R00101.TXT", "[Res]\r\nSer1=91\r\n"), 0);
    ASSERT_EQ(platform::SetArchiveFlag("H1R00101.TXT", true), 0);
    EXPECT_EQ(platform::ClearArchiveFlagOf(native, read), 0);
    EXPECT_TRUE(platform::HasArchiveFlag("H1R00101.TXT"));

    EXPECT_EQ(platform::ClearArchiveFlagOf(native, platform::IdentityOf("H1R00101.TXT")), 0);
    EXPECT_FALSE(platform::HasArchiveFlagResolved(native));
    EXPECT_EQ(TempFolder::Read("H1R00101.TXT"), "[Res]\r\nSer1=91\r\n");
    EXPECT_EQ(platform::ClearArchiveFlagOf(platform::NativePath("Missing.TXT"), read), ENOENT);
}

INSTANTIATE_TEST_SUITE_P(Stores, ArchiveFlagTest, testing::Values(ArchiveStore::Auto, ArchiveStore::MarkerFile),
                         [](const auto& info) {
                             return info.param == ArchiveStore::Auto ? std::string("Attribute")
                                                                     : std::string("MarkerFile");
                         });

class ArchiveFlagStoresTest : public bvtest::InTempFolder {
protected:
    void TearDown() override { platform::SetArchiveStore(ArchiveStore::Auto); }
};

TEST_F(ArchiveFlagStoresTest, AttributeWhereTheFileSystemHasThemMarkerFileElsewhere)
{
    TempFolder::Write("a.txt", "x");
    ASSERT_EQ(platform::SetArchiveFlag("a.txt", true), 0);
    // The test folder lies on a file system with user attributes: no marker.
    EXPECT_FALSE(std::filesystem::exists(".a.txt.archive"));

    platform::SetArchiveStore(ArchiveStore::MarkerFile);
    TempFolder::Write("b.txt", "x");
    ASSERT_EQ(platform::SetArchiveFlag("b.txt", true), 0);
    EXPECT_TRUE(std::filesystem::exists(".b.txt.archive"));

    // A machine that has attributes still sees a mark made where there were
    // none, and clearing takes both away.
    platform::SetArchiveStore(ArchiveStore::Auto);
    EXPECT_TRUE(platform::HasArchiveFlag("b.txt"));
    EXPECT_TRUE(platform::TestAndClearArchiveFlag("b.txt"));
    EXPECT_FALSE(std::filesystem::exists(".b.txt.archive"));
    EXPECT_TRUE(platform::TestAndClearArchiveFlag("a.txt"));
    EXPECT_FALSE(platform::HasArchiveFlag("a.txt"));
}

TEST_F(ArchiveFlagStoresTest, AMarkerOfAFileThatIsGoneMarksNothing)
{
    platform::SetArchiveStore(ArchiveStore::MarkerFile);
    TempFolder::Write("c.txt", "x");
    ASSERT_EQ(platform::SetArchiveFlag("c.txt", true), 0);
    std::filesystem::remove("c.txt");
    EXPECT_FALSE(platform::HasArchiveFlag("c.txt"));
    EXPECT_FALSE(platform::TestAndClearArchiveFlag("c.txt"));
    EXPECT_FALSE(std::filesystem::exists(".c.txt.archive"));
}

}  // namespace
