// The new shooters' entries without a window: the proposal for each way of
// opening, Auto, the duplicate check over lanes 1 to 100, and the height the
// dialog takes for its rows.
#include "range/dialogs/RelayEntries.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Entries = std::vector<int>;

// Lanes 2, 3, 5 and 100 take part; lane 4 is served but not enabled and
// lane 6 enabled without a channel.
LaneTable Lanes(const Entries& current)
{
    LaneTable lanes;
    for (int lane : {2, 3, 5, 100}) {
        lanes[lane].channelType = 1;
        lanes[lane].enabled = 1;
    }
    lanes[4].channelType = 1;
    lanes[6].enabled = 1;
    const int order[] = {2, 3, 5, 100, 4, 6};
    for (size_t i = 0; i < current.size(); ++i)
        lanes[order[i]].active.relay = static_cast<int16_t>(current[i]);
    return lanes;
}

Entries Of(const RelayEntries& e)
{
    return {e.Entry(2), e.Entry(3), e.Entry(5), e.Entry(100), e.Entry(4), e.Entry(6)};
}

TEST(RelayEntries, WhetherAllLanesStartTogether)
{
    EXPECT_TRUE(RelayEntries::StartsAllLanes(false, true, {}));
    EXPECT_FALSE(RelayEntries::StartsAllLanes(true, true, {}));
    EXPECT_FALSE(RelayEntries::StartsAllLanes(false, false, {}));
    EXPECT_FALSE(RelayEntries::StartsAllLanes(false, true, {.noAllLanes = true}));
}

TEST(RelayEntries, Proposals)
{
    struct Case {
        const char* name;
        RelayFlags flags;
        bool allLanes;
        bool startNumbers;
        bool rows;
        int relay;
        Entries entries;  // lanes 2, 3, 5, 100, then 4 and 6 (never set)
    };
    // Current relays 2, 4, 2, 3; lane 4, not taking part, has 6.
    const Entries current = {2, 4, 2, 3, 6, 1};
    const Case cases[] = {
        {"each lane its relay", {}, true, false, true, 6, {2, 4, 2, 3, 0, 0}},
        {"the next relay for all", {.nextRelay = true}, true, false, true, 7, {7, 7, 7, 7, 0, 0}},
        {"the next relay, lane by lane", {.nextRelay = true}, false, false, true, 7, {2, 4, 2, 3, 0, 0}},
        {"start numbers, next", {.nextRelay = true}, true, true, true, 7, {2, 4, 2, 3, 0, 0}},
        {"reset", {.reset = true}, true, false, true, 1, {1, 1, 1, 1, 0, 0}},
        {"reset without a competition", {.reset = true}, false, false, false, 1, {1, 1, 1, 1, 0, 0}},
        {"no competition: no entries", {.nextRelay = true}, true, false, false, 7, {0, 0, 0, 0, 0, 0}},
    };
    LaneTable lanes = Lanes(current);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RelayEntries e;
        EXPECT_EQ(e.Propose(lanes, c.flags, c.allLanes, c.startNumbers, c.rows), c.relay);
        EXPECT_EQ(Of(e), c.entries);
    }
    // No relay anywhere yet: relay 1 (2 with the next one).
    LaneTable fresh = Lanes({});
    RelayEntries e;
    EXPECT_EQ(e.Propose(fresh, {}, true, false, true), 1);
    EXPECT_EQ(e.Propose(fresh, {.nextRelay = true}, true, false, true), 1);
}

TEST(RelayEntries, Auto)
{
    struct Case {
        const char* name;
        bool startNumbers;
        bool allLanes;
        Entries typed;  // lanes 2, 3, 5, 100 before Auto
        Entries after;
    };
    const Entries current = {21, 22, 23, 30, 50, 60};
    const Case cases[] = {
        {"unchanged: on from the highest", true, false, {21, 22, 23, 30}, {31, 32, 33, 34, 0, 0}},
        {"changed: from the first entry", true, false, {21, 40, 23, 30}, {21, 22, 23, 24, 0, 0}},
        {"changed first lane", true, false, {8, 22, 23, 30}, {8, 9, 10, 11, 0, 0}},
        {"all cleared: on from the highest", true, false, {0, 0, 0, 0}, {31, 32, 33, 34, 0, 0}},
        {"near the top", true, false, {9998, 22, 23, 30}, {9998, 9999, 9999, 9999, 0, 0}},
        {"relays for all: each the next", false, true, {1, 1, 1, 1}, {22, 23, 24, 31, 0, 0}},
        {"relays lane by lane: nothing", false, false, {1, 1, 1, 1}, {1, 1, 1, 1, 0, 0}},
    };
    LaneTable lanes = Lanes(current);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RelayEntries e;
        const int order[] = {2, 3, 5, 100};
        for (size_t i = 0; i < c.typed.size(); ++i)
            e.SetEntry(order[i], c.typed[i]);
        e.Auto(lanes, c.startNumbers, c.allLanes);
        EXPECT_EQ(Of(e), c.after);
    }
}

TEST(RelayEntries, DuplicatesAndChanges)
{
    LaneTable lanes = Lanes({21, 22, 23, 30, 22, 23});
    struct Case {
        Entries typed;  // lanes 2, 3, 5, 100, 4, 6
        int first;
        int second;
    };
    const Case cases[] = {
        {{21, 22, 23, 30, 22, 23}, 0, 0},  // lanes 4 and 6 do not take part
        {{21, 22, 22, 30, 0, 0}, 3, 5},
        {{21, 22, 23, 21, 0, 0}, 2, 100},
        {{0, 0, 23, 30, 0, 0}, 0, 0},      // unset entries are no duplicates
    };
    const int order[] = {2, 3, 5, 100, 4, 6};
    for (const Case& c : cases) {
        RelayEntries e;
        for (size_t i = 0; i < c.typed.size(); ++i)
            e.SetEntry(order[i], c.typed[i]);
        EXPECT_EQ(e.Duplicate(lanes), std::make_pair(c.first, c.second)) << c.typed[2] << "," << c.typed[3];
    }
    RelayEntries e;
    e.SetEntry(2, 21);
    e.SetEntry(3, 9);
    EXPECT_FALSE(e.Changed(lanes, 2));
    EXPECT_TRUE(e.Changed(lanes, 3));
    EXPECT_FALSE(RelayEntries::Valid(0));
    EXPECT_TRUE(RelayEntries::Valid(1));
    EXPECT_TRUE(RelayEntries::Valid(9999));
    EXPECT_FALSE(RelayEntries::Valid(10000));
    // Outside the lanes nothing is kept.
    e.SetEntry(101, 5);
    e.SetEntry(-1, 5);
    EXPECT_EQ(e.Entry(101), 0);
}

TEST(RelayEntries, DialogHeight)
{
    struct Case {
        bool gridShown;
        int rows;
        int limit;
        int height;
    };
    // The grid's top at 60, rows of 14 pixels, 28 for the header and margin.
    const Case cases[] = {
        {false, 6, 0, 60},      {true, 1, 0, 60 + 14 + 28},     {true, 6, 0, 60 + 84 + 28},
        {true, 20, 0, 60 + 280 + 28}, {true, 100, 600, 600}, {true, 0, 0, 88},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RelayDialogHeight(c.gridShown, 60, c.rows, 14, 28, c.limit), c.height) << c.rows;
}

}  // namespace
