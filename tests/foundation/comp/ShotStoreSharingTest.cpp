// Several programs on one range folder at once: two writers storing shots on
// the same cards and a reader polling the change counters, each a process
// of its own as on a range.
#include "foundation/comp/DataComp.h"
#include "platform/files/NativeFile.h"
#include "RangeFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <map>
#include <set>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using bvtest::MakeCard;
using bvtest::MakeShot;
using bvtest::TempFolder;

constexpr int kLane = 5;
constexpr int kShotsPerWriter = 200;

// A card holds 250 shots; the 400 go to the cards of relays 1 and 2 on one
// lane, each written by both writers at once.
int RelayOf(int k) { return 1 + k % 2; }

int32_t ShotFileCounter()
{
    platform::NativeFile f;
    int32_t counter = -1;
    if (f.OpenExisting("Comp1\\Shot.BVD", platform::NativeFile::Access::Read) == 0)
        f.ReadAt(&counter, 4, 0);
    return counter;
}

int CountShots(const ShotListRecord& list)
{
    int n = 0;
    for (const ShotRecord& s : list.shots)
        n += s.state == CDataComp::kSlotShot;
    return n;
}

[[noreturn]] void Writer(int id, int startFd)
{
    CDataComp dc;
    if (dc.Open(1, 1) != 0)
        _exit(10);
    char go;
    if (read(startFd, &go, 1) != 1)
        _exit(11);
    // Both writers ask for both cards at once: each card is made once.
    for (int relay : {1, 2}) {
        CardRecord card = MakeCard(relay, kLane);
        if (dc.GetCard(card, 1) < 0)
            _exit(12);
    }
    for (int k = 0; k < kShotsPerWriter; ++k) {
        ShotRecord shot = MakeShot(1, 1000, id * 1000 + k, k);
        if (dc.AddShot(RelayOf(k), kLane, shot, nullptr, CDataComp::kSlots, 0) <= 0)
            _exit(13);
    }
    _exit(0);
}

// Polls like the display program: it looks at the shot file's change
// counter and reads the cards' lists again only when it moved, reading the
// counter before the lists (a write after that moves it again). Such a
// reader must end up with what the writers stored, and every list it reads
// must be one a writer left whole. Writes the first thing it finds wrong to
// poller.txt; exits 0 when all was well.
[[noreturn]] void Poller(int doneFd)
{
    FILE* report = std::fopen("poller.txt", "w");
    auto fail = [&](const char* what, int a, int b) {
        std::fprintf(report, "%s (%d, %d)\n", what, a, b);
        std::fclose(report);
        _exit(1);
    };
    CDataComp dc;
    if (dc.Open(1, 0) != 0)
        fail("open", 0, 0);
    int32_t seen = 0;  // the file counter the reader's lists go with
    std::map<int, int32_t> listCounter;
    std::map<int, int> shots;
    int reads = 0;
    fcntl(doneFd, F_SETFL, O_NONBLOCK);
    for (bool last = false;;) {
        char done;
        bool finished = read(doneFd, &done, 1) == 1;
        const int32_t file = ShotFileCounter();
        if (file < seen)
            fail("file counter went back", seen, file);
        if (file != seen) {
            seen = file;
            ++reads;
            for (int relay : {1, 2}) {
                ShotListRecord list;
                if (dc.ReadShots(relay, kLane, list) != 0)
                    continue;  // no card or list yet
                const int n = CountShots(list);
                if (list.updateCounter < listCounter[relay])
                    fail("list counter went back", listCounter[relay], list.updateCounter);
                if (n < shots[relay])
                    fail("shots went missing", shots[relay], n);
                // An even counter: every write before it is complete (the
                // second bump of a shot comes after its list is written).
                if (list.updateCounter % 2 == 0 && n != list.updateCounter / 2)
                    fail("a whole list with the wrong shots", list.updateCounter, n);
                listCounter[relay] = list.updateCounter;
                shots[relay] = n;
            }
        }
        if (last)
            break;
        last = finished;  // one more look after the writers have ended
    }
    for (int relay : {1, 2})
        if (shots[relay] != kShotsPerWriter || listCounter[relay] != 2 * kShotsPerWriter)
            fail("the reader was left with an old list", shots[relay], listCounter[relay]);
    // Two lists made, two counter bumps per shot.
    if (seen != 2 + 4 * kShotsPerWriter)
        fail("final file counter", seen, 2 + 4 * kShotsPerWriter);
    std::fprintf(report, "ok %d\n", reads);
    std::fclose(report);
    _exit(0);
}

class ShotStoreSharingTest : public bvtest::RangeTest {};

TEST_F(ShotStoreSharingTest, TwoWritersStoreEveryShotOnceAndAReaderSeesEveryChange)
{
    {
        CDataComp maker;
        OpenComp(maker);
    }
    int start[2], done[2];
    ASSERT_EQ(pipe(start), 0);
    ASSERT_EQ(pipe(done), 0);
    pid_t writers[2];
    for (int id = 1; id <= 2; ++id) {
        writers[id - 1] = fork();
        if (writers[id - 1] == 0)
            Writer(id, start[0]);
    }
    pid_t poller = fork();
    if (poller == 0)
        Poller(done[0]);
    ASSERT_EQ(write(start[1], "gg", 2), 2);
    for (pid_t w : writers) {
        int status = 0;
        waitpid(w, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer status " << status;
    }
    ASSERT_EQ(write(done[1], "d", 1), 1);
    int status = 0;
    waitpid(poller, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << TempFolder::Read("poller.txt");
    EXPECT_EQ(TempFolder::Read("poller.txt").rfind("ok ", 0), 0u) << TempFolder::Read("poller.txt");

    // One card per relay, one list per card, each of the 400 shots once.
    CDataComp dc;
    OpenComp(dc);
    EXPECT_EQ(dc.CardFile().GetRecCount(), 2);
    EXPECT_EQ(dc.ShotFile().GetRecCount(), 2);
    for (int relay : {1, 2}) {
        ShotListRecord list;
        ASSERT_EQ(dc.ReadShots(relay, kLane, list), 0);
        std::set<int> stored;
        for (const ShotRecord& s : list.shots)
            if (s.state == CDataComp::kSlotShot)
                EXPECT_TRUE(stored.insert(int{s.x}).second) << "twice: " << int{s.x};
        std::set<int> sent;
        for (int id = 1; id <= 2; ++id)
            for (int k = 0; k < kShotsPerWriter; ++k)
                if (RelayOf(k) == relay)
                    sent.insert(id * 1000 + k);
        EXPECT_EQ(stored, sent) << "relay " << relay;
    }
}

}  // namespace
