// The demo as scripts/run.sh starts it, headless: the script makes the demo
// range and the display's folder, starts bvsim's ten units and fires the
// shooters' shots; BVLeder runs in this process on the demo folder, as the
// script would start it there, so that the test can do what a newcomer does
// on the window: look at the shots, shoot and mark a series, open the
// competition's settings and the program editor, print a shot log. What the
// demo leaves is read back from outside with bvtool, and pictured in
// <build>/screens.
#include "ModalDriver.h"
#include "OutputProcess.h"
#include "RunCommand.h"
#include "ScopedEnv.h"
#include "TextLines.h"
#include "WindowRange.h"

#include "foundation/grid/GridListCore.h"
#include "foundation/ui/grid/GridList.h"
#include "range/ui/scorecard/DlgCard.h"
#include "range/ui/setup/DlgDefComp.h"
#include "range/ui/setup/DlgProgram.h"

#include <QApplication>
#include <QKeySequence>
#include <QTest>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace demo_test {

namespace fs = std::filesystem;
using bvtest::ModalDriver;
using bvtest::Lines;
using bvtest::RunTool;
using bvtest::Words;

constexpr int kLanes = 10;
constexpr int kShots = 6;

class DemoTest : public bvtest::WindowRangeTest {
protected:
    void SetUp() override
    {
        WindowRangeTest::SetUp();
        demo = (fs::current_path() / "demo").string();
    }
    void TearDown() override
    {
        if (script)
            script->Stop(SIGTERM);
        WindowRangeTest::TearDown();
    }

    // scripts/run.sh with this build's programs, without a display, and
    // without BVLeder, which this test runs itself.
    void StartTheDemo()
    {
        env.emplace_back(std::make_unique<bvtest::ScopedEnv>("BV_BUILD", BV_BINARY_DIR));
        env.emplace_back(std::make_unique<bvtest::ScopedEnv>("BV_DEMO", demo));
        env.emplace_back(std::make_unique<bvtest::ScopedEnv>("BV_DEMO_SHOTS", std::to_string(kShots)));
        env.emplace_back(std::make_unique<bvtest::ScopedEnv>("BV_DEMO_PACE", "0.2"));
        // The shooters' draws repeat: a seed whose six shots a lane give
        // every lane five values or more.
        env.emplace_back(std::make_unique<bvtest::ScopedEnv>("BV_DEMO_SEED", "2"));
        env.emplace_back(std::make_unique<bvtest::ScopedEnv>("BV_DEMO_PROGRAMS", ""));
        env.emplace_back(std::make_unique<bvtest::ScopedEnv>("XDG_CONFIG_HOME", (fs::current_path() / "config").string()));
        env.emplace_back(std::make_unique<bvtest::ScopedEnv>("DISPLAY", ""));
        env.emplace_back(std::make_unique<bvtest::ScopedEnv>("WAYLAND_DISPLAY", ""));
        script = std::make_unique<bvtest::OutputProcess>(
            (fs::current_path() / "run.out").string(),
            std::vector<std::string>{"/bin/bash", BV_SOURCE_DIR "/scripts/run.sh"});
        ASSERT_TRUE(RunUntil([&] { return bvtest::TempFolder::Read(demo + "/bvsim.log").find("ready") != std::string::npos; },
                             120000))
            << bvtest::TempFolder::Read("run.out");
        // BVLeder in the range folder, its COM1 on the units' line.
        fs::current_path(demo);
        platform::SetComDevice(1, demo + "/COM1");
        StartProgram();
    }

    // The lane's series as its active record holds it for the other
    // programs (bit 7: the target has not reported it yet).
    static int ActiveSeries(int lane)
    {
        bvtest::ToolRun run = RunTool("active . 1 " + std::to_string(lane));
        std::vector<std::string> w = Words(run.out);
        return w.size() == 5 ? std::stoi(w[4]) : -1;
    }
    bool EveryLaneOn(int series)
    {
        for (int lane = 1; lane <= kLanes; ++lane)
            if (Lane(lane).active.seriesState != series)
                return false;
        return true;
    }
    void ExpectEveryActiveRecordOn(int series)
    {
        for (int lane = 1; lane <= kLanes; ++lane)
            EXPECT_EQ(ActiveSeries(lane), series) << "lane " << lane;
    }

    // The shots of a lane as bvtool lists them: series and value text.
    static std::vector<std::pair<int, std::string>> Shots(int lane)
    {
        std::vector<std::pair<int, std::string>> shots;
        bvtest::ToolRun run = RunTool("shots . 1 1 " + std::to_string(lane));
        for (const std::string& line : Lines(run.out)) {
            std::vector<std::string> w = Words(line);
            if (w.size() >= 4 && w[0] != "slot")
                shots.emplace_back(std::stoi(w[1]), w[3]);
        }
        return shots;
    }

    std::string demo;
    std::vector<std::unique_ptr<bvtest::ScopedEnv>> env;
    std::unique_ptr<bvtest::OutputProcess> script;
};

TEST_F(DemoTest, ANewcomersDemo)
{
    ASSERT_NO_FATAL_FAILURE(StartTheDemo());

    // ---- The shooters' shots: spread over the face, measured as a target does.
    ASSERT_TRUE(RunUntil(
        [&] {
            for (int lane = 1; lane <= kLanes; ++lane)
                if (StoredShots(1, lane) < kShots)
                    return false;
            return true;
        },
        600000))
        << bvtest::TempFolder::Read(demo + "/bvsim.log");
    CDataComp reader;
    ASSERT_EQ(reader.Open(1, 0), 0);
    for (int lane = 1; lane <= kLanes; ++lane) {
        SCOPED_TRACE(testing::Message() << "lane " << lane);
        std::set<std::string> values;
        for (const auto& [series, value] : Shots(lane))
            values.insert(value);
        EXPECT_GE(values.size(), 5u);
        CardRecord card{};
        card.relay = 1;
        card.lane = static_cast<int16_t>(lane);
        ASSERT_EQ(reader.GetCard(card, 0), 0);
        ShotListRecord list;
        ASSERT_EQ(reader.ReadShots(1, lane, list), 0);
        for (int slot = 0; slot < kShots; ++slot)
            EXPECT_NE(reader.RateSensors(list, slot, card.targetType, card.sensitivity), 75) << "slot " << slot;
    }

    // ---- The printed shot log: every heading whole, no wrong pressure.
    Frame().Dialogs().OpenCardDialog();
    ASSERT_NE(Frame().Dialogs().CardDialog(), nullptr);
    CDlgCard& card = *Frame().Dialogs().CardDialog();
    card.item(CDlgCard::IDC_RELAY).setText("1");
    card.item(CDlgCard::IDC_LANE).setText("1");
    platform::PrinterChoice pdf;
    pdf.pdfPath = (fs::current_path() / "log.pdf").string();
    prompter.AnswerPrinter(true, pdf);
    card.item(CDlgCard::IDC_PRINT).click();
    ASSERT_TRUE(fs::exists(pdf.pdfPath));
    const std::string log = bvtest::RunCommand("pdftotext -layout '" + pdf.pdfPath + "' -");
    for (const char* heading : {"Value", "X (mm)", "Y (mm)", "Date and time", "Turn time", "HW", "Band", "Status"})
        EXPECT_NE(log.find(heading), std::string::npos) << heading << "\n" << log;
    for (const char* runTogether : {"ValueX", "(mm)Y", "timeTurn", "HWBand", "Wrong pressure"})
        EXPECT_EQ(log.find(runTogether), std::string::npos) << runTogether << "\n" << log;
    // The head and the first rows of the page, for the docs.
    bvtest::RunCommand("pdftoppm -png -r 100 -x 0 -y 0 -W 827 -H 330 -singlefile '" + pdf.pdfPath +
                       "' '" BV_BINARY_DIR "/screens/demo-shot-log'");
    card.item(CDlgCard::IDC_OK).click();

    // ---- Series 2 chosen on the panel, shot, then marked, by the officer's
    // keys: every lane reaches it, and shoots in it.
    Press("Alt+Down");
    EXPECT_EQ(Panel().SeriesIndex(), 1);
    Press("Alt+S");
    EXPECT_TRUE(RunUntil([&] { return EveryLaneOn(2); }, 60000)) << bvtest::RunCommand("tail -40 bvsim.log");
    ExpectEveryActiveRecordOn(2);
    Press("Alt+A");
    EXPECT_TRUE(RunUntil([&] { return EveryLaneOn(2); }, 60000));
    ExpectEveryActiveRecordOn(2);
    bvtest::TempFolder::Write(demo + "/bvsim.ctl", "shot 4 7 950 1000 1000\n");
    EXPECT_TRUE(RunUntil([&] { return StoredShots(1, 4) == kShots + 1; }, 30000));
    const auto shots = Shots(4);
    ASSERT_EQ(shots.size(), static_cast<size_t>(kShots + 1));
    EXPECT_EQ(shots.back().first, 2);
    Press("Alt+3");  // the shots view
    Picture(*Frame().Window(), "demo-range-control.png");

    // ---- The competition's settings, OK without a change: the program stays.
    ModalDriver dialogs;
    dialogs.Next(CDlgDefComp::IDD, [](platform::Dialog& d) {
        platform::Control program = d.item(CDlgDefComp::IDC_PROGRAM);
        EXPECT_EQ(program.selection() < 0 ? 0 : static_cast<int>(program.itemData(program.selection())), 101);
        d.item(CDlgDefComp::IDC_OK).click();
    });
    Command(32803, dialogs);
    EXPECT_EQ(RunTool("cfg get Comp1/Comp.BVC 2 1 15").out, "101\n");

    // ---- The program editor lists the demo's program under its organisation.
    dialogs.Next(CDlgProgram::IDD, [](platform::Dialog& dialog) {
        auto& d = static_cast<CDlgProgram&>(dialog);
        ASSERT_EQ(d.Programs().GetItemCount(), 1);
        EXPECT_EQ(d.Programs().GetItemText(0, 0), "Demo 2x10");
        EXPECT_EQ(static_cast<int>(d.Programs().GetItemData(0)), 101);
        EXPECT_EQ(d.Series().GetItemCount(), 2);
        d.item(CDlgProgram::IDC_OK).click();
    });
    Command(32814, dialogs);

    // ---- The display beside it: the header whole, at two sizes.
    for (const char* size : {"1280x720", "800x600"}) {
        const std::string out = std::string(BV_BINARY_DIR "/screens/demo-display-") + size + ".png";
        const std::string report = bvtest::RunCommand(std::string(BV_BINARY_DIR "/display/BVVis --render 1 1 '") +
                                                      out + "' --folder display --report --size " + size);
        EXPECT_NE(report.find("header \"Demo range - Relay 1\" \"Serie 2\""), std::string::npos) << report;
    }
}

}  // namespace demo_test
