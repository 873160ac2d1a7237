// The range's line channels, without a window, against simulated target units on
// pseudo-terminals: channels opened from a range folder's settings, commands
// on the right bus, messages on the right lanes, the line status of a lane,
// and channels that cannot open.
#include "range/base/RangeObjects.h"
#include "tests/support/Eventually.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/targets/TargetTypes.h"
#include "platform/files/FileSystem.h"
#include "line/BVSerCom.h"
#include "platform/system/Clock.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "platform/ui/ScriptedPrompter.h"
#include "range/lanes/Commands.h"
#include "range/run/RangeControl.h"
#include "range/run/TickSchedule.h"
#include "tools/bvsim/lib/Bus.h"

#include "tests/range/RecordingServices.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using bvsim::Bytes;

using bvtest::kPatienceMs;

// One simulated bus on COM n.
struct SimBus {
    platform::PseudoTerminal pty;
    std::unique_ptr<bvsim::Bus> bus;
    int com = 0;

    void Start(int n)
    {
        com = n;
        ASSERT_EQ(pty.Open(), 0);
        auto master = std::make_unique<platform::SerialPort>();
        ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
        bus = std::make_unique<bvsim::Bus>(std::move(master));
        ASSERT_EQ(bus->Start(), 0);
        platform::SetComDevice(n, pty.SlavePath());
    }
    void Stop()
    {
        if (bus)
            bus->Stop();
        platform::SetComDevice(com, "");
    }
    bvsim::UnitStats Unit(int lane)
    {
        bvsim::UnitStats s;
        bus->Stats(lane, s);
        return s;
    }
    // Commands the unit heard whose command byte is c.
    std::vector<Bytes> Heard(int lane, uint8_t c)
    {
        std::vector<Bytes> out;
        for (const Bytes& b : bus->Commands(lane))
            if (b.size() > 1 && b[1] == c)
                out.push_back(b);
        return out;
    }
    std::vector<Bytes> HeardByAll(uint8_t c)
    {
        std::vector<Bytes> out;
        for (const Bytes& b : bus->BroadcastsHeard())
            if (b.size() > 1 && b[1] == c)
                out.push_back(b);
        return out;
    }
};

class LineChannelsTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        objects = std::make_unique<RangeObjects>();
        objects->settings.OpenConfig();
        ASSERT_TRUE(objects->settings.Config().IsOpen());
        services = std::make_unique<bvtest::RecordingServices>(objects->language, notes);
        range = std::make_unique<RangeControl>(*objects, *services, tick);
    }
    void TearDown() override
    {
        range.reset();
        a.Stop();
        b.Stop();
        platform::SetComDevice(3, "");
    }

    void Channel(int k, int type, int first, int last)
    {
        ASSERT_EQ(CRangeSettings::WriteChannel(objects->settings.Config(), k, {type, first, last}), 0);
    }
    void RangeItem(const ConfigIntItem& item, int value)
    {
        ASSERT_EQ(WriteItem(objects->settings.Config(), item, value), 0);
    }

    // Runs the dispatcher, as the tick does, until the test holds.
    bool Until(const std::function<bool()>& test, int ms = kPatienceMs)
    {
        for (int waited = 0; waited < ms; waited += 10) {
            range->dispatcher.DispatchMessages();
            if (test())
                return true;
            platform::SleepMs(10);
        }
        return false;
    }
    bool Eventually(SimBus& s, const std::function<bool()>& test) { return s.bus->WaitFor(test, kPatienceMs); }

    LaneBlock& Lane(int lane) { return objects->lanes[lane]; }
    PortRecord& Port(int k) { return objects->ports[k]; }
    static std::string Log() { return bvtest::TempFolder::Read("BVLog.txt"); }

    // Two buses, COM1 with lanes 1..10 and COM2 with lanes 11..20; between
    // them a COM3 that is not there, and a USB line adapter after them.
    void TwoBusesAndTwoFailures()
    {
        a.Start(1);
        b.Start(2);
        platform::SetComDevice(3, folder.File("no-such-port"));
        Channel(0, 1, 1, 10);
        Channel(1, 3, 21, 30);
        Channel(2, 2, 11, 20);
        Channel(3, 11, 31, 40);
        for (int lane : {1, 2, 3})
            ASSERT_TRUE(a.bus->AddUnit(lane));
        for (int lane : {11, 12})
            ASSERT_TRUE(b.bus->AddUnit(lane));
        range->channels.OpenPorts();
    }

    SimBus a, b;
    std::unique_ptr<RangeObjects> objects;
    bvtest::CallLog notes;
    TickSchedule tick;
    std::unique_ptr<bvtest::RecordingServices> services;
    std::unique_ptr<RangeControl> range;
};

}  // namespace

TEST_F(LineChannelsTest, ChannelsOpenFromTheRangeSettings)
{
    TwoBusesAndTwoFailures();
    EXPECT_EQ(Port(0).state, PortState::Open);
    EXPECT_EQ(Port(1).state, PortState::Failed);
    EXPECT_EQ(Port(2).state, PortState::Open);
    // A USB line opens without its adapter and waits for it to be plugged in.
    EXPECT_EQ(Port(3).state, PortState::Open);
    EXPECT_EQ(Port(3).type, 11);
    EXPECT_STREQ(Port(3).adapterName, "BV100000");
    std::string log = Log();
    EXPECT_NE(log.find("Failed to open Com3"), std::string::npos);

    struct Case {
        int lane, channel, type;
    };
    for (const Case& k : {Case{1, 0, 1}, Case{10, 0, 1}, Case{11, 2, 2}, Case{20, 2, 2}, Case{25, 1, 3},
                          Case{40, 3, 11}, Case{41, 0, 0}}) {
        EXPECT_EQ(Lane(k.lane).channel, k.channel) << k.lane;
        EXPECT_EQ(Lane(k.lane).channelType, k.type) << k.lane;
    }

    // Both working buses are polled, the one after the failed channel too.
    EXPECT_TRUE(Eventually(a, [&] { return a.Unit(3).polls > 0; }));
    EXPECT_TRUE(Eventually(b, [&] { return b.Unit(12).polls > 0; }));
    // The failed channel's lanes show no contact, the USB lanes an adapter
    // that is not ready, while the others are rated.
    for (int lane : {1, 25, 35})
        Lane(lane).enabled = 1;
    EXPECT_TRUE(Until([&] { return Lane(1).lineStatus == LineStatus::kPending; }));
    EXPECT_EQ(Lane(25).lineStatus, LineStatus::kNoContact);
    EXPECT_TRUE(Until([&] { return Lane(35).lineStatus == LineStatus::kAdapterNotReady; }));

    range->channels.ClosePorts();
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(Port(k).state, PortState::Closed) << k;
        EXPECT_EQ(Port(k).line, nullptr) << k;
    }
}

TEST_F(LineChannelsTest, CommandsReachTheirBusAndSlot)
{
    TwoBusesAndTwoFailures();
    for (int lane : {2, 3, 12, 25})
        Lane(lane).enabled = 1;

    range->commands.SendText(2, "A");
    range->commands.SendText(12, "B");
    // A command to one unit waits for its acknowledgement; on a busy machine
    // it may go out again, so a unit can hear it more than once.
    ASSERT_TRUE(Eventually(a, [&] { return !a.Heard(2, 'W').empty(); }));
    ASSERT_TRUE(Eventually(b, [&] { return !b.Heard(12, 'W').empty(); }));
    EXPECT_EQ(a.Heard(2, 'W')[0], (Bytes{0x40, 'W', 2, 0x40, 25, 22, 2, ' ', 'A', ' ', 0, 0}));
    EXPECT_EQ(b.Heard(12, 'W')[0][2], 12);
    EXPECT_EQ(a.Heard(3, 'W').size(), 0u);
    EXPECT_EQ(Lane(2).lastText, "A");

    // One copy to each active lane, on its own bus.
    LineMessage del;
    LaneValueCmd::DeleteMonitorCard(0).Build(del);
    EXPECT_EQ(range->commands.SendCommand(0, del, Cmd::kEveryLane), 12);
    ASSERT_TRUE(Eventually(a, [&] { return !a.Heard(3, '9').empty() && !a.Heard(2, '9').empty(); }));
    ASSERT_TRUE(Eventually(b, [&] { return !b.Heard(12, '9').empty(); }));
    EXPECT_EQ(a.Heard(3, '9')[0], (Bytes{0x40, '9', 3}));
    EXPECT_EQ(a.Heard(2, '9')[0], (Bytes{0x40, '9', 2}));
    // Lane 25's channel did not open.
    EXPECT_NE(Log().find("No pointer to com port"), std::string::npos);

    // A message to all goes once onto every open line; the shot request of
    // a lane of the second bus is heard on the first as well.
    range->commands.SendStatusQuery();
    LineMessage request;
    ShotRequestCmd{12, 4, 6, false}.Build(request);
    range->commands.SendCommand(0, request, Cmd::kEveryLine);
    ASSERT_TRUE(Eventually(a, [&] { return a.HeardByAll('S').size() == 1 && a.HeardByAll('?').size() == 1; }));
    ASSERT_TRUE(Eventually(b, [&] { return b.HeardByAll('S').size() == 1 && b.HeardByAll('?').size() == 1; }));
    EXPECT_EQ(a.HeardByAll('S')[0], (Bytes{0x40, 'S', 12, 12, 0, 4, 6, 2}));
    EXPECT_EQ(b.HeardByAll('?')[0], (Bytes{0x40, '?', '<', 255}));

    // A lane that does not take part gets nothing, unless the command says so.
    LineMessage motor;
    LaneValueCmd::Motor(5, 1).Build(motor);
    EXPECT_EQ(range->commands.SendCommand(5, motor, 0), 0);
    EXPECT_EQ(range->commands.SendCommand(5, motor, Cmd::kEvenDisabled), 5);

    // Marked lanes wait for the target's answer.
    Lane(3).lineStatus = LineStatus::kAnswers;
    size_t before = a.Heard(3, '9').size();
    range->commands.DeleteMonitorCard(3);
    EXPECT_EQ(Lane(3).lineStatus, LineStatus::kPending);
    ASSERT_TRUE(Eventually(a, [&] { return a.Heard(3, '9').size() > before; }));
}

TEST_F(LineChannelsTest, MessagesReachTheirLanes)
{
    TwoBusesAndTwoFailures();
    ASSERT_TRUE(a.bus->QueueMessage(3, {0x40, 0x88, 3, 0, 2, 0, 0, 0, 0}));
    ASSERT_TRUE(b.bus->QueueMessage(12, {0x40, 'L', 12, '7'}));
    // A unit of the second bus naming a lane of the first is refused.
    ASSERT_TRUE(b.bus->QueueMessage(11, {0x40, 0x88, 3, 0, 6, 0, 0, 0, 0}));
    ASSERT_TRUE(b.bus->QueueLaneState(12, 1, 300, 4, 9));

    ASSERT_TRUE(Until([&] {
        return Lane(3).sensitivity == 3 && Lane(12).liftPosition == '4' && Lane(12).targetRelay == 300 &&
               Log().find("Inactive Lane for this port") != std::string::npos;
    }));
    EXPECT_EQ(Lane(3).lineStatus, LineStatus::kAnswers);
    EXPECT_EQ(Lane(12).lineStatus, LineStatus::kAnswers);
    EXPECT_EQ(Lane(12).targetState, 1);
    EXPECT_EQ(Lane(12).targetCompetition, 9);
    EXPECT_EQ(Lane(11).sensitivity, 0);
    EXPECT_EQ(tick.QuietTicks(), 0);
}

TEST_F(LineChannelsTest, LineStatusFollowsSilenceAndAnswers)
{
    a.Start(1);
    Channel(0, 1, 1, 3);
    for (int lane : {1, 2})
        ASSERT_TRUE(a.bus->AddUnit(lane));
    range->channels.OpenPorts();
    for (int lane : {1, 2, 3})
        Lane(lane).enabled = 1;

    // Lane 3 has no unit and is never reached; lanes 1 and 2 answer polls,
    // which shows as waiting until a message proves them.
    ASSERT_TRUE(Until([&] {
        return Lane(3).lineStatus == LineStatus::kNoContact && Lane(1).lineStatus == LineStatus::kPending &&
               Lane(2).lineStatus == LineStatus::kPending && a.Unit(1).polls > 2;
    }));
    ASSERT_TRUE(a.bus->QueueMessage(1, {0x40, 'P', 1, 0}));
    ASSERT_TRUE(Until([&] { return Lane(1).lineStatus == LineStatus::kAnswers; }));
    EXPECT_EQ(Lane(2).lineStatus, LineStatus::kPending);

    // The bus falls silent: the lane counts its failures.
    a.bus->Silence(1500);
    ASSERT_TRUE(Until([&] {
        uint8_t s = Lane(1).lineStatus;
        return s == LineStatus::kFailing || s == LineStatus::kFailingLong;
    }));
    // And answers again.
    ASSERT_TRUE(Until([&] { return Lane(1).lineStatus == LineStatus::kAnswers; }));
    EXPECT_EQ(Lane(3).lineStatus, LineStatus::kNoContact);
}

TEST_F(LineChannelsTest, SimulationOpensNoLine)
{
    a.Start(1);
    ASSERT_TRUE(a.bus->AddUnit(2));
    Channel(0, 1, 1, 10);
    RangeItem(RangeItems::kSimulation, 1);
    range->channels.OpenPorts();
    EXPECT_TRUE(range->channels.Simulation());
    EXPECT_EQ(Port(0).state, PortState::Closed);
    EXPECT_EQ(Lane(2).channelType, 1);

    // Commands still mark their lanes; nothing reaches a line.
    Lane(2).enabled = 1;
    Lane(2).lineStatus = LineStatus::kSimulated;
    range->commands.DeleteMonitorCard(2);
    range->commands.SendText(2, "X");
    EXPECT_EQ(Lane(2).lineStatus, LineStatus::kPending);
    platform::SleepMs(200);
    EXPECT_EQ(a.Unit(2).polls, 0);
    EXPECT_TRUE(a.bus->Commands(2).empty());
}

TEST_F(LineChannelsTest, OutsideSystemChannelIsNotAvailable)
{
    a.Start(1);
    ASSERT_TRUE(a.bus->AddUnit(2));
    Channel(0, 10, 1, 5);
    Channel(1, 1, 6, 10);
    ASSERT_TRUE(a.bus->AddUnit(7));
    platform::ScriptedPrompter prompter;
    prompter.AnswerMessage(platform::IDOK);
    platform::ScopedPrompter scoped(prompter);
    range->channels.OpenPorts();

    EXPECT_EQ(Port(0).state, PortState::Failed);
    EXPECT_TRUE(range->channels.OutsideSystemOpen());
    ASSERT_EQ(prompter.Log().size(), 1u);
    EXPECT_NE(prompter.Log()[0].find("RCI2000"), std::string::npos);
    EXPECT_EQ(Lane(2).channelType, 10);
    EXPECT_EQ(Lane(2).lineStatus, LineStatus::kNoContact);
    // The serial channel after it opens and is polled.
    EXPECT_EQ(Port(1).state, PortState::Open);
    EXPECT_TRUE(Eventually(a, [&] { return a.Unit(7).polls > 0; }));
}

TEST_F(LineChannelsTest, CommandsToAllUnitsCarryTheirLane)
{
    TwoBusesAndTwoFailures();
    for (int lane : {2, 12})
        Lane(lane).enabled = 1;

    // Lamps and lifts listen on every line; each lane gets a message of its own.
    const int intensity[3] = {10, 20, 30};
    range->commands.SendLight(0, intensity);
    platform::ScriptedPrompter prompter;
    prompter.AnswerMessage(platform::IDOK);
    {
        platform::ScopedPrompter scoped(prompter);
        range->commands.SendLift(0, '4');  // the range has no lifts
    }
    EXPECT_EQ(prompter.Log().size(), 1u);
    EXPECT_EQ(Lane(2).liftPosition, 0);
    RangeItem(RangeItems::kExternalEquipment, 3);
    range->commands.SendLift(0, '4');
    EXPECT_EQ(Lane(2).liftPosition, '4');
    EXPECT_EQ(Lane(12).liftPosition, '4');
    for (SimBus* s : {&a, &b}) {
        ASSERT_TRUE(Eventually(*s, [&] { return s->HeardByAll('M').size() == 2 && s->HeardByAll('K').size() == 2; }));
        EXPECT_EQ(s->HeardByAll('M')[1], (Bytes{0x40, 'M', 12, 3, 0x82, 0, 0, 0, 0x15, 10, 20, 30}));
        EXPECT_EQ(s->HeardByAll('K')[0], (Bytes{0x40, 'K', 2, '7'}));
    }

    // The mode to every line, and a repeat to the one lane still waiting,
    // which goes as a message to all on that lane's line only.
    range->commands.SendMode(48, 0, 0);
    Lane(2).lineStatus = LineStatus::kAnswers;
    range->commands.SendMode(72, 2, Cmd::kMarkLanes);
    EXPECT_EQ(Lane(2).lineStatus, LineStatus::kPending);
    ASSERT_TRUE(Eventually(a, [&] { return a.HeardByAll('r').size() == 2; }));
    ASSERT_TRUE(Eventually(b, [&] { return b.HeardByAll('r').size() == 1; }));
    EXPECT_EQ(a.HeardByAll('r')[0].size(), 26u);
    EXPECT_EQ(a.HeardByAll('r')[0][2], 0);
    EXPECT_EQ(a.HeardByAll('r')[0][3], 48);
    EXPECT_EQ(a.HeardByAll('r')[1][2], 2);
    EXPECT_EQ(a.HeardByAll('r')[1][3], 72);  // the default options show the shooter clock

    // The start-up reset: every unit, and the start-up question waits for
    // each active lane.
    Lane(5).startupDifference = 0x80;
    range->commands.ResetAllLanes();
    EXPECT_EQ(Lane(2).startupDifference, 1);
    EXPECT_EQ(Lane(12).startupDifference, 1);
    EXPECT_EQ(Lane(5).startupDifference, 0);
    ASSERT_TRUE(Eventually(b, [&] { return b.HeardByAll('s').size() == 1; }));
    EXPECT_EQ(b.HeardByAll('s')[0], (Bytes{0x40, 's', 0, 0xA0, 0x80, 0, 0, 0, 0, 0, 0}));
}

TEST_F(LineChannelsTest, LaneSetupFromTheLanesCard)
{
    a.Start(1);
    ASSERT_TRUE(a.bus->AddUnit(2));
    Channel(0, 1, 1, 10);
    CDataComp& comp = objects->comp;
    ASSERT_EQ(platform::CreateFolders(comp.FolderOf(1)), 0);
    ASSERT_EQ(comp.Open(1, 1), 0);
    ASSERT_EQ(WriteItem(comp.CompConfig(), CompSettings::kDistance, 300), 0);
    range->channels.OpenPorts();
    LaneBlock& lane = Lane(2);
    lane.enabled = 1;
    lane.lineStatus = LineStatus::kAnswers;
    lane.card.relay = 7;
    lane.card.lane = 2;
    lane.card.targetType = 1;
    lane.card.sensitivity = 2;
    lane.card.band1 = 1;
    lane.card.band2 = 20;
    lane.card.valueSystem = 2;
    lane.active.seriesState = 0x83;

    range->commands.SendLaneSetup(2, 0x03);
    EXPECT_EQ(lane.lineStatus, LineStatus::kPending);
    ASSERT_TRUE(Eventually(a, [&] { return !a.Heard(2, 's').empty() && !a.Heard(2, 'v').empty(); }));
    Bytes setup = a.Heard(2, 's')[0];
    ASSERT_EQ(setup.size(), 38u);  // bytes 2..39
    auto at = [&](int position) { return setup[static_cast<size_t>(position - 2)]; };
    EXPECT_EQ(at(4), 2);
    EXPECT_EQ(at(5), 0x03);
    EXPECT_EQ(at(6), 0x85);
    EXPECT_EQ(at(7), 1);
    EXPECT_EQ(at(9), 20);
    EXPECT_EQ(at(10), 1);
    EXPECT_EQ(at(11), 2);
    EXPECT_EQ(at(13), 1);
    EXPECT_EQ(at(14) << 8 | at(15), 7);
    EXPECT_EQ(at(18), 1);
    EXPECT_EQ(at(22), CTargetTypes::ToTargetCode(1));
    EXPECT_EQ(at(25) | at(26) << 8, 300);
    EXPECT_EQ(at(35), 2);
    EXPECT_EQ(at(37), 0);
    EXPECT_EQ(at(38), 3);
    EXPECT_EQ(at(39), 3);
    EXPECT_EQ(a.Heard(2, 'v')[0].size(), 61u);

    // The overview of an empty card.
    range->records.SendCardOverview(2);
    ASSERT_TRUE(Eventually(a, [&] { return !a.Heard(2, 'x').empty(); }));
    EXPECT_EQ(a.Heard(2, 'x')[0], (Bytes{0x40, 'x', 2, 1, 0, 0, 0, 0xFF, 0xFF}));
}
