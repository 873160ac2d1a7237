#include "platform/files/NativeFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>

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
