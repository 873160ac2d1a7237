// New relays and printed cards end to end: BVLeder on a range whose units
// bvsim simulates on a pseudo-terminal, the files checked with bvtool, the
// printouts (PDF files chosen through the prompter) with pdfinfo and
// pdftotext, and bvsim's log of what the units heard.
#include "ModalDriver.h"
#include "RunCommand.h"
#include "tests/range/ui/WindowRange.h"

#include "foundation/settings/RangeSettings.h"
#include "range/ui/dialogs/DlgRelay.h"
#include "tools/bvsim/lib/Control.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

using bvtest::RangeFolderSetup;

// The records of a record file as bvtool dump shows them, as bytes.
std::vector<std::vector<int>> DumpedRecords(const std::string& out, int size)
{
    std::vector<std::vector<int>> records;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("record ", 0) == 0 && line.size() > 7 && std::isdigit(static_cast<unsigned char>(line[7]))) {
            records.emplace_back();
            continue;
        }
        if (records.empty() || static_cast<int>(records.back().size()) >= size)
            continue;
        std::istringstream bytes(line);
        std::string offset, hex;
        bytes >> offset;
        while (static_cast<int>(records.back().size()) < size && bytes >> hex)
            records.back().push_back(std::stoi(hex, nullptr, 16));
    }
    return records;
}

class RelayPrintRoadTest : public bvtest::WindowRangeTest {
protected:
    // Lanes 1 to 4 with units, names on relay 1, competition 1 of two series
    // of five shots.
    void StartRange()
    {
        RangeFolderSetup setup;
        setup.autoSend = false;
        bvtest::MakeRangeFolder(setup);
        CDataComp dc;
        ASSERT_EQ(dc.Open(1, 1), 0);
        const char* names[] = {"", "Kari Nordmann", "Ola Hansen", "Anne Berg", "Per Olsen"};
        for (int lane = 1; lane <= 4; ++lane) {
            CardRecord card;
            CDataComp::ClearCard(card);
            card.relay = 1;
            card.lane = static_cast<int16_t>(lane);
            ASSERT_GE(dc.GetCard(card, 1), 0);
            NameRecord name;
            CDataComp::ClearName(name);
            std::strcpy(name.name, names[lane]);
            ASSERT_EQ(dc.StoreName(1, lane, name), 0);
        }
        dc.Close();
        StartUnits(1, 4);
        StartProgram();
    }
    // The commands every unit heard with a command byte, as (lane, payload).
    std::vector<bvsim::BusEvent> HeardWith(int command)
    {
        std::vector<bvsim::BusEvent> out;
        for (const bvsim::BusEvent& e : Heard())
            if (e.bytes.size() > 3 && e.bytes[1] == command)
                out.push_back(e);
        return out;
    }
    std::string Pdf(const char* name) { return folder.File(name); }
    static std::string Text(const std::string& pdf) { return bvtest::RunCommand("pdftotext -layout '" + pdf + "' -"); }
    static int Pages(const std::string& pdf)
    {
        std::string info = bvtest::RunCommand("pdfinfo '" + pdf + "'");
        size_t at = info.find("Pages:");
        return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
    }
};

// A new relay on four lanes: new cards, active records waiting for their
// targets (series byte 129), mode 48 to all and each lane's set-up 0x5A.
TEST_F(RelayPrintRoadTest, ANewRelayGivesEveryLaneItsCard)
{
    StartRange();
    size_t before = Heard().size();
    // The officer takes what the new-shooters dialog proposes.
    bvtest::ModalDriver dialogs;
    dialogs.Next(CDlgRelay::IDD, [](platform::Dialog& d) { d.item(CDlgRelay::IDC_OK).click(); });
    ASSERT_EQ(Frame().NewRelay(true, false, false, false), RelayChange::kOk);
    EXPECT_TRUE(dialogs.Done());
    // Before the targets answer.
    bvtest::ToolRun active = bvtest::RunTool("dump " + folder.File("Comp1/Active.BVD"));
    ASSERT_EQ(active.status, 0) << active.err;
    std::vector<std::vector<int>> records = DumpedRecords(active.out, 12);
    int waiting = 0;
    for (const std::vector<int>& r : records) {
        ASSERT_EQ(r.size(), 12u) << active.out;
        int lane = r[0], relay = r[4] | (r[5] << 8);
        if (lane >= 1 && lane <= 4) {
            EXPECT_EQ(relay, 2) << lane;
            EXPECT_EQ(r[10], 129) << lane;
            ++waiting;
        }
    }
    EXPECT_EQ(waiting, 4);
    bvtest::ToolRun cards = bvtest::RunTool("cards " + folder.File("") + " 1");
    ASSERT_EQ(cards.status, 0) << cards.err;
    for (int lane = 1; lane <= 4; ++lane) {
        char line[32];
        std::snprintf(line, sizeof line, "%5d %4d ", 2, lane);
        EXPECT_NE(cards.out.find(line), std::string::npos) << cards.out;
    }
    EXPECT_EQ(Frame().Window()->PaneText(CMainFrame::kWarningPane), objects->Text("IDS_INFO_NEWCARD"));

    ASSERT_TRUE(RunUntil([&] {
        int setups = 0, modes = 0;
        std::vector<bvsim::BusEvent> heard = Heard();
        for (size_t i = before; i < heard.size(); ++i) {
            const bvsim::Bytes& b = heard[i].bytes;
            if (heard[i].kind == bvsim::BusEvent::Broadcast && b.size() > 3 && b[1] == 'r' && b[3] == 48)
                ++modes;
            if (heard[i].kind == bvsim::BusEvent::Command && b.size() > 3 && b[1] == 's' && b[3] == 0x5A &&
                b[2] == heard[i].lane)
                ++setups;
        }
        return modes >= 1 && setups >= 4;
    }, 20000));
    // Every lane shoots relay 2 now: a shot of relay 2 reaches its card.
    ASSERT_TRUE(bus->QueueShot(3, 1, 1000, 100, 100, 1, 2, 1));
    ASSERT_TRUE(RunUntil([&] { return StoredShots(2, 3) == 1; }, 20000));
}

// The range's cards into a PDF file: the pages as the series per page ask,
// names, series sums and totals in the text.
TEST_F(RelayPrintRoadTest, CardsPrintToPdf)
{
    StartRange();
    // Lane L fires ten shots of (11 - L) rings: series of 5 (11 - L), total 10 (11 - L).
    for (int lane = 1; lane <= 4; ++lane)
        for (int n = 1; n <= 10; ++n)
            ASSERT_TRUE(bus->QueueShot(lane, n, (11 - lane) * 100, 0, 0, n <= 5 ? 1 : 2));
    ASSERT_TRUE(RunUntil([&] {
        for (int lane = 1; lane <= 4; ++lane)
            if (StoredShots(1, lane) < 10)
                return false;
        return true;
    }, 60000));
    CBVConfig& range = objects->settings.Config();
    struct Case {
        int perPage;
        int pages;
        const char* file;
    } cases[] = {{8, 4, "cards8.pdf"}, {1, 8, "cards1.pdf"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        WriteItem(range, RangeItems::kPrintSeriesPerPage, c.perPage);
        platform::PrinterChoice choice;
        choice.pdfPath = Pdf(c.file);
        prompter.AnswerPrinter(true, choice);
        EXPECT_EQ(Frame().Results().PrintCards(0, 0, 1, 100, true), 4);
        EXPECT_EQ(Pages(Pdf(c.file)), c.pages);
        EXPECT_EQ(Frame().Window()->PaneText(CMainFrame::kInfoPane), "4 " + objects->Text("IDS_INFO_PRINTED"));
    }
    // One card: the singular.
    platform::PrinterChoice one;
    one.pdfPath = Pdf("card.pdf");
    prompter.AnswerPrinter(true, one);
    EXPECT_EQ(Frame().Results().PrintCards(0, 0, 2, 2, true), 1);
    EXPECT_EQ(Frame().Window()->PaneText(CMainFrame::kInfoPane), "1 " + objects->Text("IDS_INFO_PRINTED1"));
    std::string text = Text(Pdf("cards8.pdf"));
    for (const char* name : {"Kari Nordmann", "Ola Hansen", "Anne Berg", "Per Olsen"})
        EXPECT_NE(text.find(name), std::string::npos) << name;
    for (const char* sum : {"50", "45", "40", "35", "100", "90", "80", "70"})
        EXPECT_NE(text.find(sum), std::string::npos) << sum;
    // Cancelled in the print dialog: nothing printed, and said so.
    prompter.AnswerPrinter(false);
    EXPECT_EQ(Frame().Results().PrintCards(0, 0, 1, 100, true), 0);
    EXPECT_EQ(Frame().Window()->PaneText(CMainFrame::kInfoPane), objects->Text("IDS_INFO_NOPRINT"));
    // A relay without cards prints nothing.
    EXPECT_EQ(Frame().Results().PrintCards(7, 7, 1, 100, true), 0);
}

// A monitor asks for its card to be printed; one shot is lost on the way
// and asked for again (kind 3); the card prints headed as the monitor's and
// the monitor hears that it is printed (0xA6). An abort frees the buffer.
TEST_F(RelayPrintRoadTest, AMonitorsCardIsFetchedAndPrinted)
{
    StartRange();
    std::ofstream(folder.File("card.txt")) << "1 2 1 10.4 1.5 -2\n"
                                              "1 2 1 9.8 -3 4\n"
                                              "1 2 1 8.7 0 6.5\n"
                                              "1 3 1 7.0 0 0\n";
    ASSERT_EQ(bvsim::Execute(*bus, "card 2 " + folder.File("card.txt")).reply, "ok");
    ASSERT_EQ(bvsim::Execute(*bus, "drop 2 1").reply, "ok");
    platform::PrinterChoice choice;
    choice.pdfPath = Pdf("monitor.pdf");
    prompter.AnswerPrinter(true, choice);
    ASSERT_EQ(bvsim::Execute(*bus, "print 2").reply, "ok");
    ASSERT_TRUE(RunUntil([&] { return HeardCount(2, 0xA6) == 1; }, 30000));
    EXPECT_EQ(Frame().Range().monitorPrint.Buffer(2), nullptr);
    EXPECT_EQ(Lane(2).fetchRunning, 0);
    // The lost shot (number 1) was asked for as a fetched one.
    bool askedAgain = false;
    for (const bvsim::BusEvent& e : HeardWith('S'))
        askedAgain |= e.bytes.size() >= 8 && e.bytes[2] == 2 && e.bytes[5] == 1 && e.bytes[7] == 3;
    EXPECT_TRUE(askedAgain);
    std::string text = Text(Pdf("monitor.pdf"));
    EXPECT_NE(text.find(objects->Text("IDS_PRINT_FROMDU")), std::string::npos) << text;
    EXPECT_NE(text.find(objects->Text("IDS_PRINT_LANE")), std::string::npos) << text;
    // 10.4 + 9.8 + 8.7 counted in whole rings under the monitor's value system.
    EXPECT_NE(text.find("27"), std::string::npos) << text;

    // Lane 3 asks, then aborts before any shot came.
    ASSERT_EQ(bvsim::Execute(*bus, "print 3").reply, "ok");
    ASSERT_TRUE(RunUntil([&] { return Frame().Range().monitorPrint.Buffer(3) != nullptr; }, 20000));
    ASSERT_EQ(bvsim::Execute(*bus, "print 3 abort").reply, "ok");
    ASSERT_TRUE(RunUntil([&] { return Frame().Range().monitorPrint.Buffer(3) == nullptr; }, 20000));
    EXPECT_EQ(Lane(3).fetchRunning, 0);
    EXPECT_EQ(Frame().Window()->PaneText(CMainFrame::kInfoPane), objects->Text("IDS_INFO_DUPRINTABORT") + " 3");
    int printers = 0;
    for (const platform::Question& q : prompter.Questions())
        printers += q.kind == platform::QuestionKind::Printer;
    EXPECT_EQ(printers, 1);
    EXPECT_EQ(HeardCount(3, 0xA6), 0);
}

}  // namespace
