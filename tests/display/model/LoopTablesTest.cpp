// The display loop's tables: tick counters, intervals, long texts, what a
// panel shows by its kind, and the estimates.
#include <gtest/gtest.h>

#include <fstream>

#include "TempFolder.h"
#include "display/loop/DisplayLoop.h"
#include "display/model/VisData.h"
#include "display/model/TickCounter.h"
#include "display/settings/LoopIntervals.h"
#include "display/settings/VisSettings.h"

namespace {

TEST(TickCounterTest, StepsElapsesAndReloadsByDirection)
{
    struct Case {
        const char* what;
        bool countUp;
        bool autoReload;
        int start;
        bool step, reload;
        bool elapsed;
        int after;
    };
    const Case cases[] = {
        {"up below the limit", true, true, 1, true, true, false, 2},
        {"up reaches the limit and reloads", true, true, 2, true, true, true, 0},
        {"up at the limit without reload stays", true, true, 3, false, false, true, 3},
        {"up without auto-reload keeps its end", true, false, 3, false, true, true, 3},
        {"up never steps past the limit", true, true, 3, true, false, true, 3},
        {"down above zero", false, true, 2, true, true, false, 1},
        {"down reaches zero and reloads to the limit", false, true, 1, true, true, true, 3},
        {"a negative value never elapses", true, true, -1, true, true, false, -1},
    };
    for (const Case& c : cases) {
        CTickCounter t;
        t.Init(3, c.autoReload, c.countUp);
        t.Set(c.start);
        EXPECT_EQ(t.Elapsed(c.step, c.reload), c.elapsed) << c.what;
        EXPECT_EQ(t.Get(), c.after) << c.what;
    }
    CTickCounter down;
    down.Init(5, true, false);
    down.Reset();
    EXPECT_EQ(down.Get(), 5);
}

class IntervalsTest : public bvtest::InTempFolder {};

TEST_F(IntervalsTest, MillisecondsBecomeTicksOfAtLeastOne)
{
    LoopIntervals none = LoopIntervals::Read("BVVis.ini");
    EXPECT_EQ(none.config, 150);
    EXPECT_EQ(none.name, 150);
    EXPECT_EQ(none.shot, 5);
    EXPECT_EQ(none.pict, 10);
    struct Case {
        const char* shot;
        int ticks;
    } cases[] = {{"0", 1}, {"150", 1}, {"199", 1}, {"200", 2}, {"500", 5}, {"-300", 1}};
    for (const Case& c : cases) {
        std::ofstream("BVVis.ini") << "[BVVis]\nShot=" << c.shot << "\nConfig=2000\n";
        LoopIntervals l = LoopIntervals::Read("BVVis.ini");
        EXPECT_EQ(l.shot, c.ticks) << c.shot;
        EXPECT_EQ(l.config, 20);
        EXPECT_EQ(l.name, 150);
    }
}

class WriteLongTest : public bvtest::InTempFolder {};

TEST_F(WriteLongTest, KeepsAtMostWhatTheNineKeysHold)
{
    CBVConfig s;
    s.Open(".\\BVVis.bvc", 1);
    std::string text;
    for (int i = 0; i < 330; ++i)
        text += static_cast<char>('a' + i % 26);
    struct Case {
        size_t length;
        int result;
    } cases[] = {{0, 1}, {45, 1}, {270, 1}, {271, 1}, {272, 0}, {300, 0}, {321, 0}};
    for (const Case& c : cases) {
        s.WriteLong(3, 1, 570, "old");
        std::string piece = text.substr(0, c.length);
        EXPECT_EQ(s.WriteLong(3, 1, 570, piece), c.result) << c.length;
        std::string back = VisItems::ReadLongItem(s, 3, 1, 570);
        EXPECT_EQ(back, c.result ? piece : std::string("old")) << c.length;
    }
    // 270 characters: thirty in each key.
    s.WriteLong(3, 1, 570, text.substr(0, 270));
    for (int j = 0; j < 9; ++j)
        EXPECT_EQ(std::string(s.ReadString(3, 1, 570 + j, "")), text.substr(30 * j, 30)) << j;
}

TEST(ViewFlagsTest, ByViewTypeAndPictureFlags)
{
    struct Case {
        int viewType, pictureFlags;
        bool place;
        int flags;
    } cases[] = {
        {0, 0x20017, false, 0x30307},       // face: name, club, class; no lane
        {0, 0x20017, true, 0x30B07},
        {0, 0, false, 0x30301},             // no name bit: the name
        {1, 0x20017, false, 0x10000},       // face only, no names added
        {2, 0x20097, false, 0x233D7},       // list row takes shot list, count, series name
        {2, 0x0, true, 0x3B41},             // a list row keeps its lane beside the place
        {3, 0x4, false, 0x1245},            // lane, sub-sums, class, name, total
        {4, 0x20017, false, 0x247},         // unknown kind: lane, names, total
        {-1, 0x20017, true, 0xA07},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayLoop::NewViewFlags(c.viewType, c.pictureFlags, c.place), c.flags)
            << c.viewType << " " << std::hex << c.pictureFlags;
}

TEST(ViewFlagsTest, NormaliseSaysWhetherItChanged)
{
    struct Case {
        int viewType, before, after, changed;
    } cases[] = {
        {0, 0x10040, 0x10001, 1}, {1, 0x10000, 0x10000, 0}, {0, 0x10002, 0x10002, 0},
        {2, 0, 0x241, 1},         {2, 0x800, 0xA01, 1},      {3, 0x243, 0x243, 0},
    };
    for (const Case& c : cases) {
        CVisTarget t(1);
        t.viewType = c.viewType;
        t.viewFlags = c.before;
        EXPECT_EQ(DisplayLoop::NormaliseViewFlags(t), c.changed) << std::hex << c.before;
        EXPECT_EQ(t.viewFlags, c.after) << std::hex << c.before;
    }
}

TEST(EstimateTest, ByEstimateMode)
{
    struct Case {
        int mode, total, count, planned, best, result;
    } cases[] = {
        {0, 4000, 4, 10, 1000, 4000}, {1, 4000, 4, 10, 1000, 10000}, {2, 3850, 4, 10, 1000, 96250},
        {2, 0, 0, 10, 1000, 0},       {3, 3850, 4, 10, 1000, 9625},  {3, 5, 0, 10, 1000, 0},
        {7, 42, 1, 10, 1000, 42},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayLoop::Estimate(c.mode, c.total, c.count, c.planned, c.best), c.result) << c.mode;
}


TEST(VisDataTest, DefaultsAndSharedEvents)
{
    CVisData data;
    EXPECT_EQ(data.profile, -1);
    EXPECT_TRUE(data.rebuild);
    CVisPicture& p = data.AddPicture(1);
    EXPECT_EQ(p.type, 0);
    EXPECT_EQ(p.faceAspect, 1.0);
    EXPECT_TRUE(p.headerChanged);
    EXPECT_EQ(p.exportWidth, 240);
    CVisTarget& t = p.AddTarget(3);
    EXPECT_TRUE(t.relayout && t.shotsChanged && t.namesDue && t.faceRedraw && t.listRedraw);
    EXPECT_EQ(t.redrawMask, -1);
    EXPECT_EQ(t.firstCountedShot, -1);
    EXPECT_EQ(t.zoomRing, 11);
    EXPECT_STREQ(t.zoomText, "0123456789X");
    EXPECT_EQ(t.exportCountdown, 300);
    EXPECT_EQ(t.card.targetType, 255);
    CVisEvent& e = data.AddEvent(2);
    EXPECT_EQ(e.competition, -1);
    EXPECT_TRUE(e.filesChanged);
    EXPECT_EQ(e.shotCheck, 1);
    EXPECT_EQ(e.rangeSettingsState, 0);
    EXPECT_EQ(e.shotsPerLine, 0);
    EXPECT_EQ(e.distanceScale, 1.0);
    data.AddEvent(2);
    EXPECT_EQ(data.FindEvent(2), &e) << "the first of a number";
    EXPECT_EQ(data.FindEvent(5), nullptr);
    p.RemoveTarget(&t);
    EXPECT_TRUE(p.targets.empty());
    data.RemoveAllPictures();
    EXPECT_EQ(data.current, nullptr);
}

}  // namespace
