// What the competition settings dialog checks, limits and writes, without
// its window: prefixes, twin-screen marking, numbers held to their range,
// the reload flag, the Default button and the programs of an organisation.
#include "TempFolder.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/ProgramStore.h"
#include "range/setup/CompSettingsForm.h"

#include <gtest/gtest.h>

namespace {

using namespace CompSettings;

TEST(CompSettingsPrefix, ALetterAndADigitOneToNine)
{
    struct Case {
        const char* prefix;
        bool valid;
    };
    const Case cases[] = {
        {"H1", true}, {"a1", true}, {"Z9", true},
        {"A0", false}, {"1A", false}, {"ABC", false}, {"A", false}, {"", false}, {"A12", false}, {"\xC6" "1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompSettingsForm::ValidPrefix(c.prefix), c.valid) << c.prefix;
}

TEST(CompSettingsTwin, OneLaneShootsAndAnotherLaneOfALineShowsIt)
{
    auto channelUpTo20 = [](int lane) { return lane >= 1 && lane <= 20; };
    struct Case {
        const char* name;
        std::vector<int> listed;
        std::vector<int> ticked;
        int twinLane;
        bool refused;
    };
    const Case cases[] = {
        {"one lane and its twin", {1, 2, 3}, {2}, 3, false},
        {"two lanes ticked", {1, 2, 3}, {1, 2}, 3, true},
        {"no lane ticked", {1, 2, 3}, {}, 3, true},
        {"the twin is the lane", {1, 2, 3}, {2}, 2, true},
        {"one lane listed", {2}, {2}, 3, true},
        {"twin lane without a line", {1, 2, 3}, {2}, 30, true},
        {"twin lane 0", {1, 2, 3}, {2}, 0, true},
        {"twin lane 101", {1, 2, 3}, {2}, 101, true},
    };
    for (const Case& c : cases) {
        CompSettingsForm form;
        form.prefix = "H1";
        form.twinBox = 1;
        form.twinLane = c.twinLane;
        for (int lane : c.listed)
            form.lanes.push_back({lane, std::find(c.ticked.begin(), c.ticked.end(), lane) != c.ticked.end()});
        const char* refusal = form.Check(channelUpTo20);
        EXPECT_EQ(refusal != nullptr, c.refused) << c.name;
        if (refusal)
            EXPECT_STREQ(refusal, "IDS_DEFCOMP_WRNTWIN") << c.name;
        // Without the box nothing of this is looked at.
        form.twinBox = 0;
        EXPECT_EQ(form.Check(channelUpTo20), nullptr) << c.name;
    }
    // The twin lane 100 is a lane like any other.
    CompSettingsForm form;
    form.prefix = "H1";
    form.twinBox = 1;
    form.twinLane = 100;
    form.lanes = {{99, true}, {100, false}};
    EXPECT_EQ(form.Check([](int lane) { return lane >= 99; }), nullptr);
    form.prefix = "H0";
    EXPECT_STREQ(form.Check([](int lane) { return lane >= 99; }), "IDS_DEFCOMP_WRNPREFIX");
}

class CompSettingsFormTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        comp.Open(".\\Comp.BVC", 1);
        ASSERT_TRUE(comp.IsOpen());
    }
    CBVConfig comp;
};

TEST_F(CompSettingsFormTest, NumbersAreHeldToTheirRange)
{
    struct Case {
        unsigned typed;
        int zoom, tempo, distance, decimals;
    };
    const Case cases[] = {
        {15, 10, 9, 15, 3},
        {0, 0, 0, 1, 0},
        {1, 1, 1, 1, 1},
        {5000, 10, 9, 999, 3},
        {999, 10, 9, 999, 3},
        {2, 2, 2, 2, 2},
    };
    for (const Case& c : cases) {
        CompSettingsForm form;
        form.zoomLevel = form.tempo = form.distance = form.simulatedDistance = form.decimals = c.typed;
        form.Write(comp, false);
        EXPECT_EQ(ReadItem(comp, kZoomLevel), c.zoom) << c.typed;
        EXPECT_EQ(ReadItem(comp, kMarkingTempo), c.tempo) << c.typed;
        EXPECT_EQ(ReadItem(comp, kDistance), c.distance) << c.typed;
        EXPECT_EQ(ReadItem(comp, kSimulatedDistance), c.distance) << c.typed;
        EXPECT_EQ(ReadItem(comp, kDecimals), c.decimals) << c.typed;
    }
}

TEST_F(CompSettingsFormTest, SuperFinalIsStoredPlusOne)
{
    struct Case {
        int box;
        const char* number;
        int stored;
    };
    const Case cases[] = {{1, "0", 1}, {1, "9", 10}, {1, "", 1}, {0, "5", 0}};
    for (const Case& c : cases) {
        CompSettingsForm form;
        form.superFinalBox = c.box;
        form.superFinalNumber = c.number;
        form.Write(comp, false);
        EXPECT_EQ(ReadItem(comp, kSuperFinal), c.stored) << c.box << " " << c.number;
        CompSettingsForm loaded;
        loaded.Load(comp);
        EXPECT_EQ(loaded.superFinalBox, c.stored != 0 ? 1 : 0);
        if (c.stored != 0)
            EXPECT_EQ(loaded.superFinalNumber, std::to_string(c.stored - 1));
    }
}

TEST_F(CompSettingsFormTest, ReloadOnlyForANewLaneOrAChangedStartNumberBox)
{
    struct Case {
        const char* name;
        bool lane1, lane2, lane3;
        bool startNumbers, startNumbersAtLoad;
        bool reload;
    };
    const Case cases[] = {
        {"nothing changed", true, false, false, false, false, false},
        {"a lane unticked", false, false, false, false, false, false},
        {"lane 2 ticked", true, true, false, false, false, true},
        {"lane 3 ticked", true, false, true, false, false, true},
        {"start numbers on", true, false, false, true, false, true},
        {"start numbers off", true, false, false, false, true, true},
        {"start numbers as they were", true, false, false, true, true, false},
    };
    for (const Case& c : cases) {
        WriteItem(comp, LaneActive(1), 1);
        WriteItem(comp, LaneActive(2), 0);
        WriteItem(comp, LaneActive(3), 0);
        CompSettingsForm form;
        form.lanes = {{1, c.lane1}, {2, c.lane2}, {3, c.lane3}};
        form.options.Set(CompOptions::StartNumbers, c.startNumbers);
        EXPECT_EQ(form.Write(comp, c.startNumbersAtLoad), c.reload) << c.name;
        EXPECT_EQ(ReadItem(comp, LaneActive(1)), c.lane1 ? 1 : 0) << c.name;
        EXPECT_EQ(ReadItem(comp, LaneActive(3)), c.lane3 ? 1 : 0) << c.name;
    }
}

TEST_F(CompSettingsFormTest, DefaultByOrganisationLeavesSendingAutomatically)
{
    struct Case {
        int organisation;
        const char* laneText;
        bool serie, userSelect, relayChange, startNumbers;
    };
    const Case cases[] = {
        {CompOptions::Private, "", true, false, true, false},
        {CompOptions::NSF, "FERDIG", false, true, false, false},
        {CompOptions::NJFF, "", true, false, true, true},
        {CompOptions::FSR, "FERDIG", true, false, true, false},
        {CompOptions::ISSF, "FINISHED", false, true, false, false},
    };
    for (bool autoSend : {false, true}) {
        for (const Case& c : cases) {
            CompSettingsForm form;
            form.organisation = c.organisation;
            form.laneText = "was";
            form.decimals = 3;
            form.options = CompOptions("111111111111111111111111111111");
            form.options.Set(CompOptions::SendResultsAutomatically, autoSend);
            form.options.Set(CompOptions::Last10ShotsButton, true);
            form.ApplyDefault();
            SCOPED_TRACE(c.organisation);
            EXPECT_EQ(form.laneText, c.laneText);
            EXPECT_EQ(form.decimals, 1u);
            EXPECT_EQ(form.options.IsOn(CompOptions::RemindChangeSeries), c.serie);
            EXPECT_EQ(form.options.IsOn(CompOptions::ShooterSelectsSeries), c.userSelect);
            EXPECT_EQ(form.options.IsOn(CompOptions::RelayChangeAllLanes), c.relayChange);
            EXPECT_EQ(form.options.IsOn(CompOptions::StartNumbers), c.startNumbers);
            EXPECT_TRUE(form.options.IsOn(CompOptions::Resolution100));
            EXPECT_FALSE(form.options.IsOn(CompOptions::RemoveFrameShots));
            EXPECT_FALSE(form.options.IsOn(CompOptions::BlockAllMarking));
            EXPECT_FALSE(form.options.IsOn(CompOptions::Last10ShotsButton));
            EXPECT_EQ(form.options.IsOn(CompOptions::SendResultsAutomatically), autoSend);
        }
    }
}

TEST_F(CompSettingsFormTest, TheOrganisationsPrograms)
{
    {
        CBVConfig first;
        first.Open(".\\Program.BVC", 1);
        first.WriteInt(29, 1, 530, 4);
        const std::pair<const char*, int> programs[] = {{"NSF one", 2}, {"", 2}, {"Free", -1}, {"NSF two", 2}};
        for (int n = 1; n <= 4; ++n) {
            first.WriteString(29, n, 500, programs[n - 1].first);
            if (programs[n - 1].second >= 0)
                first.WriteInt(29, n, 690, programs[n - 1].second);
        }
        CBVConfig second;
        second.Open(".\\Program2.BVC", 1);
        second.WriteInt(29, 1, 530, 2);
        second.WriteString(29, 1, 500, "Own 101");
        second.WriteString(29, 2, 500, "Own 102");
        second.WriteInt(29, 2, 690, 2);  // a program above 100 is the range's own whatever it says
    }
    CProgramStore store;
    auto numbers = [&](int organisation) {
        std::vector<int> out;
        for (const CompSettingsForm::ProgramEntry& e : CompSettingsForm::ProgramsOf(organisation, store))
            out.push_back(e.number);
        return out;
    };
    EXPECT_EQ(numbers(CompOptions::Private), (std::vector<int>{101, 102}));
    EXPECT_EQ(numbers(CompOptions::NSF), (std::vector<int>{1, 4}));
    EXPECT_EQ(numbers(CompOptions::NJFF), (std::vector<int>{}));
    EXPECT_EQ(CompSettingsForm::ProgramsOf(CompOptions::Private, store)[0].name, "Own 101");
}

}  // namespace
