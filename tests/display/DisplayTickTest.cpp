// The tick without a screen: which picture is shown, the title's countdown,
// the blinking status, the keys and the error path back to the select dialog.
#include <gtest/gtest.h>

#include "DisplayFixture.h"

namespace bvtest {
namespace {

TEST(ChoosePictureTest, StepsWrapAndStay)
{
    struct Case {
        const char* what;
        int pictures;
        int from;  // place of the current picture
        int step;
        bool elapsed;
        bool finalLock;
        int result;
        int now;  // place current afterwards
    } cases[] = {
        {"next", 3, 1, 1, false, false, 2, 2},
        {"next after the last is the first", 3, 3, 1, false, false, 1, 1},
        {"previous before the first is the last", 3, 1, -1, false, false, 3, 3},
        {"End", 3, 1, 99, false, false, 3, 3},
        {"Home", 3, 3, -99, false, false, 1, 1},
        {"Home on the first stays", 3, 1, -99, false, false, 0, 1},
        {"time not up", 3, 2, 0, false, false, 0, 2},
        {"time up", 3, 2, 0, true, false, 3, 3},
        {"one picture never changes", 1, 1, 1, true, false, 0, 1},
        {"final lock keeps the picture", 3, 1, -99, true, true, 0, 1},
        {"final lock keeps it on time too", 3, 2, 0, true, true, 0, 2},
    };
    for (const Case& c : cases) {
        RecordingPort port;
        CVisData data;
        DisplayLoop loop(data, port);
        loop.pictCounter.Init(10, true, true);
        for (int i = 1; i <= c.pictures; ++i)
            data.AddPicture(i);
        data.current = data.pictures[static_cast<size_t>(c.from - 1)].get();
        data.current->finalLock = c.finalLock;
        loop.pictCounter.Set(c.elapsed ? 10 : 3);
        data.rebuild = false;
        EXPECT_EQ(loop.ChoosePicture(c.step), c.result) << c.what;
        EXPECT_EQ(data.current->place, c.now) << c.what;
        EXPECT_EQ(data.rebuild, c.result != 0) << c.what;
        EXPECT_EQ(loop.pictCounter.Get(), c.result != 0 ? 0 : (c.elapsed ? 10 : 3)) << c.what;
    }
    // No picture at all; the first becomes current when there is one.
    RecordingPort port;
    CVisData data;
    DisplayLoop loop(data, port);
    EXPECT_EQ(loop.ChoosePicture(1), 0);
    data.AddPicture(1);
    EXPECT_EQ(loop.ChoosePicture(0), 1);
    EXPECT_EQ(data.current, data.pictures[0].get());
}

// A range with one shooter on lane 3 and a profile of two pictures.
class TickTest : public InTempFolder {
protected:
    void SetUp() override
    {
        range = std::make_unique<RangeFolder>("R1");
        range->Card(1, 3, 1);
        DisplayFiles::Event(1, "Bane 1", "R1");
        DisplayFiles::Picture(1, "Skive", {{3}});
        DisplayFiles::Picture(2, "Liste", {{3, 1, 2}});
    }
    std::unique_ptr<RangeFolder> range;
};

TEST_F(TickTest, TitleCountsDownTheDisplayTime)
{
    DisplayFiles::Profile({{1, 10}, {2, 5}});
    Display d;
    std::vector<std::string> titles;
    for (int i = 0; i < 100; ++i) {
        d.Tick();
        if (titles.empty() || titles.back() != d.port.title)
            titles.push_back(d.port.title);
        if (d.Picture().place != 1)
            break;
    }
    std::vector<std::string> expected;
    for (int n = 10; n >= 1; --n)
        expected.push_back("BVVis - Finale : Skive (" + std::to_string(n) + ")");
    expected.push_back("BVVis - Finale : Liste (5)");
    EXPECT_EQ(titles, expected);
    EXPECT_EQ(d.Picture().place, 2);
}

TEST_F(TickTest, PauseFreezesThePictureButKeysStillMoveIt)
{
    DisplayFiles::Profile({{1, 1}, {2, 1}});
    Display d;
    d.Tick();
    d.loop.OnCommand(DisplayLoop::kPause);
    EXPECT_EQ(d.port.title, "BVVis - Finale : Skive (Pause)");
    d.Tick(50);
    EXPECT_EQ(d.Picture().place, 1);
    d.loop.OnCommand(DisplayLoop::kNext);
    d.Tick();
    EXPECT_EQ(d.Picture().place, 2);
    d.loop.OnCommand(DisplayLoop::kPause);
    d.Tick(11);
    EXPECT_EQ(d.Picture().place, 1);
}

TEST_F(TickTest, StatusBlinksTwoSecondsOnTwoOff)
{
    range->Card(1, 3, 1, 3);  // the card exists; the status is set below
    CardRecord card;
    CDataComp::ClearCard(card);
    card.relay = 1;
    card.lane = 3;
    ASSERT_EQ(range->data.GetCard(card, 0), 0);
    card.resultState = 3;
    range->data.CardFile().WriteRecKey(&card);
    DisplayFiles::Profile({{1, 60}});
    Display d;
    std::string shown;
    for (int tick = 1; tick <= 80; ++tick) {
        d.Tick();
        const CVisTarget& t = d.Target(0);
        if (tick % 20 == 0)
            shown += t.statusCode == 3 ? "D" : "-";
        if (t.statusCode == 3)
            EXPECT_STREQ(t.values[CVisTarget::kValTotal].text, "DSQ");
    }
    EXPECT_EQ(shown, "D-D-");
}

TEST_F(TickTest, AnEmptyProfileShowsTheErrorAndOpensTheSelectDialogAgain)
{
    DisplayFiles::Profile({});
    Display d;
    d.Tick();
    std::vector<std::string> expected = {"select", "error IDS_ERROR_NOPICT", "select"};
    EXPECT_EQ(d.port.calls, expected);
}

TEST_F(TickTest, MissingSettingsFilesAreTriedEveryTick)
{
    DisplayFiles::Profile({{1, 10}});
    std::rename("Profil.bvc", "Profil.bak");
    Display d;
    d.Tick(2);
    EXPECT_STREQ(d.data.errorKey, "IDS_ERROR_OPENFAIL");
    std::rename("Profil.bak", "Profil.bvc");
    d.Tick();
    EXPECT_FALSE(d.data.HasError());
    ASSERT_NE(d.data.current, nullptr);
    EXPECT_STREQ(d.Picture().name, "Skive");
}

TEST_F(TickTest, ByCountdownGoesFullScreenByHandStaysWindowed)
{
    DisplayFiles::Profile({{1, 10}});
    for (bool countdown : {false, true}) {
        Display d;
        d.port.byCountdown = countdown;
        d.Tick(2);
        bool full = std::count(d.port.calls.begin(), d.port.calls.end(), "fullscreen") == 1;
        EXPECT_EQ(full, countdown);
        EXPECT_EQ(d.data.fullScreen, countdown);
    }
}


TEST_F(TickTest, RepaintLaysOutOnRebuildAndShowsHtmlAndMessageScreens)
{
    {
        CBVConfig html;
        html.Open(".\\Pict3.bvc", 1);
        html.WriteString(31, 1, 500, "Web");
        html.WriteInt(31, 1, 2, CVisPicture::kHtml);
        html.WriteLong(501, 1, 570, "C:\\web\\start.html");
        CBVConfig shortName;
        shortName.Open(".\\Pict4.bvc", 1);
        shortName.WriteInt(31, 1, 2, CVisPicture::kHtml);
        shortName.WriteLong(501, 1, 570, "a.ht");
    }
    DisplayFiles::Profile({{1, 10}, {3, 10}, {4, 10}, {9, 10}});
    Display d;
    d.Tick();
    EXPECT_EQ(std::count(d.port.calls.begin(), d.port.calls.end(), "layout"), 1);
    d.Tick(3);
    EXPECT_EQ(std::count(d.port.calls.begin(), d.port.calls.end(), "layout"), 1) << "nothing changed";

    d.port.calls.clear();
    d.loop.OnCommand(DisplayLoop::kNext);
    d.Tick();
    EXPECT_EQ(d.port.calls, (std::vector<std::string>{"html C:\\web\\start.html"}));
    EXPECT_EQ(d.port.view, DisplayPort::kHtmlView);

    // A page without a usable file name says so in the picture view.
    d.port.calls.clear();
    d.loop.OnCommand(DisplayLoop::kNext);
    d.Tick();
    EXPECT_STREQ(d.Picture().errorKey, "IDS_ERROR_NOHTML");
    EXPECT_EQ(d.port.calls, (std::vector<std::string>{"message"}));
    EXPECT_EQ(d.port.view, DisplayPort::kPictureView);

    d.port.calls.clear();
    d.loop.OnCommand(DisplayLoop::kNext);
    d.Tick();
    EXPECT_STREQ(d.Picture().errorKey, "IDS_ERROR_NOPICTCONFIG");
    EXPECT_EQ(d.port.calls, (std::vector<std::string>{"message"}));
}

TEST_F(TickTest, RefreshWithoutAViewChangesNothing)
{
    DisplayFiles::Profile({{1, 10}});
    Display d;
    d.Tick();
    d.port.view = DisplayPort::kNoView;
    d.port.calls.clear();
    d.data.rebuild = false;
    d.loop.OnCommand(DisplayLoop::kRefresh);
    d.loop.OnCommand(DisplayLoop::kToggleFullScreen);
    EXPECT_TRUE(d.port.calls.empty());
    EXPECT_FALSE(d.data.rebuild);
}

}  // namespace
}  // namespace bvtest
