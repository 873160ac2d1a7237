// A read-modify-write of settings items inside the lock bracket: no other
// writer gets between the read and the write.
#include "TempFolder.h"
#include "foundation/files/BVConfig.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

class BVConfigLockTest : public bvtest::InTempFolder {};

TEST_F(BVConfigLockTest, CountersRaisedByFourWritersLoseNoStep)
{
    {
        CBVConfig made;
        made.Open(".\\Shared.bvc", 1);
        ASSERT_TRUE(made.IsOpen());
    }
    // Each writer has a file of its own, as another program would.
    std::vector<std::thread> writers;
    std::vector<int> failures(4, 0);
    for (int w = 0; w < 4; ++w)
        writers.emplace_back([w, &failures] {
            CBVConfig store;
            store.Open(".\\Shared.bvc", 1);
            for (int i = 0; i < 50;) {
                if (store.Lock() != 0) {
                    ++failures[static_cast<size_t>(w)];  // busy past the retries: try again
                    continue;
                }
                // The value read under the lock is the file's latest.
                int value = store.ReadInt(2, 1, 1, 0);
                store.WriteInt(2, 1, 1, value + 1);
                store.WriteInt(2, 1, 2, store.ReadInt(2, 1, 2, 0) + 1);
                store.Unlock();
                ++i;
            }
        });
    for (auto& t : writers)
        t.join();
    CBVConfig reader;
    reader.Open(".\\Shared.bvc", 0);
    EXPECT_EQ(reader.ReadInt(2, 1, 1, 0), 200);
    EXPECT_EQ(reader.ReadInt(2, 1, 2, 0), 200);
}

TEST_F(BVConfigLockTest, ABracketIsRefusedWhileAnotherHoldsIt)
{
    CBVConfig a, b, closed;
    a.Open(".\\Shared.bvc", 1);
    b.Open(".\\Shared.bvc", 1);
    ASSERT_EQ(a.Lock(), 0);
    EXPECT_LT(b.Lock(), 0);
    // Writes inside the bracket keep the lock until Unlock.
    a.WriteInt(3, 1, 1, 7);
    EXPECT_LT(b.Lock(), 0);
    EXPECT_EQ(a.Unlock(), 0);
    ASSERT_EQ(b.Lock(), 0);
    EXPECT_EQ(b.ReadInt(3, 1, 1, 0), 7);
    EXPECT_EQ(b.Unlock(), 0);
    EXPECT_LT(closed.Lock(), 0);
}

}  // namespace
