// A series run against ten simulated units: every command of the clock,
// shoot, mark, twin-lane mark, welcome, lift and motor as bvsim prints what
// the units heard, line by line, and the active records other programs read.
#include "tests/range/ui/WindowRange.h"

#include "ModalDriver.h"
#include "RunCommand.h"

#include "foundation/comp/DataComp.h"
#include "foundation/files/BVConfig.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/ui/grid/GridList.h"
#include "foundation/ui/net/BVSocket.h"
#include "range/ui/dialogs/DlgLaneSel.h"
#include "range/views/LaneCells.h"
#include "range/ui/dialogs/DlgLift.h"
#include "tools/bvsim/lib/Control.h"

#include <QApplication>
#include <QTcpSocket>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// The records of Active.BVD as bvtool dump shows them: lane -> series byte.
std::map<int, int> SeriesBytes(const std::string& out)
{
    std::map<int, int> bytes;
    std::istringstream in(out);
    std::vector<int> record;
    auto take = [&] {
        if (record.size() >= 11)
            bytes[record[0] | (record[1] << 8)] = record[10];
        record.clear();
    };
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("record ", 0) == 0) {
            take();
            continue;
        }
        std::istringstream fields(line);
        std::string offset, hex;
        fields >> offset;
        while (record.size() < 12 && fields >> hex && hex.size() == 2 && std::isxdigit(static_cast<unsigned char>(hex[0])))
            record.push_back(std::stoi(hex, nullptr, 16));
    }
    take();
    return bytes;
}

// A mode command to all as bvsim prints it, its clock fields blanked.
std::string Mode(const char* mode, const char* rest = "41 00 00 00 00 00 00 00 00 00 00 00 00 00 14 00")
{
    return std::string("bcast 40 72 00 ") + mode + " .. .. .. .. .. 00 " + rest;
}

// Text as bvsim prints its bytes.
std::string Hexed(const std::string& text) { return bvsim::Hex(bvsim::Bytes(text.begin(), text.end())); }

// A welcome line ('W') to a lane (or to all, lane 0) at a column, row and size.
std::string Screen(int lane, int column, int row, int size, const std::string& text)
{
    char head[64];
    if (lane == 0)
        std::snprintf(head, sizeof head, "bcast 40 57 3C 00 %02X %02X %02X", column, row, size);
    else
        std::snprintf(head, sizeof head, "cmd %d 40 57 %02X 00 %02X %02X %02X", lane, lane, column, row, size);
    return std::string(head) + (text.empty() ? "" : " " + Hexed(text)) + " 00";
}

class SeriesRoadTest : public bvtest::WindowRangeTest {
protected:
    // Units on lanes 1..10; lanes 1..9 take part, lane 10 is the twin lane
    // when `twin` says so.
    void StartRange(bool twin, void (*extra)(CBVConfig& comp, CBVConfig& range) = nullptr)
    {
        bvtest::RangeFolderSetup setup;
        setup.autoSend = false;
        setup.lastLane = 10;
        bvtest::MakeRangeFolder(setup);
        {
            CBVConfig comp;
            comp.Open(CompSettings::FileOf(".\\", 1), 1);
            CBVConfig range;
            range.Open(".\\BVLeder.bvc", 1);
            if (twin) {
                WriteItem(comp, CompSettings::LaneActive(10), 0);
                WriteItem(comp, CompSettings::kTwinLane, 10);
            }
            if (extra)
                extra(comp, range);
        }
        StartUnits(1, 10);
        StartProgram();
        Settle();
    }
    // Waits until the line has been quiet for a while.
    void Settle(int quietMs = 800)
    {
        size_t seen = Heard().size();
        QElapsedTimer quiet;
        quiet.start();
        RunUntil([&] {
            size_t now = Heard().size();
            if (now != seen) {
                seen = now;
                quiet.restart();
            }
            return quiet.elapsed() > quietMs;
        }, 20000);
    }
    // What bvsim printed since the mark, for the command bytes given; the
    // clock fields of a mode command (its age and the time of day) blanked.
    Lines Since(size_t mark, const std::string& commands)
    {
        Lines out;
        std::vector<bvsim::BusEvent> heard = Heard();
        for (size_t i = mark; i < heard.size(); ++i) {
            bvsim::BusEvent e = heard[i];
            if (e.bytes.size() < 2 || commands.find(static_cast<char>(e.bytes[1])) == std::string::npos)
                continue;
            std::string line = bvsim::FormatEvent(e);
            if (e.bytes[1] == 'r') {
                // The age and the time of day: the fifth to ninth bytes heard.
                size_t at = line.find(' ') + 1;
                if (e.kind == bvsim::BusEvent::Command)
                    at = line.find(' ', at) + 1;
                at += 3 * 4;
                for (size_t b = 0; b < 5 && at + 3 * b + 2 <= line.size(); ++b)
                    line.replace(at + 3 * b, 2, "..");
            }
            // A command the line sent again, its answer not heard in time,
            // is the line's business.
            if (!out.empty() && out.back() == line)
                continue;
            out.push_back(line);
        }
        return out;
    }
    // The lines expected, once they all came (and nothing more after a pause).
    Lines Await(size_t mark, const std::string& commands, size_t count)
    {
        RunUntil([&] { return Since(mark, commands).size() >= count; }, 15000);
        Settle(400);
        return Since(mark, commands);
    }
    std::map<int, int> ActiveSeries()
    {
        bvtest::ToolRun dump = bvtest::RunTool("dump " + folder.File("Comp1/Active.BVD"));
        EXPECT_EQ(dump.status, 0) << dump.err;
        return SeriesBytes(dump.out);
    }
};

// Lanes 1..9 shoot, lane 10 shows the first lane's shots as the twin lane.
TEST_F(SeriesRoadTest, ClockShootAndMarkWithATwinLane)
{
    StartRange(true);
    size_t mark = Heard().size();
    Frame().SendClockMode(0);
    EXPECT_EQ(Await(mark, "r", 1), Lines{Mode("7A")});

    // Every lane without a dialog (the competition's options say so): the
    // twin lane's sums cleared, the shoot command to each lane and the twin
    // lane, then mode 48 and the shoot to all.
    mark = Heard().size();
    Frame().ShootSeries(1, 0, false);
    // Written at once with the change still to be confirmed by the targets.
    std::map<int, int> series = ActiveSeries();
    for (int lane = 1; lane <= 9; ++lane)
        EXPECT_EQ(series[lane], 0x81) << lane;
    Lines shoot = {"cmd 10 40 70 0A 80 01 01 02 00 00 00 00 00 00 00 00 00 00 00"};
    for (int lane = 1; lane <= 9; ++lane)
        shoot.push_back("cmd " + std::to_string(lane) + " 40 51 0" + std::to_string(lane) + " 01 01 01 01 03 02 25");
    shoot.push_back("cmd 10 40 51 0A 01 01 01 01 03 02 25");
    shoot.push_back(Mode("30"));
    shoot.push_back("bcast 40 75 00 02 00");
    EXPECT_EQ(Await(mark, "Qrup", shoot.size()), shoot);

    // Mark: series marking with the shooter clock, no copy to the twin lane.
    mark = Heard().size();
    Frame().MarkSeries(1, 0, false);
    Lines marked = {"cmd 10 40 70 0A 80 01 01 02 00 00 00 00 00 00 00 00 00 00 00"};
    for (int lane = 1; lane <= 9; ++lane)
        marked.push_back("cmd " + std::to_string(lane) + " 40 51 0" + std::to_string(lane) + " 01 01 01 81 03 02 8F");
    series = ActiveSeries();
    for (int lane = 1; lane <= 9; ++lane)
        EXPECT_EQ(series[lane], 0x81) << lane;
    EXPECT_EQ(Await(mark, "Qrup", marked.size()), marked);

    // The twin lane's mark: the first lane marks, the twin lane is told and
    // shows the sums (none yet: cleared).
    mark = Heard().size();
    Frame().MarkTwinLane(0, 1);
    series = ActiveSeries();
    EXPECT_EQ(series[1], 0x82);
    // The twin lane keeps series 1; its target may have confirmed the mark
    // meanwhile, which takes the change bit off.
    EXPECT_EQ(series[2] & 0x7F, 0x01);
    const Lines twin = {
        "cmd 1 40 51 01 01 02 02 80 03 02 8D",
        "cmd 10 40 70 0A 01 02 02 02 00 00 00 00 00 00 00 00 00 00 00",
        "cmd 10 40 70 0A 80 01 02 02 00 00 00 00 00 00 00 00 00 00 00",
    };
    EXPECT_EQ(Await(mark, "Qrup", twin.size()), twin);
}

TEST_F(SeriesRoadTest, ShootToOneLaneThroughTheDialog)
{
    StartRange(true);
    bvtest::ModalDriver driver;
    // Cancelled: nothing goes out.
    driver.Cancel(CDlgLaneSel::IDD);
    size_t mark = Heard().size();
    Frame().ShootSeries(0, 1, true);
    EXPECT_TRUE(driver.Done());
    Settle(600);
    EXPECT_EQ(Since(mark, "QrupWF"), Lines{});

    driver.Next(CDlgLaneSel::IDD, [](platform::Dialog& d) {
        EXPECT_EQ(d.Caption(), "Shoot series");
        EXPECT_EQ(d.item(CDlgLaneSel::IDC_LANE).text(), "1");
        EXPECT_FALSE(d.item(CDlgLaneSel::IDC_RELAY).visible());
        d.item(CDlgLaneSel::IDC_LANE).setText("4");
        d.item(CDlgLaneSel::IDC_OK).click();
    });
    Frame().ShootSeries(0, 1, true);
    EXPECT_TRUE(driver.Done());
    // The lane chosen waits for its target to take the series; the others
    // keep the series they had at the start (a slow target may not have
    // confirmed it yet, which leaves the change bit on).
    std::map<int, int> series = ActiveSeries();
    EXPECT_EQ(series[4], 0x82);
    EXPECT_EQ(series[3] & 0x7F, 0x01);
    const Lines shoot = {
        "cmd 10 40 70 0A 80 01 02 02 00 00 00 00 00 00 00 00 00 00 00",
        "cmd 4 40 51 04 01 02 02 00 03 02 07",
        "cmd 10 40 51 0A 01 02 02 00 03 02 07",
        Mode("30"),
        "bcast 40 75 00 02 00",
    };
    EXPECT_EQ(Await(mark, "Qrup", shoot.size()), shoot);
}

TEST_F(SeriesRoadTest, ClockModeOfTurningTargets)
{
    StartRange(false, [](CBVConfig&, CBVConfig&) {
        CBVConfig programs;
        programs.Open(".\\Program.BVC", 1);
        programs.WriteInt(ProgramItems::kProgramSection, 1, ProgramItems::kKeyEquipment, 1);
    });
    size_t mark = Heard().size();
    Frame().SendClockMode(0);
    EXPECT_EQ(Await(mark, "r", 1), Lines{Mode("BC")});
}


// Lanes 1..10 with names on three lanes, a range name of ten characters
// and a sponsor line; the welcome for all lanes under results program 8
// (names only) and for lane 7 under results program 0 (with the text the
// results program published for the lane).
TEST_F(SeriesRoadTest, WelcomeForAllLanesAndForOne)
{
    StartRange(false, [](CBVConfig&, CBVConfig& range) {
        WriteItem(range, RangeItems::kUserName, "Skytebanen");
        WriteItem(range, RangeItems::kSponsor1, "Sparebanken");
        WriteItem(range, RangeItems::kSponsor2, " Vest");
        WriteItem(range, RangeItems::kResultsProgram, 8);
        CDataComp dc;
        ASSERT_EQ(dc.Open(1, 1), 0);
        const std::pair<int, const char*> names[] = {{1, "Kari Nordmann"}, {7, "Ola Hansen"}, {10, "Per"}};
        for (auto [lane, text] : names) {
            CardRecord card;
            CDataComp::ClearCard(card);
            card.relay = 1;
            card.lane = static_cast<int16_t>(lane);
            ASSERT_GE(dc.GetCard(card, 1), 0);
            NameRecord name;
            CDataComp::ClearName(name);
            std::strcpy(name.name, text);
            ASSERT_EQ(dc.StoreName(1, lane, name), 0);
        }
        std::FILE* f = std::fopen("BV/Sponsor.txt", "w");
        ASSERT_NE(f, nullptr);
        std::fputs("[H1]\r\nLane7=Velkommen til Vest\r\n", f);
        std::fclose(f);
    });
    size_t mark = Heard().size();
    Frame().Welcome(0);
    Lines all = {Screen(0, 1, 1, 0, ""), Screen(0, 1, 1, 2, ""), "bcast 40 46 3C 00"};
    for (int lane = 1; lane <= 10; ++lane)
        all.push_back(Screen(lane, 34, 8, 3, lane < 10 ? " " + std::to_string(lane) : std::to_string(lane)));
    all.push_back(Screen(0, 30, 28, 2, "Skytebanen"));
    all.push_back(Screen(0, 24, 24, 2, "Sparebanken Vest"));
    all.push_back(Screen(1, 27, 16, 2, "Kari Nordmann"));
    all.push_back(Screen(7, 30, 16, 2, "Ola Hansen"));
    all.push_back(Screen(10, 37, 16, 2, "Per"));
    EXPECT_EQ(Await(mark, "WF", all.size()), all);
    EXPECT_EQ(Frame().Views().Page(), 1);
    EXPECT_EQ(Frame().Window()->PaneText(CMainFrame::kInfoPane), "Welcome text sent");

    WriteItem(Frame().Objects().settings.Config(), RangeItems::kResultsProgram, 0);
    mark = Heard().size();
    Frame().Welcome(7);
    const Lines one = {
        Screen(7, 1, 1, 0, ""),
        Screen(7, 1, 1, 2, ""),
        "cmd 7 40 46 07 00",
        Screen(7, 34, 8, 3, " 7"),
        Screen(7, 30, 28, 2, "Skytebanen"),
        Screen(7, 24, 24, 2, "Sparebanken Vest"),
        Screen(7, 22, 20, 2, "Velkommen til Vest"),
        Screen(7, 30, 16, 2, "Ola Hansen"),
    };
    EXPECT_EQ(Await(mark, "WF", one.size()), one);
}

// The lift dialog for one lane and for all, and three band advances in the
// motor form before Cancel.
TEST_F(SeriesRoadTest, LiftsAndMotors)
{
    StartRange(false, [](CBVConfig&, CBVConfig& range) { WriteItem(range, RangeItems::kExternalEquipment, 3); });
    bvtest::ModalDriver driver;
    driver.Next(CDlgLift::IDD, [](platform::Dialog& d) {
        d.item(CDlgLift::IDC_LANE).setText("3");
        d.item(CDlgLift::IDC_ACTIVATE).click();  // no position: nothing
        d.item(CDlgLift::IDC_STAND).click();
        d.item(CDlgLift::IDC_ACTIVATE).click();
        d.item(CDlgLift::IDC_ALL).click();
        d.item(CDlgLift::IDC_PRONE).click();
        d.item(CDlgLift::IDC_ACTIVATE).click();
        d.item(CDlgLift::IDC_CLOSE).click();
    });
    size_t mark = Heard().size();
    Frame().Targets().OnLift();
    EXPECT_TRUE(driver.Done());
    Lines lifts = {"bcast 40 4B 03 38"};
    for (int lane = 1; lane <= 10; ++lane) {
        char line[32];
        std::snprintf(line, sizeof line, "bcast 40 4B %02X 36", lane);
        lifts.push_back(line);
    }
    EXPECT_EQ(Await(mark, "K", lifts.size()), lifts);

    driver.Next(CDlgLaneSel::IDD, [](platform::Dialog& d) {
        EXPECT_EQ(d.Caption(), "Advance target band");
        EXPECT_EQ(d.item(CDlgLaneSel::IDC_RELAY).text(), "1");
        d.item(CDlgLaneSel::IDC_EXTRA).click();
        d.item(CDlgLaneSel::IDC_RELAY).setText("3");
        d.item(CDlgLaneSel::IDC_EXTRA).click();
        d.item(CDlgLaneSel::IDC_ALL).click();
        d.item(CDlgLaneSel::IDC_EXTRA).click();
        d.item(CDlgLaneSel::IDC_CANCEL).click();
    });
    mark = Heard().size();
    Frame().Targets().OnMotor();
    EXPECT_TRUE(driver.Done());
    const Lines motors = {"cmd 1 40 5D 01 01", "cmd 1 40 5D 01 03", "bcast 40 5D 00 03"};
    EXPECT_EQ(Await(mark, "]", motors.size()), motors);
}

// The officer runs a series from the panel: the clock button (a display on
// the clock port gets the clock), the shoot button, shots from the units,
// their cards and sums in the lane list, then the mark button.
TEST_F(SeriesRoadTest, AShootingRunFromThePanel)
{
    StartRange(false);
    ASSERT_TRUE(Frame().m_socket && Frame().m_socket->IsOpen());
    QTcpSocket display;
    display.connectToHost("127.0.0.1", static_cast<quint16>(Frame().m_socket->LocalPort()));
    ASSERT_TRUE(RunUntil([&] { return Frame().m_socket->PeerCount() == 1; }, 5000));
    std::string received;
    auto clockMessages = [&] {
        received += display.readAll().toStdString();
        int n = 0;
        for (size_t at = received.find(";CLOCK;"); at != std::string::npos; at = received.find(";CLOCK;", at + 1))
            ++n;
        return n;
    };

    size_t mark = Heard().size();
    Panel().item(CFormPanel::IDC_CLOCK).click();
    EXPECT_TRUE(objects->clock.IsRunning());
    ASSERT_TRUE(RunUntil([&] { return clockMessages() >= 1; }, 5000));
    EXPECT_EQ(Await(mark, "r", 1).size(), 1u);

    mark = Heard().size();
    Panel().item(CFormPanel::IDC_SHOOT).click();
    EXPECT_EQ(Await(mark, "Q", 10).size(), 10u);

    // Lanes 1 to 3 fire two shots each.
    for (int lane = 1; lane <= 3; ++lane)
        for (int shot = 1; shot <= 2; ++shot) {
            char line[64];
            std::snprintf(line, sizeof line, "shot %d %d %d %d %d 1 1 1", lane, shot, shot == 1 ? 950 : 1020,
                          1000 * lane, -500 * shot);
            ASSERT_EQ(bvsim::Execute(*bus, line).reply, "ok") << line;
        }
    ASSERT_TRUE(RunUntil([&] {
        for (int lane = 1; lane <= 3; ++lane)
            if (StoredShots(1, lane) != 2 || Lane(lane).currentSeriesCount != 2)
                return false;
        return true;
    }, 20000));
    // The lane list shows each lane's shots, and in its sums view the
    // series and the total.
    ASSERT_TRUE(RunUntil([&] { return List().Grid().GetItemCount() == 10; }, 5000));
    for (int lane = 1; lane <= 4; ++lane) {
        std::vector<std::string> cells;
        for (uint8_t code : List().Codes())
            cells.push_back(LaneCells::Text(*objects, lane, code));
        EXPECT_EQ(cells.back(), lane <= 3 ? "2" : "0") << ::testing::PrintToString(cells);
    }
    Frame().Views().SelectPage(4);
    for (int lane = 1; lane <= 4; ++lane) {
        std::vector<std::string> cells;
        for (uint8_t code : List().Codes())
            cells.push_back(LaneCells::Text(*objects, lane, code));
        const std::string sum = lane <= 3 ? "19" : "0";
        EXPECT_NE(std::find(cells.begin(), cells.end(), sum), cells.end()) << lane << ": " << ::testing::PrintToString(cells);
    }
    EXPECT_EQ(Lane(2).total, 1900);

    mark = Heard().size();
    Panel().item(CFormPanel::IDC_MARKALL).click();
    EXPECT_FALSE(objects->clock.IsRunning());
    Lines marked = Await(mark, "Q", 10);
    ASSERT_EQ(marked.size(), 10u);
    EXPECT_EQ(marked[0], "cmd 1 40 51 01 01 01 01 81 03 02 8F");
}

}  // namespace
