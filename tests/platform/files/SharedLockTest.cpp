#include "platform/files/NativeFile.h"
#include "platform/files/SharedLock.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

using platform::NativeFile;

class SharedLockTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        bvtest::TempFolder::Write("f.ini", "[A]\r\n");
        for (NativeFile* f : {&a, &b, &c})
            ASSERT_EQ(f->OpenExisting("f.ini", NativeFile::Access::ReadWrite), 0);
    }
    NativeFile a, b, c;  // three opens of one file, as three programs have it
};

TEST_F(SharedLockTest, ReadersShareAndExcludeWriters)
{
    EXPECT_EQ(platform::TryLockShared(a, 0, 0), 0);
    EXPECT_EQ(platform::TryLockShared(b, 0, 0), 0);  // readers together
    EXPECT_EQ(c.TryLock(0, 0), EAGAIN);              // a writer waits for both
    a.Close();
    EXPECT_EQ(c.TryLock(0, 0), EAGAIN);
    b.Close();
    EXPECT_EQ(c.TryLock(0, 0), 0);
}

TEST_F(SharedLockTest, AWriterExcludesReaders)
{
    ASSERT_EQ(a.TryLock(0, 0), 0);
    EXPECT_EQ(platform::TryLockShared(b, 0, 0), EAGAIN);
    EXPECT_EQ(platform::TryLockShared(b, 100, 1), EAGAIN);  // the whole file, however far
    ASSERT_EQ(a.Unlock(0, 0), 0);
    EXPECT_EQ(platform::TryLockShared(b, 0, 0), 0);
}

}  // namespace
