// The display's clock links against a range control's end of the link: a
// CBVSocket server on the loopback sending clock messages, as BVLeder does.
#include <QTest>

#include "FrameFixture.h"
#include "ModalDriver.h"
#include "foundation/exchange/ClockMessage.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/ui/net/BVSocket.h"
#include "platform/system/Clock.h"
#include "platform/system/SystemInfo.h"

namespace bvtest {
namespace {

// The range control's window: its socket's notifications go to the server.
class ServerWindow : public platform::FrameWnd {
public:
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override
    {
        if (message == WM_SOCKET_NOTIFY && server)
            server->OnSocketMessage(wParam, lParam);
        return 0;
    }
    CBVSocket* server = nullptr;
};

std::string Message(int mode, int period, int extra, int elapsed)
{
    ClockMessage m;
    m.computer = platform::ComputerName();
    m.prefix = "H1";
    m.mode = mode;
    m.period = period;
    m.extra = extra;
    m.elapsed = elapsed;
    return m.Build();
}

class ClockLinkTest : public VisFrameTest {
protected:
    void SetUp() override
    {
        VisFrameTest::SetUp();
        server.server = &socket;
        ASSERT_EQ(socket.Connect(1, 0, ""), CBVSocket::OPEN);
        port = socket.LocalPort();
        range = std::make_unique<RangeFolder>("R1");
        for (int lane = 1; lane <= 2; ++lane)
            range->Card(1, lane);
        Computer(platform::ComputerName());
        DisplayFiles::Event(1, "Bane 1", "R1");
        Faces(1, "Klokke", 2, true);
        Faces(2, "Uten klokke", 2, false);
    }
    void TearDown() override
    {
        platform::SetClock(nullptr);
        VisFrameTest::TearDown();
    }
    // The range control's computer as it writes it into its settings.
    void Computer(const std::string& name)
    {
        CBVConfig rs;
        rs.Open("R1\\BVLeder.bvc", 1);
        WriteItem(rs, RangeItems::kComputerName, name);
    }
    // Profile 1 of the picture given, started by hand; the test then runs
    // the ticks itself.
    void StartOn(int picture)
    {
        Profiles({"Finale"}, {{picture, 60}});
        driver.Next(CDlgSelect::IDD, [](platform::Dialog& d) { d.item(CDlgSelect::IDC_START).click(); });
        Start();
        frame->Clock().port = port;
        ASSERT_TRUE(Showing());
        frame->StopTimer();
    }
    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            frame->OnTimer();
            QApplication::processEvents();
        }
    }
    void Send(const std::string& bytes)
    {
        ASSERT_EQ(socket.Send(bytes.data(), static_cast<int>(bytes.size())), 1);
    }
    CVisTarget& First() { return *frame->Data().current->targets.front(); }
    CVisEvent& Event() { return *frame->Data().FindEvent(1); }
    CBVSocket* Link() { return frame->ClockLink(1); }
    bool Connected() { return Link() && Link()->IsOpen() && socket.PeerCount() == 1; }

    ServerWindow server;
    CBVSocket socket{&server};
    int port = 0;
    std::unique_ptr<RangeFolder> range;
    ModalDriver driver;
    platform::ManualClock clock;
};

TEST_F(ClockLinkTest, MessagesSetTheClockInTheHeader)
{
    StartOn(1);
    ASSERT_TRUE(RunUntil([&] {
        Tick();
        return Connected();
    }));
    EXPECT_EQ(First().clockText, std::string(" 0:00")) << "no message yet";

    platform::SetClock(&clock);
    clock.tick = 1'000'000;
    Send(Message(1, 1500, 0, 300));
    ASSERT_TRUE(RunUntil([&] { return Event().clockPeriod == 1500; }));
    Tick();
    EXPECT_EQ(First().clockText, std::string(" 2:00"));
    EXPECT_EQ(First().clockTextDrawn, std::string(" 2:00")) << "the header's clock box shows it";
    clock.Advance(60'000);
    Tick();
    EXPECT_EQ(First().clockText, std::string(" 1:00"));

    // Two messages in one read: the newer one counts.
    Send(Message(1, 1200, 0, 100) + Message(2, 1500, 600, 1700));
    ASSERT_TRUE(RunUntil([&] { return Event().clockMode == 2; }));
    Tick();
    EXPECT_EQ(First().clockText, std::string(" 0:40"));

    // One message over two reads: it counts once its end came.
    const std::string split = Message(1, 900, 0, 0);
    Send(split.substr(0, 10));
    RunFor(200);
    Tick();
    EXPECT_EQ(Event().clockPeriod, 1500);
    Send(split.substr(10));
    ASSERT_TRUE(RunUntil([&] { return Event().clockPeriod == 900; }));
    Tick();
    EXPECT_EQ(First().clockText, std::string(" 1:30"));

    // The select dialog closes the link; the range control sees it go.
    driver.Next(CDlgSelect::IDD, [](platform::Dialog& d) { d.item(CDlgSelect::IDC_EXIT).click(); });
    frame->OnCommand(DisplayLoop::kSelectEsc);
    EXPECT_EQ(Link(), nullptr);
    ASSERT_TRUE(RunUntil([&] { return socket.PeerCount() == 0; }));
}

TEST_F(ClockLinkTest, ALinkComesBackWithinFiftyTicksOfTheRangeControl)
{
    StartOn(1);
    ASSERT_TRUE(RunUntil([&] {
        Tick();
        return Connected();
    }));
    // The range control stops: the display notices the close.
    socket.Close();
    ASSERT_TRUE(RunUntil([&] { return !Link()->IsOpen(); }));
    Tick(30);
    EXPECT_FALSE(Link()->IsOpen());
    // ... and starts again on its port.
    ASSERT_EQ(socket.Connect(1, port, ""), CBVSocket::OPEN);
    int ticks = 0;
    while (!Connected() && ticks < 60) {
        Tick();
        ++ticks;
    }
    EXPECT_TRUE(Connected());
    EXPECT_LE(ticks, ClockLinks::kReconnectTicks + 1);
    Send(Message(1, 600, 0, 0));
    ASSERT_TRUE(RunUntil([&] { return Event().clockPeriod == 600; }));
}

TEST_F(ClockLinkTest, NoComputerOrNoClockOnThePictureOpensNoConnection)
{
    struct Case {
        const char* computer;
        int picture;
        bool linked;
    } cases[] = {{"", 1, false}, {nullptr, 2, false}};
    for (const Case& c : cases) {
        Computer(c.computer ? c.computer : platform::ComputerName());
        StartOn(c.picture);
        Tick(60);
        RunFor(200);
        EXPECT_EQ(socket.PeerCount(), 0u) << c.picture;
        EXPECT_FALSE(Link() && Link()->IsOpen()) << c.picture;
        // With no values the clock stands at 0:00.
        EXPECT_EQ(First().clockText, std::string(" 0:00"));
        frame.reset();
    }
}

}  // namespace
}  // namespace bvtest
