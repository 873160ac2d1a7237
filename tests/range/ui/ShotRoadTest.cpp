// The road of a shot, end to end: simulated target units on a bus behind a
// pseudo-terminal, the range control running on its own timer on the
// offscreen platform, and the files and the clock link it writes.
#include "ScopedEnv.h"
#include "tests/range/FrameFixture.h"

#include "foundation/exchange/ClockMessage.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/ui/net/BVSocket.h"
#include "line/BVSerCom.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/system/Clock.h"
#include "platform/system/SystemInfo.h"
#include "platform/ui/FrameWnd.h"
#include "tools/bvsim/lib/Bus.h"

#include <QTcpSocket>

#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

using bvsim::Bytes;
using bvtest::RangeFolderSetup;

// A shot message from position 2 on, with a value in every field.
Bytes ShotPayload(int lane, int kind, int shot, int cardCount, int value, int x, int y)
{
    bvsim::ShotFields fields;
    fields.lane = lane;
    fields.shotNumber = shot;
    fields.value = value;
    fields.x = x;
    fields.y = y;
    fields.hundredths = 5060759;  // 14:03:27.59
    Bytes p = bvsim::ShotPayload(fields);
    auto at = [&](int position) -> uint8_t& { return p[static_cast<size_t>(position - 2)]; };
    at(5) = static_cast<uint8_t>(kind);
    at(8) = 0;
    at(11) = static_cast<uint8_t>(cardCount);
    at(23) = 0x33;
    at(25) = 0x44;
    at(27) = 0x55;
    at(34) = 21;
    at(35) = 11;
    at(36) = 22;
    at(37) = 33;
    at(38) = 44;
    bvsim::Put24(p, 42, -30);
    at(45) = 0xA7;
    at(46) = 0x66;
    at(47) = 0x77;
    at(48) = 0x88;
    at(49) = 0x34;  // flags 0x04, 0x10 and 0x20
    return p;
}

const std::string kUsbStandIn = std::string(BV_BINARY_DIR) + "/standin/libftd2xx.so";

void UsbCommand(const std::string& line)
{
    static auto command = [] {
        void* h = dlopen(kUsbStandIn.c_str(), RTLD_NOW);
        return h ? reinterpret_cast<void (*)(const char*)>(dlsym(h, "BvFtd2xxCommand")) : nullptr;
    }();
    ASSERT_NE(command, nullptr) << dlerror();
    command(line.c_str());
}

std::string Hex(const Bytes& bytes)
{
    std::string text;
    char two[3];
    for (uint8_t b : bytes) {
        std::snprintf(two, sizeof two, "%02X", b);
        text += two;
    }
    return text;
}

class ShotRoadTest : public bvtest::RangeFrameTest {
protected:
    void TearDown() override
    {
        if (bus)
            bus->Stop();
        RangeFrameTest::TearDown();
    }

    // The range of lanes 1 to 4 on COM1, with units on a simulated bus.
    void StartRange(RangeFolderSetup setup = {})
    {
        bvtest::MakeRangeFolder(setup);
        ASSERT_EQ(pty.Open(), 0);
        auto master = std::make_unique<platform::SerialPort>();
        ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
        bus = std::make_unique<bvsim::Bus>(std::move(master));
        for (int lane = setup.firstLane; lane <= setup.lastLane; ++lane)
            ASSERT_TRUE(bus->AddUnit(lane));
        bus->SetListener([this](const bvsim::BusEvent& e) {
            if (e.kind == bvsim::BusEvent::Broadcast && e.bytes.size() >= 8 && e.bytes[1] == 'S') {
                std::lock_guard<std::mutex> hold(m_heard);
                requests.push_back(e.bytes);
                if (onRequest)
                    onRequest(e.bytes);
            }
        });
        ASSERT_EQ(bus->Start(), 0);
        platform::SetComDevice(1, pty.SlavePath());
        if (beforeStart)
            beforeStart();
        Start();
        ASSERT_TRUE(RunUntil([&] { return Frame().m_tick.startState == TickSchedule::StartState::Running; }, 5000));
        ASSERT_EQ(Frame().Objects().ports[0].state, PortState::Open);
    }

    // The card's shots as another program reads them from the files.
    ShotListRecord Shots(int lane)
    {
        CDataComp reader;
        reader.Open(1, 0);
        ShotListRecord list;
        reader.ReadShots(1, lane, list);
        return list;
    }
    bool StoredShots(int lane, int n)
    {
        ShotListRecord list = Shots(lane);
        int stored = 0;
        for (const ShotRecord& s : list.shots)
            stored += s.state == CDataComp::kSlotShot;
        return stored >= n;
    }
    std::vector<Bytes> Requests()
    {
        std::lock_guard<std::mutex> hold(m_heard);
        return requests;
    }

    platform::PseudoTerminal pty;
    std::unique_ptr<bvsim::Bus> bus;
    std::function<void()> beforeStart;  // more of the range folder
    std::function<void(const Bytes&)> onRequest;
    std::vector<Bytes> requests;
    std::mutex m_heard;
};

TEST_F(ShotRoadTest, ShotsReachTheirCardsFieldByField)
{
    StartRange();
    ASSERT_TRUE(bus->QueueMessage(2, ShotPayload(2, 0x20, 1, 1, 1047, -12345, 2000000)));
    ASSERT_TRUE(bus->QueueMessage(3, ShotPayload(3, 0x20, 1, 1, 950, 1500, -2500)));
    ASSERT_TRUE(RunUntil([&] { return StoredShots(2, 1) && StoredShots(3, 1); }));

    // Lane 2's card holds its shot as the unit sent it; the store adds the
    // series it counts in, and the mark bit of a competition marked shot by
    // shot.
    platform::LocalTime today = platform::Now();
    ShotListRecord list = Shots(2);
    const uint8_t expected[52] = {
        0x80, 0x85, 0x03,                   // state; flags 5 + 0x80 + 0x100 + 0x200
        0xC7, 0xCF, 0xFF, 0xFF,             // X -12345
        0x80, 0x84, 0x1E, 0x00,             // Y 2000000
        0xA6, 0x84, 0x1E, 0x00,             // radius 2000038
        0x17, 0x04, 0x44, 0x34, 0x08, 0x33, 1, 0,
        static_cast<uint8_t>(today.year / 100), static_cast<uint8_t>(today.year % 100),
        static_cast<uint8_t>(today.month), static_cast<uint8_t>(today.day),
        14, 3, 27, 59,
        0xE2, 0xFF, 0xFF, 0xFF,             // second time
        1, 1,                               // series, counting series
        11, 22, 33, 44, 0x55, 0x0A, 0x07, 0x66, 0x77, 0x00, 0x88,
        0, 0, 0, 0,
    };
    uint8_t stored[52];
    std::memcpy(stored, &list.shots[0], sizeof stored);
    for (int i = 0; i < 52; ++i)
        EXPECT_EQ(stored[i], expected[i]) << "record byte " << i;
    EXPECT_EQ(list.shots[1].state, CDataComp::kSlotFree);

    // Lane 3 got its own shot, lane 1 none.
    ShotListRecord three = Shots(3);
    EXPECT_EQ(static_cast<int>(three.shots[0].value), 950);
    EXPECT_EQ(static_cast<int>(three.shots[0].x), 1500);
    EXPECT_EQ(Shots(1).shots[0].state, CDataComp::kSlotFree);

    // The warning bit of the shot shows in lane 2's line status.
    EXPECT_EQ(Lane(2).shotWarning, 1);
    // The shot went to the results program at once (program 0, sent automatically).
    ASSERT_TRUE(RunUntil([&] { return !bvtest::TempFolder::Read("BV/H1R00102.txt").empty(); }, 5000));
    std::string result = bvtest::TempFolder::Read("BV/H1R00102.txt");
    EXPECT_NE(result.find("Ser1= 104\r\n"), std::string::npos) << result;
    EXPECT_NE(result.find("X1= -123\r\n"), std::string::npos) << result;
}

TEST_F(ShotRoadTest, ADroppedShotIsAskedForAndArrives)
{
    StartRange();
    // The unit answers a request for lane 1's shot 2 with the shot again.
    std::atomic<int> answered{0};
    onRequest = [&](const Bytes& b) {
        if (b[2] == 1 && b[5] == 2 && answered++ == 0)
            bus->QueueMessage(1, ShotPayload(1, 0x21, 2, 3, 1000, 0, 100));
    };
    ASSERT_TRUE(bus->QueueMessage(1, ShotPayload(1, 0x20, 1, 1, 900, 300, 0)));
    // Shot 2 is lost on the way; shot 3 tells that the unit holds three.
    ASSERT_TRUE(bus->QueueMessage(1, ShotPayload(1, 0x20, 3, 3, 800, 0, -400)));
    ASSERT_TRUE(RunUntil([&] { return StoredShots(1, 3); }));

    ShotListRecord list = Shots(1);
    EXPECT_EQ(static_cast<int>(list.shots[0].value), 900);
    EXPECT_EQ(static_cast<int>(list.shots[1].value), 1000);
    EXPECT_EQ(static_cast<int>(list.shots[1].shotNumber), 2);
    EXPECT_EQ(static_cast<int>(list.shots[2].value), 800);
    // One request: lane 1, shot 2 to 2, a missing shot (kind 2); the shot
    // that arrived is not asked for again.
    std::vector<Bytes> heard = Requests();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], (Bytes{0x40, 'S', 1, 1, 0, 2, 2, 2}));
    EXPECT_EQ(Lane(1).shotTimers[1], 0);
    EXPECT_EQ(Frame().Window()->PaneText(CMainFrame::kWarningPane), "Missing shot fetched");
}

// Results go to the exchange folder in the chosen results program's format:
// program 0 after every shot, the line formats on the send command.
TEST_F(ShotRoadTest, ResultsInTheResultsProgramsFormat)
{
    struct Case {
        int program;
        const char* file;
        const char* line;
    };
    const Case cases[] = {
        {0, "BV/H1R00102.txt", "Ser1= 104\r\n"},
        {3, "BV/H1-01-5.001", " 2: X?????????\r\n"},
        {7, "BV/H1ISSF001.CSV", " 2: 100   0   0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        bvtest::TempFolder caseFolder;  // each case on a range folder of its own
        RangeFolderSetup setup;
        setup.resultsProgram = c.program;
        StartRange(setup);
        ASSERT_TRUE(bus->QueueMessage(2, ShotPayload(2, 0x20, 1, 1, 1047, 100, 100)));
        ASSERT_TRUE(RunUntil([&] { return StoredShots(2, 1); }));
        if (c.program != 0) {
            Frame().Range().exchange.SendOfficeResults();
            EXPECT_EQ(Frame().Window()->PaneText(CMainFrame::kInfoPane), "Results sent");
        }
        ASSERT_TRUE(RunUntil([&] { return !bvtest::TempFolder::Read(c.file).empty(); }, 5000));
        std::string text = bvtest::TempFolder::Read(c.file);
        EXPECT_NE(text.find(c.line), std::string::npos) << text;
        bus->Stop();
        bus.reset();
        app.reset();
        pty.Close();
    }
}

// A display on the clock link gets the clock message about every 5 s once a
// clock command sent it; what the display sends is dropped.
TEST_F(ShotRoadTest, ClockLinkToADisplay)
{
    StartRange();
    ASSERT_TRUE(Frame().m_socket && Frame().m_socket->IsOpen());
    QTcpSocket display;
    display.connectToHost("127.0.0.1", static_cast<quint16>(Frame().m_socket->LocalPort()));
    ASSERT_TRUE(RunUntil([&] { return display.state() == QAbstractSocket::ConnectedState; }, 5000));
    ASSERT_TRUE(RunUntil([&] { return Frame().m_socket->PeerCount() == 1; }, 5000));
    display.write("hello");
    display.flush();

    // Nothing before a clock command.
    RunUntil([] { return false; }, 300);
    EXPECT_EQ(display.bytesAvailable(), 0);

    objects->clock.Set(120, 30, 1);
    Frame().SendClock();
    std::vector<qint64> times;
    std::vector<std::string> messages;
    QElapsedTimer t;
    t.start();
    std::string buffer;
    ASSERT_TRUE(RunUntil([&] {
        buffer += display.readAll().toStdString();
        for (size_t end; (end = buffer.find('\0')) != std::string::npos; buffer.erase(0, end + 1)) {
            messages.push_back(buffer.substr(0, end));
            times.push_back(t.elapsed());
        }
        return messages.size() >= 3;
    }, 15000));
    std::string expected = platform::ComputerName() + ".H1;CLOCK;0;1200;300;0;";
    for (const std::string& m : messages)
        EXPECT_EQ(m, expected);
    ClockMessage parsed;
    ASSERT_TRUE(ClockMessage::Parse(messages[0], parsed));
    EXPECT_EQ(parsed.period, 1200);
    EXPECT_LT(times[0], 1000);
    for (size_t i = 1; i < times.size(); ++i) {
        qint64 gap = times[i] - times[i - 1];
        EXPECT_GT(gap, 4500) << i;
        EXPECT_LT(gap, 6500) << i;
    }
    EXPECT_EQ(Frame().m_socket->ReceivedCount(), 0u);
}

}  // namespace

namespace {

// The twin lane's monitor shows another lane's series shot by shot with its
// running sums, one shot every marking tempo.
TEST_F(ShotRoadTest, TwinLaneShowsTheSums)
{
    StartRange();
    CBVConfig& comp = objects->comp.CompConfig();
    WriteItem(comp, CompSettings::kTwinLane, 4);
    WriteItem(comp, CompSettings::kMarkingTempo, 1);
    ASSERT_TRUE(bus->QueueMessage(2, ShotPayload(2, 0x20, 1, 1, 1047, 100, 200)));
    ASSERT_TRUE(bus->QueueMessage(2, ShotPayload(2, 0x20, 2, 2, 950, -300, 400)));
    ASSERT_TRUE(RunUntil([&] { return StoredShots(2, 2) && Lane(2).shotsPerSeries[1] == 2; }));

    Frame().Range().sums.StartSums(2, 1);
    // A loaded machine may keep the unit's answer out long enough for the
    // line to send a shot again: a repeat is the same shot, not another.
    auto sums = [&] {
        std::vector<Bytes> heard;
        for (const Bytes& b : bus->Commands(4))
            if (b.size() > 12 && b[1] == 'p' &&
                (heard.empty() || !std::equal(b.begin() + 3, b.begin() + 13, heard.back().begin() + 3)))
                heard.push_back(b);
        return heard;
    };
    ASSERT_TRUE(RunUntil([&] { return sums().size() >= 2; }, 10000));
    std::vector<Bytes> heard = sums();
    // Kind 2, lane 2, series 1; running and total sums in tenths (whole
    // rings: 10 and 9), the shot's number and value.
    EXPECT_EQ(Bytes(heard[0].begin() + 3, heard[0].begin() + 13), (Bytes{2, 2, 1, 2, 0, 100, 0, 100, 1, 100}));
    EXPECT_EQ(Bytes(heard[1].begin() + 3, heard[1].begin() + 13), (Bytes{2, 2, 1, 2, 0, 190, 0, 190, 2, 90}));
    // The series ends there.
    RunUntil([] { return false; }, 1500);
    EXPECT_EQ(sums().size(), 2u);
}

}  // namespace

namespace {

// Lanes 5 to 8 on a USB line adapter beside lanes 1 to 4 on COM1.
void AddUsbChannel()
{
    CBVConfig range;
    range.Open(".\\BVLeder.bvc", 1);
    ASSERT_TRUE(range.IsOpen());
    ASSERT_EQ(CRangeSettings::WriteChannel(range, 1, {11, 5, 8}), 0);
    WriteItem(range, RangeItems::UsbAdapter(1), 0);
    CBVConfig comp;
    comp.Open(CompSettings::FileOf(".\\", 1), 1);
    ASSERT_TRUE(comp.IsOpen());
    for (int lane = 5; lane <= 8; ++lane)
        WriteItem(comp, CompSettings::LaneActive(lane), 1);
}

TEST_F(ShotRoadTest, ShotsOfASerialAndAUsbChannelReachTheirCards)
{
    bvtest::ScopedEnv driver("BV_FTD2XX", kUsbStandIn);
    UsbCommand("reset");
    UsbCommand("adapter BV100000");
    beforeStart = AddUsbChannel;
    StartRange();
    ASSERT_EQ(Frame().Objects().ports[1].state, PortState::Open);
    ASSERT_TRUE(bus->QueueMessage(2, ShotPayload(2, 0x20, 1, 1, 1047, -12345, 2000000)));
    // The adapter runs once it has its set-up.
    ASSERT_TRUE(RunUntil([&] { return Frame().Objects().ports[1].line->LineState() > 1; }, 10000));
    UsbCommand("unit BV100000 6 " + Hex(ShotPayload(6, 0x20, 1, 1, 950, 1500, -2500)));
    ASSERT_TRUE(RunUntil([&] { return StoredShots(2, 1); }));
    ASSERT_TRUE(RunUntil([&] { return StoredShots(6, 1); })) << bvtest::TempFolder::Read("BVLog.txt");
    EXPECT_EQ(static_cast<int>(Shots(6).shots[0].value), 950);
    EXPECT_EQ(static_cast<int>(Shots(2).shots[0].value), 1047);
    UsbCommand("reset");
}

TEST_F(ShotRoadTest, WithoutTheUsbDriverTheSerialLanesRunOn)
{
    bvtest::ScopedEnv driver("BV_FTD2XX", "/no/such/libftd2xx.so");
    beforeStart = AddUsbChannel;
    StartRange();
    ASSERT_TRUE(bus->QueueMessage(2, ShotPayload(2, 0x20, 1, 1, 1047, -12345, 2000000)));
    ASSERT_TRUE(RunUntil([&] { return StoredShots(2, 1); }));
}

const std::string kOutsideStandIn = std::string(BV_BINARY_DIR) + "/standin/libRCI2000.so";

void OutsideCommand(const std::string& line)
{
    static auto command = [] {
        void* h = dlopen(kOutsideStandIn.c_str(), RTLD_NOW);
        return h ? reinterpret_cast<void (*)(const char*)>(dlsym(h, "BvRci2000Command")) : nullptr;
    }();
    ASSERT_NE(command, nullptr) << dlerror();
    command(line.c_str());
}

// Lanes 9 and 10 on the outside range system beside lanes 1 to 4 on COM1;
// its library in the working folder when `withLibrary`.
void AddOutsideChannel(bool withLibrary)
{
    CBVConfig range;
    range.Open(".\\BVLeder.bvc", 1);
    ASSERT_TRUE(range.IsOpen());
    ASSERT_EQ(CRangeSettings::WriteChannel(range, 2, {10, 9, 10}), 0);
    CBVConfig comp;
    comp.Open(CompSettings::FileOf(".\\", 1), 1);
    ASSERT_TRUE(comp.IsOpen());
    for (int lane = 9; lane <= 10; ++lane)
        WriteItem(comp, CompSettings::LaneActive(lane), 1);
    bvtest::TempFolder::Write("RCI.INI",
                              "[RCI_MarkII]\r\nName=Range\r\n[BVLeder]\r\nChTo=3\r\nLane9=0\r\nLane10=1\r\n");
    if (withLibrary)
        ASSERT_EQ(::symlink(kOutsideStandIn.c_str(), "libRCI2000.so"), 0);
}

// The outside system's lane message maps its channel 0 to lane 9; seven
// shots follow, of which the tick reads six at a time. A shot above the ring
// gets the value of its score (96 tenths: 1150); one inside ring 9 keeps the
// range's own value when that lies in ring 9 too.
TEST_F(ShotRoadTest, ShotsOfTheOutsideSystemReachTheirCardsBesideTheSerialLanes)
{
    OutsideCommand("reset");
    OutsideCommand("log " + std::filesystem::absolute("rci.log").string());
    OutsideCommand("channels 4");
    OutsideCommand("message 0 80 03 00 09");
    OutsideCommand("message 0 80 04 00");
    beforeStart = [] { AddOutsideChannel(true); };
    StartRange();
    ASSERT_EQ(Frame().Objects().ports[2].state, PortState::Open);
    ASSERT_TRUE(RunUntil([&] { return Lane(9).lineStatus == LineStatus::kOutside; }, 10000));
    OutsideCommand("shot 0 1 4529678 0.0 0.0 9 96 0000");
    OutsideCommand("shot 0 2 4529679 -1.5 2.0 9 50 0000");
    for (int n = 3; n <= 7; ++n)
        OutsideCommand("shot 0 " + std::to_string(n) + " 4529700 3.0 4.0 9 96 0000");
    ASSERT_TRUE(bus->QueueMessage(2, ShotPayload(2, 0x20, 1, 1, 1047, -12345, 2000000)));
    // The outside system's shots are stored in slots of their own kind.
    auto outsideShots = [&] {
        int n = 0;
        for (const ShotRecord& shot : Shots(9).shots)
            n += shot.state == CDataComp::kSlotNoPosition;
        return n;
    };
    ASSERT_TRUE(RunUntil([&] { return outsideShots() == 7 && StoredShots(2, 1); })) << outsideShots();
    ShotListRecord list = Shots(9);
    EXPECT_EQ(static_cast<int>(list.shots[0].value), 1150);
    const int second = list.shots[1].value;
    EXPECT_TRUE(second >= 900 && second <= 999) << second;
    EXPECT_EQ(static_cast<int>(list.shots[1].x), -1500);
    EXPECT_EQ(static_cast<int>(Shots(2).shots[0].value), 1047);
    // Lanes 9 and 10 went under the range control's remote control (year,
    // lane, control mode, demo mode, range type) after their channels were
    // asked for their lanes, and go back to local when the program closes.
    app.reset();
    auto putsOf = [](const std::string& channel) {
        std::string all = bvtest::TempFolder::Read("rci.log"), mine;
        for (size_t at = 0, end; at < all.size(); at = end + 1) {
            end = all.find('\n', at);
            if (end == std::string::npos)
                end = all.size();
            if (all.compare(at, channel.size() + 3, channel + " > ") == 0)
                mine += all.substr(at + channel.size() + 3, end - at - channel.size() - 3) + "\n";
        }
        return mine;
    };
    const int year = platform::Now().year;
    char remote[128];
    std::snprintf(remote, sizeof remote, "40 03\n40 04\n00 3A %02X %02X\n40 03\n00 04 01\n00 0E 00\n00 0D 00 04\n00 04 00\n",
                  year >> 8, year & 0xFF);
    EXPECT_EQ(putsOf("Ch0"), remote);
    EXPECT_EQ(putsOf("Ch1"), remote);
    EXPECT_EQ(putsOf("Ch2"), "40 03\n40 04\n");
    OutsideCommand("reset");
}

TEST_F(ShotRoadTest, WithoutTheOutsideLibraryTheSerialLanesRunOn)
{
    prompter.AnswerMessage(platform::IDOK);
    beforeStart = [] { AddOutsideChannel(false); };
    StartRange();
    EXPECT_EQ(Frame().Objects().ports[2].state, PortState::Failed);
    ASSERT_TRUE(bus->QueueMessage(2, ShotPayload(2, 0x20, 1, 1, 1047, -12345, 2000000)));
    ASSERT_TRUE(RunUntil([&] { return StoredShots(2, 1); }));
}

}  // namespace
