// What the tick re-reads when other programs changed the competition's files,
// and the touch by which it tells them of its own changes.
#include "RangeOnFolder.h"

#include "foundation/settings/CompSettings.h"

namespace {

class FileChecksTest : public bvtest::RangeOnFolder {
protected:
    std::string Counter(const char* file) { return bvtest::TempFolder::Read(file).substr(0, 4); }
};

TEST_F(FileChecksTest, ShotsStoredElsewhereAreReadAgain)
{
    Open();
    range->files.RefreshChangedRows();
    EXPECT_EQ(range->files.ReloadShots(false), 0);

    // The remote program, or a second range control, stores shots on lane 2.
    CDataComp other;
    ASSERT_EQ(other.Open(1, 1), 0);
    auto store = [&](int number, int value) {
        ShotRecord shot{};
        shot.state = CDataComp::kSlotShot;
        shot.flags = 1;
        shot.value = static_cast<int16_t>(value);
        shot.shotNumber = static_cast<uint8_t>(number);
        shot.series = 1;
        ASSERT_GT(other.AddShot(1, 2, shot, nullptr, 10, 0), 0);
    };
    // The card's first shot gives it a shot list: the card file changed,
    // which the file check finds, and the lane's shots are read.
    store(1, 1000);
    int changed = range->files.CheckFiles(false);
    EXPECT_NE(changed, 0);
    EXPECT_EQ(range->files.ReloadShots(false), 1);
    EXPECT_EQ(Lane(2).shots.shots[0].state, CDataComp::kSlotShot);
    EXPECT_EQ(Lane(2).shotsPerSeries[1], 1);
    range->files.RefreshChangedRows();

    // Later shots change only the list: its own counter tells.
    store(2, 900);
    EXPECT_EQ(range->files.ReloadShots(false), 1);
    EXPECT_EQ(Lane(2).shots.shots[1].state, CDataComp::kSlotShot);
    EXPECT_EQ(Lane(2).shotsPerSeries[1], 2);
    EXPECT_EQ(Lane(2).rowMark, 1);
    EXPECT_EQ(Lane(3).rowMark, 0);
    range->files.RefreshChangedRows();
    EXPECT_EQ(range->files.ReloadShots(false), 0);
}

TEST_F(FileChecksTest, LanesFollowTheCompetitionSettings)
{
    Open();
    range->files.RefreshChangedRows();
    EXPECT_EQ(range->files.CheckFiles(false), 0);

    // The competition settings of another computer take lane 4 out.
    {
        CBVConfig comp;
        comp.Open(CompSettings::FileOf(".\\", 1), 1);
        WriteItem(comp, CompSettings::LaneActive(4), 0);
    }
    // The lane set changed: the views are built again.
    int changed = range->files.CheckFiles(false);
    EXPECT_EQ(changed & 0x81, 0x81);
    EXPECT_EQ(Lane(4).enabled, 0);
    EXPECT_EQ(Lane(4).rowMark, 1);
    // A lane that left keeps its card in memory.
    EXPECT_EQ(static_cast<int>(Lane(4).card.lane), 4);
    EXPECT_EQ(Lane(3).enabled, 1);
}

TEST_F(FileChecksTest, TouchRaisesTheSharedCounters)
{
    Open();
    std::string active = Counter("Comp1/Active.BVD");
    std::string shots = Counter("Comp1/Shot.BVD");
    range->files.TouchFiles();
    EXPECT_NE(Counter("Comp1/Active.BVD"), active);
    EXPECT_NE(Counter("Comp1/Shot.BVD"), shots);
}

}  // namespace
