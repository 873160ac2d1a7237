// Record files shared by several programs at once, and programs that die in
// the middle of a write. Each "program" is a forked process with record file
// objects of its own (made after the fork: an open file and its lock must not
// be shared with the parent).
#include "foundation/files/BVFileEx.h"
#include "platform/files/FileSystem.h"
#include "platform/files/NativeFile.h"
#include "RecordBytes.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using bvtest::kCachedRW;
using bvtest::kPlainRW;
constexpr uint8_t kPlainRead = 0x80;

// A working folder per test. In memory when the machine has /dev/shm: the
// locks and the journal are what these tests are about, not the disk's speed.
class SharedFolder : public testing::Test {
protected:
    SharedFolder() { Put("BVLog.ini", "[BVLog]\r\nLevel=0\r\n"); }

    static std::string Bytes(const std::string& path) { return bvtest::TempFolder::Read(path); }
    static void Put(const std::string& path, const std::string& bytes) { bvtest::TempFolder::Write(path, bytes); }
    static bool Logged(const std::string& text) { return Bytes("BVLog.txt").find(text) != std::string::npos; }

    bvtest::TempFolder m_folder{bvtest::TempFolder::InMemory};
};

using bvtest::RecordHeader;

pid_t Spawn(const std::function<int()>& body)
{
    pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    return pid;
}

// The exit status, or 128 + the signal that ended it.
int Wait(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// True when every byte of the record is the same (a record is written whole
// with one byte value, so two values mean a record half old and half new).
bool Uniform(const std::string& record) { return std::all_of(record.begin(), record.end(), [&](char c) { return c == record[0]; }); }

}  // namespace

// ---------------------------------------------------------------------------
// Several programs at once

TEST_F(SharedFolder, EightProgramsDrawDistinctConsecutiveStartNumbers)
{
    constexpr int kPrograms = 8, kEach = 1000;
    {
        CBVFileEx f;
        ASSERT_EQ(f.Open("StartNr.bvd", 4, 1, 1, kPlainRW), 0);
    }
    std::vector<pid_t> pids;
    for (int p = 0; p < kPrograms; ++p)
        pids.push_back(Spawn([p] {
            CBVFileEx f;
            if (f.Open("StartNr.bvd", 4, 1, 0, kPlainRW) != 0)
                return 2;
            std::vector<int32_t> numbers;
            // A caller treats 0 as "no number this time" and asks again; a
            // number that was handed out is never lost or repeated.
            for (int attempts = 0; numbers.size() < kEach && attempts < 20 * kEach; ++attempts)
                if (int32_t n = f.GetUnique(); n != 0)
                    numbers.push_back(n);
            std::ofstream out("numbers" + std::to_string(p), std::ios::binary);
            out.write(reinterpret_cast<const char*>(numbers.data()), static_cast<std::streamsize>(numbers.size() * 4));
            return numbers.size() == kEach ? 0 : 3;
        }));
    for (pid_t pid : pids)
        EXPECT_EQ(Wait(pid), 0);

    std::vector<int32_t> all;
    for (int p = 0; p < kPrograms; ++p) {
        std::string bytes = Bytes("numbers" + std::to_string(p));
        std::vector<int32_t> numbers(bytes.size() / 4);
        std::memcpy(numbers.data(), bytes.data(), numbers.size() * 4);
        EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end())) << "program " << p;
        all.insert(all.end(), numbers.begin(), numbers.end());
    }
    std::sort(all.begin(), all.end());
    ASSERT_EQ(all.size(), static_cast<size_t>(kPrograms * kEach));
    for (int i = 0; i < kPrograms * kEach; ++i)
        ASSERT_EQ(all[static_cast<size_t>(i)], i + 1);
    EXPECT_EQ(Bytes("StartNr.bvd"), RecordHeader(kPrograms * kEach, 4, 1));
}

TEST_F(SharedFolder, FourWritersAddingAndRewritingOneRecordLoseNothing)
{
    // Record 1 holds a tally that every writer raises by read-modify-write in
    // a bracket; each writer also appends its own records and updates ten
    // keys that all of them share.
    constexpr int kWriters = 4, kRounds = 150, kShared = 10, kSize = 64;
    struct Rec {
        int32_t key;
        int32_t tally;
        int32_t writer;
        char pad[kSize - 12];
    };
    static_assert(sizeof(Rec) == kSize);
    {
        CBVFileEx f;
        ASSERT_EQ(f.Open("Shared.bvd", kSize, 1, 1, kCachedRW), 0);
        Rec first{};
        int n = 0;
        ASSERT_EQ(f.AddRec(n, &first), 0);
    }
    std::vector<pid_t> pids;
    for (int w = 1; w <= kWriters; ++w)
        pids.push_back(Spawn([w] {
            CBVFileEx f;
            if (f.Open("Shared.bvd", kSize, 1, 0, kCachedRW) != 0)
                return 2;
            for (int round = 0; round < kRounds; ++round) {
                bool done = false;
                for (int attempt = 0; attempt < 50 && !done; ++attempt) {
                    if (f.CheckOpen() != 0)
                        continue;
                    // Two rises in one bracket: the second read must still be
                    // under the lock that the first write kept.
                    Rec r{};
                    if (f.Lock() == 0 && f.ReadRecDirect(1, &r) == 0) {
                        ++r.tally;
                        done = f.WriteRec(1, &r) == 0 && f.ReadRecDirect(1, &r) == 0;
                        ++r.tally;
                        done = done && f.WriteRec(1, &r) == 0;
                    }
                    if (f.CheckClose(0) != 0)
                        return 4;  // a write that may not have reached the disk
                }
                Rec own{};
                own.key = w * 100000 + round;
                own.writer = w;
                int n = 0;
                for (int attempt = 0; attempt < 50 && f.AddRec(n, &own) != 0; ++attempt) {
                }
                Rec shared{};
                shared.key = 900000 + round % kShared;
                shared.writer = w;
                bool updated = false;
                for (int attempt = 0; attempt < 50 && !updated; ++attempt)
                    updated = f.WriteRecKey(&shared) == 0;
                if (!done || n == 0 || !updated)
                    return 3;
            }
            return 0;
        }));
    for (pid_t pid : pids)
        EXPECT_EQ(Wait(pid), 0);

    CBVFileEx f;
    ASSERT_EQ(f.Open("Shared.bvd", kSize, 1, 0, kCachedRW), 0);
    ASSERT_EQ(f.GetRecCount(), 1 + kWriters * kRounds + kShared);
    std::map<int32_t, int> seen;
    for (int n = 1; n <= f.GetRecCount(); ++n) {
        Rec r{};
        ASSERT_EQ(f.ReadRec(n, &r), 0);
        ++seen[r.key];
        if (n == 1)
            EXPECT_EQ(r.tally, 2 * kWriters * kRounds);
    }
    for (int w = 1; w <= kWriters; ++w)
        for (int round = 0; round < kRounds; ++round)
            EXPECT_EQ(seen[w * 100000 + round], 1) << w << "/" << round;
    for (int k = 0; k < kShared; ++k)
        EXPECT_EQ(seen[900000 + k], 1) << k;
    // Every write raised the counter once: two for the tally, the appends and
    // the keyed writes, besides the first record.
    EXPECT_EQ(f.Header().changeCounter, 1 + 4 * kWriters * kRounds);
}

TEST_F(SharedFolder, AHeldLockMakesAnotherWriterGiveUpWithinItsBound)
{
    Put("Comp.bvc", RecordHeader(0, 36, 1) + std::string(36, '\0'));
    int toChild[2], toParent[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(toParent), 0);
    pid_t holder = Spawn([&] {
        CBVFileEx f;
        if (f.Open("Comp.bvc", 36, 1, 0, kCachedRW) != 0 || f.CheckOpen() != 0 || f.Lock() != 0)
            return 2;
        char c = 'L';
        if (write(toParent[1], &c, 1) != 1 || read(toChild[0], &c, 1) != 1)
            return 3;
        return f.CheckClose(0) == 0 ? 0 : 4;
    });
    char c = 0;
    ASSERT_EQ(read(toParent[0], &c, 1), 1);

    CBVFileEx writer;
    ASSERT_EQ(writer.Open("Comp.bvc", 36, 1, 0, kCachedRW), 0);
    // A small file: 7 attempts' worth of pause (7 ms) and a limit of 25, so
    // the writer gives up after 26 pauses of 7 ms.
    ASSERT_EQ(writer.Retries(), 7);
    ASSERT_EQ(writer.WaitMs(), 25);
    std::string rec(36, 'x');
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(writer.WriteRec(1, rec.data()), -3);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(26 * 7));
    EXPECT_LT(elapsed, std::chrono::milliseconds(26 * 7 + 1500));
    EXPECT_TRUE(Logged("WaitLock(Comp.bvc) Too many attempts (7/25)"));
    EXPECT_EQ(Bytes("Comp.bvc"), RecordHeader(0, 36, 1) + std::string(36, '\0'));

    ASSERT_EQ(write(toChild[1], "x", 1), 1);
    EXPECT_EQ(Wait(holder), 0);
    EXPECT_EQ(writer.WriteRec(1, rec.data()), 0);
}

TEST_F(SharedFolder, TheChangeCounterTellsAnotherProgramOfAWrite)
{
    Put("Active.BVD", RecordHeader(0, 12, 1) + std::string(12, '\0'));
    CBVFileEx reader;
    ASSERT_EQ(reader.Open(".\\Active.BVD", 12, 1, 0, 0x88), 0);
    EXPECT_EQ(reader.CacheVerify(1), 0);

    EXPECT_EQ(Wait(Spawn([] {
                  CBVFileEx w;
                  std::string rec = "lane0001 XY";
                  rec.resize(12);
                  return w.Open(".\\active.bvd", 12, 1, 0, kCachedRW) == 0 && w.WriteRec(1, rec.data()) == 0 ? 0 : 1;
              })),
              0);
    EXPECT_EQ(reader.CacheVerify(1), 1);
    EXPECT_EQ(reader.CacheVerify(1), 0);
    char buffer[12];
    ASSERT_EQ(reader.ReadRec(1, buffer), 0);
    EXPECT_EQ(std::string(buffer, 8), "lane0001");
    EXPECT_EQ(reader.Header().changeCounter, 1);
}

// ---------------------------------------------------------------------------
// Programs that die in the middle of a write

namespace {

constexpr int kShotSize = 13254;  // a shot list: several pages of the disk

std::string ShotBytes(char fill) { return std::string(kShotSize, fill); }

// Set in a child before the write it is to die in.
const char* g_dieAt = nullptr;
bool g_tearFirst = false;

void DieAtStep(const char* step)
{
    if (std::strcmp(step, g_dieAt) != 0)
        return;
    if (g_tearFirst) {
        // Half of record 2 made new, as a write cut short by the kill leaves it.
        platform::NativeFile f;
        f.OpenExisting("Shot.BVD", platform::NativeFile::Access::ReadWrite);
        std::string half(kShotSize / 2, 'N');
        f.WriteAt(half.data(), half.size(), 8 + kShotSize);
    }
    raise(SIGKILL);
}

}  // namespace

TEST_F(SharedFolder, AWriterKilledInARecordWriteLeavesTheOldRecord)
{
    struct Case {
        const char* name;
        uint8_t reopenOptions;  // how the next program opens the file
        bool alreadyOpen;       // that program had it open before the crash
    };
    const Case cases[] = {
        {"reader opening after the crash", kPlainRead, false},
        {"writer opening after the crash", kCachedRW, false},
        {"writer that had it open all along", kPlainRW, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = RecordHeader(3, kShotSize, 3) + ShotBytes('A') + ShotBytes('B') + ShotBytes('C');
        Put("Shot.BVD", before);
        CBVFileEx survivor;
        if (c.alreadyOpen)
            ASSERT_EQ(survivor.Open("Shot.BVD", kShotSize, 3, 0, c.reopenOptions), 0);

        int status = Wait(Spawn([] {
            g_dieAt = "saved";
            g_tearFirst = true;
            CBVFileEx::s_stepHook = DieAtStep;
            CBVFileEx f;
            if (f.Open("Shot.BVD", kShotSize, 3, 0, kPlainRW) != 0)
                return 2;
            f.WriteRecDirect(2, ShotBytes('N').data());
            return 3;  // never comes here
        }));
        ASSERT_EQ(status, 128 + SIGKILL);
        ASSERT_NE(Bytes("Shot.BVD"), before);  // the crash did leave half a record
        ASSERT_TRUE(CRecordJournal::PendingAt("Shot.BVD.undo"));

        if (c.alreadyOpen) {
            ASSERT_EQ(survivor.WriteRec(3, ShotBytes('D').data()), 0);
        } else {
            ASSERT_EQ(survivor.Open("Shot.BVD", kShotSize, 3, 0, c.reopenOptions), 0);
        }
        std::string bytes = Bytes("Shot.BVD");
        ASSERT_EQ(bytes.size(), before.size());
        EXPECT_EQ(bytes.substr(8 + kShotSize, kShotSize), ShotBytes('B'));
        EXPECT_EQ(bytes.substr(8, kShotSize), ShotBytes('A'));
        EXPECT_FALSE(CRecordJournal::PendingAt("Shot.BVD.undo"));
        EXPECT_GT(survivor.Header().changeCounter, 3);  // readers are told to look again
        EXPECT_TRUE(Logged("Recover(Shot.BVD) 1 changes of an interrupted write undone"));
        survivor.Close();
        unlink("BVLog.txt");
    }
}

TEST_F(SharedFolder, AWriterKilledAtRandomMomentsLeavesWholeRecords)
{
    // The writer overwrites three shot lists and appends new ones without
    // pause; it is killed wherever it happens to be.
    Put("Shot.BVD", RecordHeader(0, kShotSize, 3) + ShotBytes('a') + ShotBytes('b') + ShotBytes('c'));
    std::mt19937 random(12345);
    for (int round = 0; round < 12; ++round) {
        pid_t writer = Spawn([round] {
            CBVFileEx f;
            if (f.Open("Shot.BVD", kShotSize, 3, 0, kPlainRW) != 0)
                return 2;
            for (int i = 0;; ++i) {
                char fill = static_cast<char>('A' + (round * 7 + i) % 26);
                if (i % 5 == 4) {
                    int n = 0;
                    f.AddRec(n, ShotBytes(fill).data());
                } else {
                    f.WriteRec(1 + i % 3, ShotBytes(fill).data());
                }
            }
        });
        usleep(static_cast<useconds_t>(2000 + random() % 20000));
        kill(writer, SIGKILL);
        ASSERT_EQ(Wait(writer), 128 + SIGKILL);

        CBVFileEx f;
        ASSERT_EQ(f.Open("Shot.BVD", kShotSize, 3, 0, kPlainRead), 0) << round;
        EXPECT_FALSE(CRecordJournal::PendingAt("Shot.BVD.undo"));
        // Half an appended record may trail the file; it is no record, and
        // the next append takes its place.
        std::string bytes = Bytes("Shot.BVD");
        size_t count = (bytes.size() - 8) / kShotSize;
        ASSERT_EQ(f.GetRecCount(), static_cast<int>(count));
        for (size_t n = 0; n < count; ++n)
            ASSERT_TRUE(Uniform(bytes.substr(8 + n * kShotSize, kShotSize))) << "record " << n + 1 << ", round " << round;
        CBVFileEx w;
        ASSERT_EQ(w.Open("Shot.BVD", kShotSize, 3, 0, kPlainRW), 0);
        int n = 0;
        ASSERT_EQ(w.AddRec(n, ShotBytes('z').data()), 0);
        EXPECT_EQ(n, static_cast<int>(count) + 1);
        EXPECT_EQ(Bytes("Shot.BVD").size(), 8 + (count + 1) * kShotSize);
    }
}

TEST_F(SharedFolder, AConversionKilledAnywhereLeavesTheOldFileOrTheNewOne)
{
    constexpr int kRecords = 20000;
    std::string old = RecordHeader(42, 36, 1);
    for (int i = 0; i < kRecords; ++i) {
        std::string rec(36, static_cast<char>('a' + i % 26));
        std::memcpy(rec.data(), &i, 4);
        old += rec;
    }
    auto converted = [&] {
        std::string out = RecordHeader(42, 54, 2);
        for (int i = 0; i < kRecords; ++i)
            out += old.substr(8 + static_cast<size_t>(i) * 36, 36) + std::string(18, '\0');
        return out;
    }();

    struct Case { const char* dieAt; int delayUs; };
    std::vector<Case> cases = {{"converted", 0}, {"replaced", 0}};
    std::mt19937 random(777);
    for (int i = 0; i < 8; ++i)
        cases.push_back({nullptr, static_cast<int>(random() % 15000)});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dieAt ? c.dieAt : "random moment");
        std::filesystem::remove_all("Common");
        std::filesystem::create_directory("Common");
        Put("Card.BVD", old);
        const char* dieAt = c.dieAt;
        pid_t converter = Spawn([dieAt] {
            if (dieAt) {
                g_dieAt = dieAt;
                g_tearFirst = false;
                CBVFileEx::s_stepHook = DieAtStep;
            }
            CBVFileEx f;
            if (f.Open("Card.BVD", 54, 2, 0, kCachedRW) != -99)
                return 2;
            return f.Convert(".\\Common", 54, 2) == 0 ? 0 : 3;
        });
        if (!c.dieAt) {
            usleep(static_cast<useconds_t>(c.delayUs));
            kill(converter, SIGKILL);
        }
        int status = Wait(converter);
        if (c.dieAt)
            ASSERT_EQ(status, 128 + SIGKILL);
        else
            ASSERT_TRUE(status == 0 || status == 128 + SIGKILL) << status;

        CBVFileEx asOld, asNew;
        int oldRc = asOld.Open("Card.BVD", 36, 1, 0, kPlainRead);
        int newRc = asNew.Open("Card.BVD", 54, 2, 0, kPlainRead);
        ASSERT_TRUE((oldRc == 0) != (newRc == 0)) << oldRc << " " << newRc;
        EXPECT_EQ(Bytes("Card.BVD"), oldRc == 0 ? old : converted);
        if (c.dieAt && std::string(c.dieAt) == "replaced")
            EXPECT_EQ(newRc, 0);
        if (c.dieAt && std::string(c.dieAt) == "converted")
            EXPECT_EQ(oldRc, 0);
    }
}
