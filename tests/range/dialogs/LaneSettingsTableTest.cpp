// The lane settings' working copy without a window: the rules a target type
// and a sensitivity bring with them, the band-advance range, which lanes the
// copy stands for, and what Store writes into the card images.
#include "TempFolder.h"

#include "foundation/files/BVConfig.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/targets/TargetTypes.h"
#include "range/dialogs/LaneSettingsTable.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string Row(const LaneSettingsRow& r)
{
    return std::to_string(r.targetType) + "," + std::to_string(r.sensitivity) + "," +
           std::to_string(r.valueSystem) + "," + std::to_string(r.advanceFrequency) + "," +
           std::to_string(r.advanceLength);
}

// Lane 1 starts as type 0 with its defaults: "type,sensitivity,value system,frequency,length".
LaneTable OneLane()
{
    LaneTable lanes;
    CardRecord& c = lanes[1].card;
    c.targetType = 0;
    c.sensitivity = 1;
    c.valueSystem = 0;
    c.band1 = 150;
    c.band2 = 10;
    return lanes;
}

TEST(LaneSettingsTable, TypeAndSensitivityRules)
{
    struct Case {
        const char* name;
        const char* language;
        std::function<void(LaneSettingsTable&, const CTargetTypes&)> act;
        const char* row;
    };
    const Case cases[] = {
        {"a new type brings its defaults", "UK", [](auto& t, auto& types) { t.SetTargetType(1, 23, types); },
         "23,3,1,1,25"},
        {"the same type keeps what was set",
         "UK",
         [](auto& t, auto& types) {
             t.SetValueSystem(1, 6);
             t.SetTargetType(1, 0, types);
         },
         "0,1,6,150,10"},
        {"type 29's band length follows the sensitivity",
         "UK",
         [](auto& t, auto& types) {
             t.SetTargetType(1, 29, types);
             t.SetValueSystem(1, 2);
             t.SetSensitivity(1, 1, types);
         },
         "29,1,2,5,10"},
        {"the elk value system of a Swedish moose", "SE", [](auto& t, auto& types) { t.SetTargetType(1, 37, types); },
         "37,1,4,20,10"},
        {"the same target elsewhere", "NO", [](auto& t, auto& types) { t.SetTargetType(1, 37, types); },
         "37,1,1,20,10"},
    };
    LaneTable lanes = OneLane();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTargetTypes types;
        types.SetLanguage(c.language);
        LaneSettingsTable table;
        table.Load(lanes);
        c.act(table, types);
        EXPECT_EQ(Row(table.Row(1)), c.row);
    }
}

TEST(LaneSettingsTable, BandAdvanceKeepsToAByte)
{
    LaneSettingsTable t;
    struct Case {
        int value;
        bool taken;
    };
    const Case cases[] = {{0, true}, {255, true}, {-1, false}, {256, false}, {100000, false}};
    for (const Case& c : cases) {
        t.SetAdvanceLength(1, 7);
        t.SetAdvanceFrequency(1, 7);
        EXPECT_EQ(t.SetAdvanceLength(1, c.value), c.taken) << c.value;
        EXPECT_EQ(t.SetAdvanceFrequency(1, c.value), c.taken) << c.value;
        EXPECT_EQ(t.Row(1).advanceLength, c.taken ? c.value : 7);
        EXPECT_EQ(t.Row(1).advanceFrequency, c.taken ? c.value : 7);
    }
}

// The copy stands for every lane's card but those of lanes enabled without
// a channel; Store writes the lanes that differ and marks their rows.
TEST(LaneSettingsTable, CopiesAndStore)
{
    LaneTable lanes;
    lanes[1].channelType = 1;
    lanes[1].enabled = 1;
    lanes[2].channelType = 1;  // served, not enabled
    lanes[3].enabled = 1;      // enabled, no channel
    lanes[4].channelType = 1;
    lanes[4].enabled = 1;
    EXPECT_TRUE(LaneSettingsTable::Keeps(lanes, 1));
    EXPECT_TRUE(LaneSettingsTable::Keeps(lanes, 2));
    EXPECT_FALSE(LaneSettingsTable::Keeps(lanes, 3));
    EXPECT_TRUE(LaneSettingsTable::Keeps(lanes, 100));

    CTargetTypes types;
    LaneSettingsTable t;
    t.Load(lanes);
    EXPECT_FALSE(t.Differs(lanes));
    t.SetTargetType(1, 23, types);
    // Lane 2 is not active: copy to next copies nothing.
    EXPECT_FALSE(t.CopyToNext(1, lanes));
    EXPECT_TRUE(t.CopyToNext(3, lanes));
    EXPECT_FALSE(t.CopyToNext(100, lanes));
    EXPECT_EQ(t.Row(4), t.Row(3));
    t.CopyToAll(1, lanes);
    EXPECT_EQ(Row(t.Row(100)), "23,3,1,1,25");
    EXPECT_EQ(Row(t.Row(3)), "0,0,0,0,0");
    EXPECT_TRUE(t.Differs(lanes));

    EXPECT_EQ(t.Store(lanes), 99);
    EXPECT_EQ(lanes[2].card.targetType, 23);
    EXPECT_EQ(lanes[2].card.band1, 1);
    EXPECT_EQ(lanes[2].card.band2, 25);
    EXPECT_EQ(lanes[2].rowMark, 1);
    EXPECT_EQ(lanes[3].rowMark, 0);
    EXPECT_EQ(lanes[3].card.targetType, 0);
    EXPECT_FALSE(t.Differs(lanes));
    EXPECT_EQ(t.Store(lanes), 0);
}

TEST(LaneSettingsTable, DefaultsAndTexts)
{
    bvtest::TempFolder folder;
    CBVConfig range;
    range.Open(".\\BVLeder.bvc", 1);
    ASSERT_TRUE(range.IsOpen());
    CTargetTypes types;
    LaneSettingsTable t;
    t.SetTargetType(5, 29, types);
    t.SetSensitivity(5, 2, types);
    t.WriteDefaults(range, 5);
    EXPECT_EQ(ReadItem(range, RangeItems::kNewLaneTargetType), 29);
    EXPECT_EQ(ReadItem(range, RangeItems::kNewLaneSensitivity), 2);
    EXPECT_EQ(ReadItem(range, RangeItems::kNewLaneValueSystem), 1);
    EXPECT_EQ(ReadItem(range, RangeItems::kNewLaneBandFrequency), 5);
    EXPECT_EQ(ReadItem(range, RangeItems::kNewLaneBandLength), 5);

    EXPECT_EQ(LaneSettingsTable::GaugeText(29, types, "Auto"), "Auto");
    EXPECT_EQ(LaneSettingsTable::GaugeText(23, types, "Auto"), " 4.50mm");
    EXPECT_STREQ(LaneSettingsTable::ValueSystemKey(4), "IDS_VALUESYS_ELG");
    EXPECT_EQ(LaneSettingsTable::ValueSystemKey(7), nullptr);
    EXPECT_STREQ(LaneSettingsTable::SensitivityKey(0), "IDS_SENSITIVITY0");
    EXPECT_EQ(LaneSettingsTable::SensitivityKey(-1), nullptr);
}

}  // namespace
