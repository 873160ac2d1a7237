// A power cut in the middle of a record rewrite, simulated: every flush is
// watched, so the test knows what each file held on the disk at the moment
// of the cut (its contents at its last flush), and the rewrite of the record
// itself is cut after each of the sectors the disk writes it as. Opened again,
// the file holds the old record or the new one, whole, every time.
#include "foundation/files/BVFileEx.h"
#include "platform/files/NativeFile.h"
#include "RecordBytes.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace {

using bvtest::kPlainRW;

// Contents of each file (by identity) as its last flush left them.
std::map<std::pair<uint64_t, uint64_t>, std::string> g_durable;
int g_syncs = 0;

void RememberFlush(const platform::NativeFile& file)
{
    ++g_syncs;
    std::string bytes(static_cast<size_t>(std::max<int64_t>(file.Size(), 0)), '\0');
    bytes.resize(static_cast<size_t>(std::max<long>(file.ReadAt(bytes.data(), bytes.size(), 0), 0)));
    platform::FileIdentity id = file.Identity();
    g_durable[{id.device, id.inode}] = bytes;
}

std::optional<std::string> Durable(const std::string& path)
{
    platform::FileIdentity id = platform::IdentityOf(path);
    auto it = g_durable.find({id.device, id.inode});
    if (it == g_durable.end())
        return std::nullopt;
    return it->second;
}

// What the rewrite met on the disk when it began overwriting the record.
struct AtCut {
    std::string file;
    std::optional<std::string> journal;  // nullopt: never flushed, so not on the disk
};
std::optional<AtCut> g_atCut;

void CaptureAtOverwrite(const char* step)
{
    if (std::strcmp(step, "saved") != 0 || g_atCut)
        return;
    g_atCut = AtCut{*Durable("Shot.BVD"), Durable("Shot.BVD.undo")};
}

// Puts bytes into a file in place, keeping its identity (the journal names
// the file it belongs to by it), or removes it.
void Lay(const std::string& path, const std::optional<std::string>& bytes)
{
    if (!bytes) {
        std::filesystem::remove(path);
        return;
    }
    platform::NativeFile f;
    ASSERT_EQ(f.OpenOrCreate(path), 0);
    ASSERT_EQ(f.Truncate(0), 0);
    ASSERT_EQ(f.WriteAt(bytes->data(), bytes->size(), 0), static_cast<long>(bytes->size()));
}

std::string Record(int size, char fill, int32_t key)
{
    std::string r(static_cast<size_t>(size), fill);
    std::memcpy(r.data(), &key, 4);
    return r;
}

class RecordPowerCutTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        g_durable.clear();
        g_atCut.reset();
        g_syncs = 0;
        platform::NativeFile::s_syncHook = RememberFlush;
    }
    void TearDown() override
    {
        platform::NativeFile::s_syncHook = nullptr;
        CBVFileEx::s_stepHook = nullptr;
    }
};

}  // namespace

TEST_F(RecordPowerCutTest, ARewriteOverManySectorsCutAfterAnyOfThemLeavesTheOldOrTheNewRecord)
{
    constexpr int kSize = 13254;  // a shot list
    const std::string old2 = Record(kSize, 'o', 2), new2 = Record(kSize, 'n', 2);
    int sector = 0;
    {
        CBVFileEx f;
        ASSERT_EQ(f.Open("Shot.BVD", kSize, 1, 1, kPlainRW), 0);
        int n = 0;
        ASSERT_EQ(f.AddRec(n, Record(kSize, 'a', 1).data()), 0);
        ASSERT_EQ(f.AddRec(n, old2.data()), 0);
        ASSERT_EQ(f.AddRec(n, Record(kSize, 'c', 3).data()), 0);
        sector = f.SectorSize();
        CBVFileEx::s_stepHook = CaptureAtOverwrite;
        ASSERT_EQ(f.WriteRec(2, new2.data()), 0);
        CBVFileEx::s_stepHook = nullptr;
    }
    ASSERT_TRUE(g_atCut);
    ASSERT_TRUE(g_atCut->journal) << "the record was overwritten before its journal reached the disk";
    const std::string written = bvtest::TempFolder::Read("Shot.BVD");

    const int64_t start = 8 + kSize, end = start + kSize;
    std::vector<int64_t> bounds{start};  // where the record's sectors begin
    for (int64_t at = (start / sector + 1) * sector; at < end; at += sector)
        bounds.push_back(at);
    bounds.push_back(end);
    ASSERT_GT(bounds.size(), 3u);
    const size_t sectors = bounds.size() - 1;

    // The disk may write the sectors in either order.
    for (bool fromTheEnd : {false, true}) {
        for (size_t k = 0; k <= sectors; ++k) {
            SCOPED_TRACE(testing::Message() << (fromTheEnd ? "last " : "first ") << k << " of " << sectors
                                            << " sectors written");
            std::string onDisk = g_atCut->file;
            for (size_t s = 0; s < k; ++s) {
                size_t i = fromTheEnd ? sectors - 1 - s : s;
                onDisk.replace(static_cast<size_t>(bounds[i]), static_cast<size_t>(bounds[i + 1] - bounds[i]),
                               written, static_cast<size_t>(bounds[i]),
                               static_cast<size_t>(bounds[i + 1] - bounds[i]));
            }
            Lay("Shot.BVD", onDisk);
            Lay("Shot.BVD.undo", g_atCut->journal);

            CBVFileEx f;
            ASSERT_EQ(f.Open("Shot.BVD", kSize, 1, 0, kPlainRW), 0);
            std::string got(kSize, '\0');
            ASSERT_EQ(f.ReadRec(2, got.data()), 0);
            EXPECT_TRUE(got == old2 || got == new2) << "a torn record";
            ASSERT_EQ(f.ReadRec(1, got.data()), 0);
            EXPECT_EQ(got, Record(kSize, 'a', 1));
            ASSERT_EQ(f.ReadRec(3, got.data()), 0);
            EXPECT_EQ(got, Record(kSize, 'c', 3));
        }
    }

    // Cut once the rewrite is over: the file's flush is on the disk, the
    // journal's done mark, never flushed, is not. The record is whole.
    {
        SCOPED_TRACE("cut after the file's flush");
        Lay("Shot.BVD", Durable("Shot.BVD"));
        Lay("Shot.BVD.undo", Durable("Shot.BVD.undo"));
        CBVFileEx f;
        ASSERT_EQ(f.Open("Shot.BVD", kSize, 1, 0, kPlainRW), 0);
        std::string got(kSize, '\0');
        ASSERT_EQ(f.ReadRec(2, got.data()), 0);
        EXPECT_TRUE(got == old2 || got == new2) << "a torn record";
    }
}

// A record the disk writes as one sector cannot be torn by a cut: its
// rewrite keeps its single flush. One that crosses a sector's end is two
// sectors: its journal goes to the disk first, then the file; the journal's
// done mark is not flushed.
TEST_F(RecordPowerCutTest, OnlyARewriteOverSeveralSectorsFlushesItsJournalFirst)
{
    struct Case {
        const char* name;
        int size;
        int record;  // rewritten
        int flushes;
    };
    const Case cases[] = {
        {"36 bytes inside a sector", 36, 2, 1},
        {"36 bytes across a sector's end", 36, 29, 2},  // at 8 + 28 * 36 = 1016
        {"a shot list", 13254, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove("r.bvd");
        std::filesystem::remove("r.bvd.undo");
        CBVFileEx f;
        ASSERT_EQ(f.Open("r.bvd", static_cast<int16_t>(c.size), 1, 1, kPlainRW), 0);
        ASSERT_EQ(f.SectorSize(), 512) << "the cases are laid out for 512-byte sectors";
        for (int i = 1; i <= 32; ++i) {
            int n = 0;
            ASSERT_EQ(f.AddRec(n, Record(c.size, 'a', i).data()), 0);
        }
        // The journal's first making also flushes its folder; count from
        // a journal that is there.
        ASSERT_EQ(f.WriteRec(c.record, Record(c.size, 'b', c.record).data()), 0);
        g_syncs = 0;
        ASSERT_EQ(f.WriteRec(c.record, Record(c.size, 'c', c.record).data()), 0);
        EXPECT_EQ(g_syncs, c.flushes);  // the journal (when the record crosses a sector), the file
    }
}
