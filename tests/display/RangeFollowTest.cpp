// The display follows range folders written by the range control's own
// writers and by bvtool: competition switches, new cards, the final, the
// one-shot window, two ranges at once, and a folder that goes away.
#include <gtest/gtest.h>

#include <cstdio>

#include "DisplayFixture.h"
#include "RunCommand.h"

namespace bvtest {
namespace {

class RangeFollowTest : public InTempFolder {
protected:
    void SetUp() override
    {
        range = std::make_unique<RangeFolder>("R1");
        DisplayFiles::Event(1, "Bane 1", "R1");
        for (int lane : {3, 4, 5}) {
            range->Card(1, lane);
            range->Series(lane, 1);
        }
        range->Shot(1, 3, 1, 1000);
        range->Shot(1, 4, 1, 900);
    }
    Display& Show(const std::vector<Slot>& slots, std::vector<std::pair<ConfigIntItem, int>> options = {})
    {
        DisplayFiles::Picture(1, "Skive", slots, options);
        DisplayFiles::Profile({{1, 60}});
        display = std::make_unique<Display>();
        display->Tick(2);
        return *display;
    }
    static int Total(CVisTarget& t) { return t.values[CVisTarget::kValTotal].number; }
    void Tool(const std::string& args)
    {
        ToolRun run = RunTool(args);
        ASSERT_EQ(run.status, 0) << args << ": " << run.err;
    }
    std::unique_ptr<RangeFolder> range;
    std::unique_ptr<Display> display;
};

TEST_F(RangeFollowTest, ACompetitionSwitchReopensTheRangeData)
{
    Display& d = Show({{3}});
    EXPECT_EQ(Total(d.Target(0)), 1000);
    range->SwitchTo(2);
    range->Card(1, 3);
    range->Series(3, 1);
    range->Shot(1, 3, 1, 700);
    d.Tick(3);
    EXPECT_EQ(d.Target(0).event->competition, 2);
    EXPECT_EQ(Total(d.Target(0)), 700);
}

TEST_F(RangeFollowTest, ANewCardClearsTheShots)
{
    Display& d = Show({{3}});
    EXPECT_EQ(Total(d.Target(0)), 1000);
    range->Card(2, 3);
    d.Tick(2);
    EXPECT_EQ(d.Target(0).active.relay, 2);
    EXPECT_EQ(Total(d.Target(0)), 0);
    EXPECT_EQ(d.Target(0).values[CVisTarget::kValShotCount].number, 0);
}

TEST_F(RangeFollowTest, LanesTheRangeControlOpensLaterAreShownWhenItDoes)
{
    // Lanes 7 and 8 have no card yet: every panel of the picture says so.
    Display& d = Show({{7}, {8}});
    ASSERT_STREQ(d.Target(0).errorKey, "IDS_ERROR_NOACTIVE");
    ASSERT_STREQ(d.Target(1).errorKey, "IDS_ERROR_NOACTIVE");
    range->Card(1, 7);
    range->Shot(1, 7, 1, 950);
    d.Tick(3);
    EXPECT_STREQ(d.Target(0).errorKey, "");
    EXPECT_EQ(Total(d.Target(0)), 900);
    EXPECT_STREQ(d.Target(1).errorKey, "IDS_ERROR_NOACTIVE");
}

TEST_F(RangeFollowTest, TheFinalLocksOntoTheFinalistAndReleases)
{
    Display& d = Show({{3}, {4}, {5}});
    ASSERT_EQ(d.Picture().targets.size(), 3u);
    Tool("active set R1 1 0 --relay 1 --card 4");
    d.Tick(2);
    ASSERT_TRUE(d.Picture().finalLock);
    ASSERT_EQ(d.Picture().targets.size(), 1u);
    EXPECT_EQ(d.Target(0).lane, 4);
    EXPECT_EQ(d.Target(0).viewFlags, 0x30307);
    EXPECT_EQ(Total(d.Target(0)), 900);
    d.loop.OnCommand(DisplayLoop::kFirst);
    EXPECT_TRUE(d.Picture().finalLock);

    // The finalist moves to lane 3.
    Tool("active set R1 1 0 --card 3");
    d.Tick(2);
    EXPECT_EQ(d.Target(0).lane, 3);
    EXPECT_EQ(Total(d.Target(0)), 1000);

    Tool("active set R1 1 0 --relay 0");
    d.Tick(2);
    EXPECT_FALSE(d.Picture().finalLock);
    EXPECT_EQ(d.Picture().targets.size(), 3u);
}

TEST_F(RangeFollowTest, NoFinalKeepsThePicture)
{
    Display& d = Show({{3}, {4}}, {{VisItems::kNoFinal, 1}});
    Tool("active set R1 1 0 --relay 1 --card 4");
    d.Tick(3);
    EXPECT_FALSE(d.Picture().finalLock);
    EXPECT_EQ(d.Picture().targets.size(), 2u);
}

TEST_F(RangeFollowTest, TheFinalInStartNumberMode)
{
    CompOptions options = CompSettings::ReadOptions(range->data.CompConfig());
    options.Set(CompOptions::StartNumbers, true);
    CompSettings::WriteOptions(range->data.CompConfig(), options);
    range->Open(1);
    // Start number 57 shoots on lane 5; its card is kept with lane 0.
    range->Card(57, 5);
    range->Series(5, 1);
    range->Shot(57, 5, 1, 800);
    CardRecord key;
    CDataComp::ClearCard(key);
    key.relay = 57;
    key.lane = 0;
    int cardRec = range->data.CardFile().FindKey(&key);
    ASSERT_GT(cardRec, 0);
    Display& d = Show({{3}, {5}});
    Tool("active set R1 1 0 --relay 57 --card " + std::to_string(cardRec));
    d.Tick(2);
    ASSERT_TRUE(d.Picture().finalLock);
    EXPECT_EQ(d.Target(0).lane, 5);
    EXPECT_EQ(d.Target(0).active.cardRec, cardRec);
    EXPECT_EQ(Total(d.Target(0)), 800);
}

TEST_F(RangeFollowTest, TheOneShotWindowFollowsTheFurthestTarget)
{
    range->Shot(1, 3, 1, 800);
    range->Shot(1, 3, 1, 700);
    Display& d = Show({{3}, {4}}, {{VisItems::kOneShot, 1}});
    d.Tick(2);
    EXPECT_EQ(d.Target(0).event->oneShotWindow, 3);
    EXPECT_EQ(d.Target(0).firstListShot, 3);
    EXPECT_EQ(d.Target(1).firstListShot, 3);
    range->Shot(1, 4, 1, 900);
    range->Shot(1, 4, 1, 900);
    range->Shot(1, 4, 1, 900);
    d.Tick(3);
    EXPECT_EQ(d.Target(0).event->oneShotWindow, 4);
    EXPECT_EQ(d.Target(1).firstListShot, 4);
}

TEST_F(RangeFollowTest, TwoEventsKeepTheirOwnRanges)
{
    RangeFolder second("R2");
    second.Card(1, 3);
    second.Series(3, 1);
    second.Shot(1, 3, 1, 600);
    DisplayFiles::Event(2, "Bane 2", "R2");
    Display& d = Show({{3, 1}, {3, 2}, {4, 1}});
    EXPECT_EQ(d.data.events.size(), 2u);
    EXPECT_EQ(d.Target(0).event, d.Target(2).event);
    EXPECT_FALSE(d.Picture().singleEvent);
    EXPECT_EQ(Total(d.Target(0)), 1000);
    EXPECT_EQ(Total(d.Target(1)), 600);
    EXPECT_STREQ(d.Target(1).values[CVisTarget::kValEventName].text, "Bane 2");
}

TEST_F(RangeFollowTest, AVanishedFolderShowsTheErrorAndComesBack)
{
    Display& d = Show({{3}});
    EXPECT_EQ(Total(d.Target(0)), 1000);
    range->data.Close();
    ASSERT_EQ(std::rename("R1", "R1.away"), 0);
    d.Tick(5);
    EXPECT_STREQ(d.Target(0).errorKey, "IDS_ERROR_NOBVLEDER");
    ASSERT_EQ(std::rename("R1.away", "R1"), 0);
    d.Tick(4);
    ASSERT_FALSE(d.Picture().targets.empty());
    EXPECT_FALSE(d.Target(0).HasError()) << d.Target(0).errorKey;
    EXPECT_EQ(Total(d.Target(0)), 1000);
}


TEST_F(RangeFollowTest, NamesAndStartScoresComeFromTheExchangeFolder)
{
    platform::CreateFolders("R1/X");
    TempFolder::Write("R1/X/H1R00103.txt", "[Def]\r\nStartNr=7\r\n");
    TempFolder::Write("R1/X/N00007.txt",
                      "[Shooter]\r\nName=Kari Nordmann\r\nClub=Brevandi\r\n[H1]\r\nClass=Senior\r\nCat=V55\r\nStart=2,5\r\n");
    // Lane 4 is off the picture; its start score lifts it to the first place.
    TempFolder::Write("R1/X/H1R00104.txt", "[Def]\r\nStartNr=8\r\n");
    TempFolder::Write("R1/X/N00008.txt", "[Shooter]\r\nName=Ola\r\n[H1]\r\nStart=5\r\n");
    {
        CBVConfig rs;
        rs.Open("R1\\BVLeder.bvc", 1);
        rs.WriteLong(1, 1, 570, "X");
    }
    WriteItem(range->data.CompConfig(), CompSettings::kStartScore, 1);
    Display& d = Show({{3}}, {{VisItems::kShowPlace, 1}});
    CVisTarget& t = d.Target(0);
    EXPECT_STREQ(t.values[CVisTarget::kValName].text, "Kari Nordmann");
    EXPECT_STREQ(t.values[CVisTarget::kValClub].text, "Brevandi");
    EXPECT_STREQ(t.values[CVisTarget::kValClass].text, "Senior");
    EXPECT_STREQ(t.values[CVisTarget::kValCategory].text, "V55");
    EXPECT_EQ(t.startScore, 250);
    EXPECT_EQ(Total(t), 1250);
    EXPECT_EQ(t.values[CVisTarget::kValPlace].number, 2);
}

}  // namespace
}  // namespace bvtest
