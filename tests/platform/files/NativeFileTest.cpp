#include "platform/files/NativeFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

class NativeFileTest : public bvtest::InTempFolder {};

TEST_F(NativeFileTest, ExclusiveCreateNeverTruncates)
{
    NativeFile a;
    ASSERT_EQ(a.CreateExclusive("f.bvd"), 0);
    ASSERT_EQ(a.WriteAt("12345678", 8, 0), 8);
    NativeFile b;
    EXPECT_EQ(b.CreateExclusive("f.bvd"), EEXIST);
    EXPECT_EQ(a.Size(), 8);
    EXPECT_EQ(b.OpenExisting("missing.bvd", NativeFile::Access::Read), ENOENT);
}

TEST_F(NativeFileTest, LockExcludesOtherOpensInThisProcess)
{
    NativeFile a, b;
    ASSERT_EQ(a.CreateExclusive("f.bvd"), 0);
    ASSERT_EQ(b.OpenExisting("f.bvd", NativeFile::Access::ReadWrite), 0);
    ASSERT_EQ(a.TryLock(0, 4), 0);
    EXPECT_EQ(b.TryLock(0, 4), EAGAIN);
    EXPECT_EQ(b.TryLock(4, 4), 0);  // other bytes are free
    {
        // Closing another descriptor of the same file keeps a's lock.
        NativeFile c;
        ASSERT_EQ(c.OpenExisting("f.bvd", NativeFile::Access::Read), 0);
    }
    EXPECT_EQ(b.TryLock(0, 4), EAGAIN);
    ASSERT_EQ(a.Unlock(0, 4), 0);
    EXPECT_EQ(b.TryLock(0, 4), 0);
}

TEST_F(NativeFileTest, LockExcludesOtherProcesses)
{
    NativeFile a;
    ASSERT_EQ(a.CreateExclusive("f.bvd"), 0);
    ASSERT_EQ(a.TryLock(0, 4), 0);
    pid_t child = fork();
    if (child == 0) {
        NativeFile b;
        if (b.OpenExisting("f.bvd", NativeFile::Access::ReadWrite) != 0)
            _exit(2);
        _exit(b.TryLock(0, 4) == EAGAIN ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(NativeFileTest, IdentityChangesWhenAFileIsReplaced)
{
    NativeFile a;
    ASSERT_EQ(a.CreateExclusive("f.bvd"), 0);
    FileIdentity first = a.Identity();
    EXPECT_EQ(IdentityOf("F.BVD"), first);
    NativeFile b;
    ASSERT_EQ(b.CreateExclusive("g.bvd"), 0);
    ASSERT_EQ(rename("g.bvd", "f.bvd"), 0);
    EXPECT_NE(IdentityOf("f.bvd"), first);
    EXPECT_EQ(IdentityOf("none"), FileIdentity{});
}

// Anyone can put a FIFO or a link to a device under an exchange file's name;
// an open of it, or a read, would wait for a writer for ever. Such names
// are refused at once, whatever the access.
TEST_F(NativeFileTest, OnlyPlainFilesOpenAndNothingWaitsForAWriter)
{
    ASSERT_EQ(::mkfifo("N00001.TXT", 0666), 0);
    ASSERT_EQ(::symlink("/dev/zero", "H1R00101.TXT"), 0);
    ASSERT_EQ(::mkdir("H1R00102.TXT", 0777), 0);
    const struct {
        const char* path;
        int error;
    } cases[] = {{"N00001.TXT", kNotRegularFile}, {"H1R00101.TXT", kNotRegularFile}, {"H1R00102.TXT", EISDIR}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        NativeFile f;
        EXPECT_EQ(f.OpenExisting(c.path, NativeFile::Access::Read), c.error);
        EXPECT_FALSE(f.IsOpen());
        EXPECT_EQ(f.OpenExisting(c.path, NativeFile::Access::ReadWrite), c.error);
        EXPECT_EQ(f.OpenOrCreate(c.path), c.error);
        EXPECT_FALSE(f.IsOpen());
    }
    NativeFile plain;
    ASSERT_EQ(plain.OpenOrCreate("N00002.TXT"), 0);
    EXPECT_EQ(plain.WriteAt("[Shooter]", 9, 0), 9);
    ASSERT_EQ(plain.OpenExisting("N00002.TXT", NativeFile::Access::Read), 0);
    char text[9];
    EXPECT_EQ(plain.ReadAt(text, sizeof text, 0), 9);
}
