// BVLeder's window on a small range while simulated units fire: the six
// list views, the panel with its clock running and the window without its
// tab strip, each written as a picture into the build's screens folder.
#include "WindowRange.h"

#include "foundation/settings/ProgramStore.h"
#include "foundation/settings/RangeSettings.h"

#include "platform/system/Codepage.h"

#include <cstring>

namespace {

using bvtest::RangeFolderSetup;

struct Shooter {
    int lane;
    const char* name;
    const char* club;
    const char* cls;
    const char* category;
};

const Shooter kShooters[] = {
    {1, "Kari Nordmann", "Elverum Skytterlag", "Senior", "A"},
    {2, "Ola Hansen", "Gjøvik og Toten", "Veteran", "B"},
    {3, "Anne Marie Berg", "Lillehammer SKL", "Junior", "A"},
    {4, "Per Olsen", "Hamar Skytterlag", "Senior", "B"},
    {5, "Siri Dahl", "Brumunddal SKL", "Senior", "A"},
    {6, "Jon Eriksen", "Stange Skytterlag", "Eldre vet.", "C"},
    {7, "Liv Haugen", "Ringsaker SKL", "Junior", "B"},
};

// The demo range's program: two series of ten shots, ten minutes a series.
void DemoProgram()
{
    CBVConfig programs;
    programs.Open(".\\Program.BVC", 1);
    ASSERT_TRUE(programs.IsOpen());
    using namespace ProgramItems;
    programs.WriteString(kProgramSection, 1, kKeyName, "Demo 2x10");
    programs.WriteInt(kProgramSection, 1, kKeyCommand, 6000);
    CBVConfig comp;
    comp.Open(CompSettings::FileOf(".\\", 1), 1);
    ASSERT_TRUE(comp.IsOpen());
    WriteItem(comp, CompSettings::kName, "Demo");
    // Shots may be marked for the super final; the range has no band motors.
    WriteItem(comp, CompSettings::kSuperFinal, 2);
    WriteItem(comp, CompSettings::kDistance, 300);
    WriteItem(comp, CompSettings::kSimulatedDistance, 300);
    CBVConfig range;
    range.Open(".\\BVLeder.bvc", 1);
    WriteItem(range, RangeItems::kMotor, 0);
}

void Names()
{
    CDataComp dc;
    ASSERT_EQ(dc.Open(1, 1), 0);
    for (const Shooter& s : kShooters) {
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = 1;
        card.lane = static_cast<int16_t>(s.lane);
        ASSERT_GE(dc.GetCard(card, 1), 0);
        NameRecord name;
        CDataComp::ClearName(name);
        name.startNumber = -1;
        std::strncpy(name.name, platform::Ansi(s.name).c_str(), sizeof name.name - 1);
        std::strncpy(name.club, platform::Ansi(s.club).c_str(), sizeof name.club - 1);
        std::strncpy(name.cls, platform::Ansi(s.cls).c_str(), sizeof name.cls - 1);
        std::strncpy(name.category, s.category, sizeof name.category - 1);
        ASSERT_EQ(dc.StoreName(1, s.lane, name), 0);
    }
}

class MainWindowScreensTest : public bvtest::WindowRangeTest {};

TEST_F(MainWindowScreensTest, TheRangeWhileUnitsFire)
{
    RangeFolderSetup setup;
    setup.firstLane = 1;
    setup.lastLane = 8;
    setup.shotsPerSeries = 10;
    setup.autoSend = false;
    bvtest::MakeRangeFolder(setup);
    DemoProgram();
    Names();
    profile.WriteInt("Context", "WindowX1", 1000);
    profile.WriteInt("Context", "WindowY1", 560);
    profile.WriteInt("Context", "Tab", 1);
    StartUnits(1, 7);
    StartProgram();

    // Lane 7's target shoots another relay; lane 8 has no unit.
    ASSERT_TRUE(bus->QueueLaneState(7, 1, 2, 1, 1));
    // Shots per lane: one series complete, some short, one over.
    const int shots[] = {0, 10, 7, 12, 23, 6, 6, 0};
    const int values[] = {1000, 950, 1047, 890, 1010, 760, 920, 1100};
    for (int lane = 1; lane <= 6; ++lane)
        for (int n = 1; n <= shots[lane]; ++n) {
            int value = values[(lane + n) % 8];
            // Lanes 5 and 6 shoot alike: they share a place.
            if (lane >= 5)
                value = values[n % 8];
            bvsim::ShotFields f;
            f.lane = lane;
            f.shotNumber = n;
            f.value = value;
            f.x = (n * 3170) % 9000 - 4500;
            f.y = (n * 2310) % 7000 - 3500;
            f.hundredths = 5060759 + n * 100;
            bvsim::Bytes p = bvsim::ShotPayload(f);
            // The sensors' levels: even on most shots, one sensor weak now
            // and then on lanes 2 and 4 (rated 25 and 50).
            int weak = lane == 2 && n % 3 == 0 ? 12 : lane == 4 && n % 4 == 0 ? 6 : 30;
            const int levels[4] = {31, weak, 32, 31};
            for (int k = 0; k < 4; ++k)
                p[static_cast<size_t>(35 + k - 2)] = static_cast<uint8_t>(levels[k]);
            p[11 - 2] = static_cast<uint8_t>(n);
            ASSERT_TRUE(bus->QueueMessage(lane, p));
        }
    // The lanes report their sensitivity; lane 3's target is set to another.
    for (int lane = 1; lane <= 6; ++lane)
        ASSERT_TRUE(bus->QueueMessage(lane, {0x40, 0x88, static_cast<uint8_t>(lane), 0, static_cast<uint8_t>(lane == 3 ? 2 : 1),
                                              0, 0, 0, 0}));
    // Lifts of lanes 1 to 3: prone, kneeling, standing.
    for (int lane = 1; lane <= 3; ++lane)
        ASSERT_TRUE(bus->QueueMessage(lane, {0x40, 'L', static_cast<uint8_t>(lane), static_cast<uint8_t>('5' + lane)}));
    ASSERT_TRUE(RunUntil([&] {
        for (int lane = 1; lane <= 6; ++lane)
            if (StoredShots(1, lane) < std::min(shots[lane], 23))
                return false;
        return Lane(3).liftPosition == '5' && Lane(7).targetRelay == 2;
    }, 60000));
    RunUntil([&] { return Lane(6).total == Lane(5).total && Lane(6).currentSeriesCount == 6; }, 10000);
    // The third shot of lane 1 is marked for the super final.
    Frame().Range().shotFlags.ToggleShotFlag(1, 2, ShotFlags::kSet);

    struct View {
        int page;
        const char* file;
    } views[] = {{1, "main-roll-call.png"}, {2, "main-program.png"}, {3, "main-shots.png"},
                 {4, "main-sums.png"},      {5, "main-lift.png"}};
    for (const View& v : views) {
        Frame().Views().SelectPage(v.page);
        RunUntil([] { return false; }, 300);
        Screenshot(v.file);
    }
    // The sums view: lanes 5 and 6 share second place, the next is fourth.
    EXPECT_EQ(Lane(5).place, Lane(6).place);

    // The clock runs on the panel.
    Panel().item(CFormPanel::IDC_CLOCK).click();
    RunUntil([] { return false; }, 2500);
    EXPECT_TRUE(objects->clock.IsRunning());
    QImage panel = Panel().grab().toImage();
    ASSERT_TRUE(panel.save(BV_BINARY_DIR "/screens/main-panel-clock.png", "PNG"));

    // Without its tab strip the list takes the whole left column.
    objects->settings.profile.tabOn = 0;
    Frame().Views().SelectPage(3);
    Frame().Views().LayoutClient();
    RunUntil([] { return false; }, 300);
    Screenshot("main-no-tabs.png");
}

}  // namespace
