// A range officer's day with BVLeder from an empty range folder to the
// targets left in practice, driven only as the officer drives it: commands
// and keys on the window, dialogs by control id, questions answered by the
// scripted prompter. Ten units simulated by bvsim fire the shots. What the
// day leaves (the range folder, bvsim's log and the printed cards) is kept
// in the build folder and looked at from outside with bvtool, pdftotext and
// the log itself; each dialog on the way is pictured in <build>/screens.
//
// The day runs long for a test (forty-five seconds alone, a minute and more
// beside other tests): some forty seconds of it are the 9600-baud line to
// the units carrying five rounds of lane set-ups, three welcomes and a
// hundred shots with their answers, as a real line would. It is one story
// on purpose: every step stands on what the ones before left.
#include "GridDriver.h"
#include "ModalDriver.h"
#include "RunCommand.h"
#include "WindowRange.h"

#include "range/ui/DlgAsk.h"
#include "range/ui/dialogs/DlgFinal.h"
#include "range/ui/dialogs/DlgPrint.h"
#include "range/ui/dialogs/DlgRelay.h"
#include "range/ui/dialogs/DlgSend.h"
#include "range/ui/setup/DlgComp.h"
#include "range/ui/setup/DlgDefComp.h"
#include "range/ui/setup/DlgDefLane.h"
#include "range/ui/setup/DlgInterface.h"
#include "range/ui/setup/DlgLanguage.h"
#include "range/ui/setup/DlgProgram.h"
#include "range/setup/ProgramEdits.h"
#include "tools/bvsim/lib/Control.h"

#include <QKeySequence>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace officers_day_test {

using bvtest::ModalDriver;
using platform::IDYES;

constexpr int kLanes = 10;
constexpr int kShotsPerSeries = 5;

// The shooters the results office put out for relay 1: lane L has start
// number 100 + L.
const char* const kShooters[kLanes + 1] = {"",          "Kari Nordmann", "Ola Hansen", "Anne Berg",  "Per Olsen",
                                           "Liv Dahl",  "Jon Lie",       "Eva Moen",   "Tor Bakke",  "Siri Lund",
                                           "Arne Vik"};

// Every shot of lane L has the same value: 11 - L rings.
int ShotValue(int lane) { return (11 - lane) * 100; }

// The lines of text, split at line ends.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// Runs bvtool commands in one run of its batch, each line's output after
// the other's.
std::string Batch(const std::vector<std::string>& commands)
{
    std::string script;
    for (const std::string& c : commands)
        script += c + "\n";
    const std::string file = std::filesystem::temp_directory_path() / ("officers-day-" + std::to_string(getpid()));
    bvtest::TempFolder::Write(file, script);
    bvtest::ToolRun run = bvtest::RunTool("batch " + file);
    std::filesystem::remove(file);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.out;
}

class OfficersDayTest : public bvtest::WindowRangeTest {
protected:
    // The results office's files for relay 1 in the exchange folder: each
    // lane's start number and each start number's shooter.
    static void OfficeFiles()
    {
        std::filesystem::create_directories("Office/BV");
        for (int lane = 1; lane <= kLanes; ++lane) {
            char name[64];
            std::snprintf(name, sizeof name, "Office/BV/H1R001%02d.txt", lane);
            bvtest::TempFolder::Write(name, "[Def]\r\nStartNr=" + std::to_string(100 + lane) + "\r\n");
            std::snprintf(name, sizeof name, "Office/BV/N%05d.txt", 100 + lane);
            bvtest::TempFolder::Write(name, std::string("[Shooter]\r\nName=") + kShooters[lane] +
                                                "\r\nClub=Brevandi skytterlag\r\n");
        }
    }

    // Every event of the bus as bvsim prints it, in order.
    void ListenToTheBus()
    {
        bus->SetListener([this](const bvsim::BusEvent& e) {
            std::lock_guard<std::mutex> hold(m_heard);
            if (e.kind == bvsim::BusEvent::Command || e.kind == bvsim::BusEvent::Broadcast)
                heard.push_back(e);
            if (e.kind != bvsim::BusEvent::FrameIn && e.kind != bvsim::BusEvent::FrameOut)
                m_log.push_back(bvsim::FormatEvent(e));
        });
    }
    std::vector<std::string> BusLog()
    {
        std::lock_guard<std::mutex> hold(m_heard);
        return m_log;
    }

    // Every unit fires a series; the day goes on once all shots are stored.
    void FireSeries(int series)
    {
        for (int lane = 1; lane <= kLanes; ++lane)
            for (int n = 1; n <= kShotsPerSeries; ++n)
                ASSERT_TRUE(bus->QueueShot(lane, (series - 1) * kShotsPerSeries + n, ShotValue(lane), 40 * n, -30 * n,
                                           series, 1, comp));
        // The units hand over every shot and hear it taken; then the cards
        // hold them.
        ASSERT_TRUE(RunUntil(
            [&] {
                for (int lane = 1; lane <= kLanes; ++lane) {
                    bvsim::UnitStats stats;
                    if (!bus->Stats(lane, stats) || stats.queued != 0)
                        return false;
                }
                return true;
            },
            60000));
        ASSERT_TRUE(RunUntil(
            [&] {
                for (int lane = 1; lane <= kLanes; ++lane)
                    if (Shots(lane) < series * kShotsPerSeries)
                        return false;
                return true;
            },
            20000));
    }

    // The shots stored on a lane's card of relay 1, as another program reads them.
    int Shots(int lane)
    {
        CDataComp reader;
        ShotListRecord list;
        if (reader.Open(comp, 0) != 0 || reader.ReadShots(1, lane, list) != 0)
            return 0;
        int n = 0;
        for (const ShotRecord& s : list.shots)
            n += s.state == CDataComp::kSlotShot;
        return n;
    }

    void CheckWhatTheDayLeft(const std::string& kept);

    int comp = -1;
    std::vector<std::string> m_log;
};

TEST_F(OfficersDayTest, FromAnEmptyRangeFolderToTheTargetsInPractice)
{
    bvtest::CopyLanguageFile();
    profile.WriteString("Context", "Language", "");
    OfficeFiles();
    // The units of a new range are on the practice competition.
    StartUnits(1, kLanes, 0);
    ListenToTheBus();
    CLanguageTable norwegian;
    ASSERT_GE(norwegian.Load(".\\BVRange.bvt", "NO"), 0);

    // ---- Start-up: language, interface, a new competition and its settings.
    ModalDriver dialogs;
    dialogs.Next(CDlgLanguage::IDD, [](platform::Dialog& d) {
        d.item(CDlgLanguage::IDC_ENGLISH + 1).click();
        Picture(d, "day-01-language.png");
        d.item(CDlgLanguage::IDC_OK).click();
    });
    dialogs.Next(CDlgInterface::IDD, [](platform::Dialog& d) {
        using D = CDlgInterface;
        platform::Control device = d.item(D::kDevice[0]);
        device.choose(device.findText("COM1"));
        d.item(D::kFirst[0]).setText("1");
        d.item(D::kLast[0]).setText(std::to_string(kLanes));
        d.item(D::IDC_USER).setText("Brevandi skytterlag");
        d.item(D::IDC_PROGRAM).choose(d.item(D::IDC_PROGRAM).findItemData(0));
        d.item(D::IDC_FOLDER).setText(".\\Office");
        Picture(d, "day-02-interface.png");
        d.item(D::IDC_OK).click();
    });
    dialogs.Next(CDlgComp::IDD, [](platform::Dialog& d) {
        Picture(d, "day-03-competition-choice.png");
        d.item(CDlgComp::IDC_NEW).click();
    });
    dialogs.Next(CDlgDefComp::IDD, [](platform::Dialog& d) {
        using D = CDlgDefComp;
        d.item(D::IDC_NAME).setText("V\xE5rcup");
        d.item(D::IDC_OK).click();
    });
    prompter.AnswerMessage(IDYES);  // the range goes to the new competition
    Start();
    ASSERT_TRUE(RunUntil([&] { return Frame().m_tick.startState == TickSchedule::StartState::Running; }, 30000));
    ASSERT_TRUE(dialogs.Done()) << testing::PrintToString(dialogs.Seen());
    ASSERT_FALSE(Frame().Closed());
    // New makes the competition after the last one made, which a new
    // profile gives as 1.
    comp = Frame().Objects().CompetitionNumber();
    ASSERT_EQ(comp, 2);
    EXPECT_EQ(objects->Text("IDS_COMP_WRNSEL"), norwegian.GetText("IDS_COMP_WRNSEL"));
    // The lines open once the competition is chosen, so its lanes are
    // ticked now, in its settings; the lanes taking part get their cards.
    dialogs.Next(CDlgDefComp::IDD, [](platform::Dialog& d) {
        platform::Control lanes = d.item(CDlgDefComp::IDC_LANES);
        ASSERT_EQ(lanes.count(), kLanes);
        for (int lane = 1; lane <= kLanes; ++lane)
            lanes.setItemCheck(lanes.findItemData(lane), true);
        Picture(d, "day-04-competition-settings.png");
        d.item(CDlgDefComp::IDC_OK).click();
    });
    dialogs.Next(CDlgRelay::IDD, [](platform::Dialog& d) { d.item(CDlgRelay::IDC_OK).click(); });
    Command(32803, dialogs);
    for (int lane = 1; lane <= kLanes; ++lane)
        EXPECT_TRUE(objects->lanes.IsActive(lane)) << lane;

    // ---- Lane settings: every lane 10 m air rifle.
    dialogs.Next(CDlgDefLane::IDD, [](platform::Dialog& dialog) {
        auto& d = static_cast<CDlgDefLane&>(dialog);
        d.resize(640, 360);
        QApplication::setActiveWindow(&d);
        QCoreApplication::processEvents();
        bvtest::ChooseInGrid(d.Grid(), 0, CDlgDefLane::kColType, 23);
        d.Grid().m_currentRow = 0;
        d.Grid().SelectRow(0, 1);
        d.item(CDlgDefLane::IDC_ALL).click();
        Picture(d, "day-05-lane-settings.png");
        d.item(CDlgDefLane::IDC_OK).click();
    });
    Command(32804, dialogs);

    // ---- The program: two series of five, made in the program editor,
    // then taken in the competition's settings.
    dialogs.Next(CDlgProgram::IDD, [](platform::Dialog& dialog) {
        auto& d = static_cast<CDlgProgram&>(dialog);
        d.resize(760, 520);
        d.item(CDlgProgram::IDC_NEWPROG).click();
        CGridList& programs = d.Programs();
        const int row = programs.GetItemCount() - 1;
        programs.m_currentRow = static_cast<int16_t>(row);
        programs.SelectRow(row, 1);
        bvtest::TypeIntoGrid(programs, row, ProgramEdits::kColName, "Dagen");
        for (int guard = 0; d.Series().GetItemCount() < 2 && guard < 5; ++guard)
            d.item(CDlgProgram::IDC_NEWSERIE).click();
        ASSERT_EQ(d.Series().GetItemCount(), 2);
        for (int series = 0; series < 2; ++series)
            bvtest::TypeIntoGrid(d.Series(), series, ProgramEdits::kColShots, std::to_string(kShotsPerSeries));
        Picture(d, "day-06-program-editor.png");
        d.item(CDlgProgram::IDC_OK).click();
    });
    Command(32814, dialogs);
    dialogs.Next(CDlgDefComp::IDD, [](platform::Dialog& d) {
        platform::Control program = d.item(CDlgDefComp::IDC_PROGRAM);
        program.choose(program.findItemData(101));
        d.item(CDlgDefComp::IDC_OK).click();
    });
    Command(32803, dialogs);
    ASSERT_EQ(objects->programs.GetSerieShots(1, 0), kShotsPerSeries);

    // ---- New shooters for relay 1: their names come in from the office.
    dialogs.Next(CDlgRelay::IDD, [](platform::Dialog& d) {
        d.item(CDlgRelay::IDC_RELAY).setText("1");
        Picture(d, "day-07-new-shooters.png");
        d.item(CDlgRelay::IDC_OK).click();
    });
    Command(32775, dialogs);
    ASSERT_TRUE(RunUntil([&] { return std::string(Lane(kLanes).name.name) == kShooters[kLanes]; }, 20000));
    for (int lane = 1; lane <= kLanes; ++lane)
        EXPECT_EQ(std::string(Lane(lane).name.name), kShooters[lane]) << lane;

    // ---- Welcome, clock, series 1 and 2 shot and marked.
    Command(32786, dialogs);
    Press("Home");  // the clock starts
    EXPECT_TRUE(objects->clock.IsRunning());
    for (int series = 1; series <= 2; ++series) {
        SCOPED_TRACE(series);
        ASSERT_EQ(Panel().SeriesIndex(), series - 1);
        Press("Alt+S");
        FireSeries(series);
        Press("Alt+A");
        if (series == 1)
            Press("Alt+Down");
    }
    Screenshot("day-08-main.png");

    // ---- The final marking of lane 3.
    prompter.AnswerMessage(IDYES);
    dialogs.Next(CDlgFinal::IDD, [](platform::Dialog& d) {
        d.item(CDlgFinal::IDC_LANE_FIRST).click();
        d.item(CDlgFinal::IDC_LANE_NEXT).click();
        d.item(CDlgFinal::IDC_LANE_NEXT).click();
        EXPECT_EQ(d.item(CDlgFinal::IDC_LANE).text(), "3");
        for (int shot = 0; shot < 2 * kShotsPerSeries; ++shot)
            d.item(CDlgFinal::IDC_SHOT_NEXT).click();
        Picture(d, "day-09-final-marking.png");
        d.item(CDlgFinal::IDC_OK).click();
    });
    Command(32835, dialogs);

    // ---- The cards printed into a PDF file, every lane of relay 1.
    const std::string pdf = folder.File("cards.pdf");
    platform::PrinterChoice printer;
    printer.pdfPath = pdf;
    prompter.AnswerPrinter(true, printer);
    dialogs.Next(CDlgPrint::IDD, [](platform::Dialog& d) {
        d.item(CDlgPrint::IDC_LANE_FROM).setText("1");
        d.item(CDlgPrint::IDC_LANE_TO).setText(std::to_string(kLanes));
        Picture(d, "day-10-print-cards.png");
        d.item(CDlgPrint::IDC_OK).click();
    });
    Command(32808, dialogs);

    // ---- The results sent to the office.
    dialogs.Next(CDlgSend::IDD, [](platform::Dialog& d) {
        Picture(d, "day-11-send.png");
        d.item(CDlgSend::IDC_OK).click();
    });
    Command(32785, dialogs);
    EXPECT_EQ(Frame().Window()->PaneText(CMainFrame::kInfoPane), norwegian.GetText("IDS_INFO_SENT"));

    // ---- Exit: the targets go to practice first.
    Press("Esc");
    ASSERT_EQ(Frame().Questions().Asking(), AskState::Exit);
    CDlgAsk* box = Frame().Questions().AskBox();
    ASSERT_TRUE(box && box->IsOpen());
    Picture(*box, "day-12-exit.png");
    box->item(CDlgAsk::IDC_BUTTON1).click();
    EXPECT_EQ(Frame().Objects().CompetitionNumber(), 0);
    ASSERT_TRUE(RunUntil([&] { return Frame().Closed(); }, 30000));
    EXPECT_TRUE(dialogs.Done());
    // Asked on the way: the switch to the competition made, the final
    // marking, the printer; the results sent are told with a beep.
    const std::vector<std::string> asked = prompter.Log();
    ASSERT_EQ(asked.size(), 4u) << testing::PrintToString(asked);
    EXPECT_NE(asked[0].find(norwegian.GetText("IDS_COMP_WRNSEL")), std::string::npos) << asked[0];
    EXPECT_NE(asked[1].find(norwegian.GetText("IDS_FINAL_CONFIRM")), std::string::npos) << asked[1];
    EXPECT_EQ(asked[2], "Printer -> " + pdf);
    EXPECT_EQ(asked[3].rfind("Beep", 0), 0u) << asked[3];
    EXPECT_EQ(prompter.Unanswered(), 0);

    // ---- What the day left, kept in the build folder and read from outside.
    {
        std::ofstream log(folder.File("bvsim.log"));
        for (const std::string& line : BusLog())
            log << line << "\n";
    }
    const std::string kept = BV_BINARY_DIR "/officers-day";
    std::filesystem::remove_all(kept);
    std::filesystem::copy(folder.Path(), kept, std::filesystem::copy_options::recursive);
    CheckWhatTheDayLeft(kept);
}

// The range settings and the competition's, as bvtool reads them.
void CheckSettings(const std::string& kept, int comp)
{
    struct Item {
        std::string file;
        int section, index, key;
        std::string value;
    };
    std::vector<Item> items = {
        {"BVLeder.bvc", 1, 1, 15, "0"},  // the system's own results program
        {"BVLeder.bvc", 1, 1, 570, ".\\Office\\BV\\"},
        {"BVLeder.bvc", 1, 1, 500, "Brevandi skytterlag"},
        {"BVLeder.bvc", 1, 1, 680, "0"},  // the practice competition
        {"BVLeder.bvc", 1, 1, 16, ""},    // no computer runs the range now
        {"Comp" + std::to_string(comp) + "/Comp.BVC", 2, 1, 500, "V\xC3\xA5rcup"},
        {"Comp" + std::to_string(comp) + "/Comp.BVC", 2, 1, 15, "101"},
    };
    for (int lane = 1; lane <= kLanes; ++lane)
        items.push_back({"Comp" + std::to_string(comp) + "/Comp.BVC", 1, lane, 530, "1"});
    // The channel's bytes hold a line end: it goes alone.
    bvtest::ToolRun channel = bvtest::RunTool("cfg get " + kept + "/BVLeder.bvc 1 1 530");
    EXPECT_EQ(channel.out, std::string("\x01\x01") + char(kLanes) + "\n");
    std::vector<std::string> commands, expected;
    for (const Item& i : items) {
        commands.push_back("cfg get '" + kept + "/" + i.file + "' " + std::to_string(i.section) + " " +
                           std::to_string(i.index) + " " + std::to_string(i.key));
        expected.push_back(commands.back() + " -> " + i.value);
    }
    std::vector<std::string> values = Lines(Batch(commands));
    std::vector<std::string> got;
    for (size_t k = 0; k < commands.size(); ++k)
        got.push_back(commands[k] + " -> " + (k < values.size() ? values[k] : "(none)"));
    EXPECT_EQ(got, expected);
}

// Ten cards of ten shots with their shooters, and each shooter's series
// in the exchange folder.
void CheckCardsAndResults(const std::string& kept, int comp)
{
    bvtest::ToolRun cards = bvtest::RunTool("cards " + kept + " " + std::to_string(comp));
    ASSERT_EQ(cards.status, 0) << cards.err;
    std::string table = "relay lane type system shots name\n";
    for (int lane = 1; lane <= kLanes; ++lane) {
        char line[80];
        std::snprintf(line, sizeof line, "%5d %4d %4d %6d %5d %s\n", 1, lane, 23, 1, 2 * kShotsPerSeries,
                      kShooters[lane]);
        table += line;
    }
    EXPECT_EQ(cards.out, table);
    std::vector<std::string> commands;
    for (int lane = 1; lane <= kLanes; ++lane)
        commands.push_back("shots '" + kept + "' " + std::to_string(comp) + " 1 " + std::to_string(lane));
    // Each card's table under its own heading.
    std::vector<std::vector<std::string>> tables;
    for (const std::string& line : Lines(Batch(commands))) {
        if (line.rfind("slot ", 0) == 0)
            tables.emplace_back();
        else if (!tables.empty())
            tables.back().push_back(line);
    }
    ASSERT_EQ(tables.size(), static_cast<size_t>(kLanes));
    commands.clear();
    std::vector<std::string> expected;
    for (int lane = 1; lane <= kLanes; ++lane) {
        SCOPED_TRACE(lane);
        const std::vector<std::string>& table = tables[static_cast<size_t>(lane - 1)];
        ASSERT_EQ(table.size(), 2u * kShotsPerSeries);
        for (int n = 1; n <= 2 * kShotsPerSeries; ++n) {
            std::istringstream fields(table[static_cast<size_t>(n - 1)]);
            int slot = 0, series = 0, shot = 0;
            std::string value;
            fields >> slot >> series >> shot >> value;
            EXPECT_EQ(series, n <= kShotsPerSeries ? 1 : 2) << table[static_cast<size_t>(n - 1)];
            EXPECT_EQ(shot, n);
            EXPECT_EQ(value, std::to_string(11 - lane) + ".0");
        }
        char file[64];
        std::snprintf(file, sizeof file, "/Office/BV/H1R001%02d.txt", lane);
        std::string series;
        for (int k = 0; k < kShotsPerSeries; ++k)
            series += (k ? " " : "") + std::to_string(ShotValue(lane) / 10);
        for (const char* key : {"Res Ser1", "Res Ser2", "Def StartNr"}) {
            commands.push_back("ini get '" + kept + file + "' " + key);
            expected.push_back(commands.back() + " -> " +
                               (std::string(key) == "Def StartNr" ? std::to_string(100 + lane) : series));
        }
    }
    std::vector<std::string> values = Lines(Batch(commands));
    std::vector<std::string> got;
    for (size_t k = 0; k < commands.size(); ++k)
        got.push_back(commands[k] + " -> " + (k < values.size() ? values[k] : "(none)"));
    EXPECT_EQ(got, expected);
}

// The printed cards: each shooter, and each card's series sums and totals
// in card order.
void CheckPrintout(const std::string& pdf)
{
    const std::string text = bvtest::RunCommand("pdftotext -layout '" + pdf + "' -");
    size_t at = 0;
    for (int lane = 1; lane <= kLanes; ++lane) {
        at = text.find(kShooters[lane], at);
        EXPECT_NE(at, std::string::npos) << kShooters[lane];
    }
    std::vector<std::string> sums, expected;
    for (const std::string& line : Lines(text)) {
        std::istringstream fields(line);
        std::string word, value;
        // "Serie 1" heads a series; "Serie 50,0" is its sum.
        if (fields >> word >> value && (word == "Serie" || word == "Sum") && value.find(',') != std::string::npos)
            sums.push_back(word + " " + value);
    }
    for (int lane = 1; lane <= kLanes; ++lane) {
        const int series = kShotsPerSeries * (11 - lane);
        for (int total : {series, 2 * series}) {
            expected.push_back("Serie " + std::to_string(series) + ",0");
            expected.push_back("Sum " + std::to_string(total) + ",0");
        }
    }
    EXPECT_EQ(sums, expected) << text;
}

// What the units heard, in the order of the day: the welcome, the clock,
// series 1 shot, its shots taken and marked, series 2 the same, the final
// marking of lane 3, and last the targets set to practice.
void CheckBusLog(const std::string& path)
{
    const std::vector<std::string> log = Lines(bvtest::TempFolder::Read(path));
    const char* const steps[] = {
        "bcast 40 57 3C 00 01 01 00",       // welcome: the screens cleared
        "bcast 40 72 00 7A",                // the clock started
        "cmd 1 40 51 01 01 01 01 ",         // shoot series 1
        "ack 10 40 43 0A 20 ",              // a shot of lane 10 taken
        "cmd 1 40 51 01 01 01 01 81 ",      // series 1 marked
        "cmd 1 40 51 01 01 02 02 ",         // shoot series 2
        "ack 10 40 43 0A 20 ",
        "cmd 1 40 51 01 01 02 02 81 ",      // series 2 marked
        "bcast 40 70 00 01 03 ",            // the final marking loads lane 3
        "bcast 40 70 00 80 ",               // and ends
        "cmd 1 40 73 01 14 ",               // lane 1 set to practice
    };
    size_t at = 0;
    for (const char* step : steps) {
        while (at < log.size() && log[at].rfind(step, 0) != 0)
            ++at;
        ASSERT_LT(at, log.size()) << "not heard in order: " << step;
        ++at;
    }
    for (int lane = 1; lane <= kLanes; ++lane) {
        char acked[32];
        std::snprintf(acked, sizeof acked, "ack %d 40 43 ", lane);
        int n = 0;
        for (const std::string& line : log)
            n += line.rfind(acked, 0) == 0;
        EXPECT_EQ(n, 2 * kShotsPerSeries) << lane;
    }
}

void OfficersDayTest::CheckWhatTheDayLeft(const std::string& kept)
{
    CheckSettings(kept, comp);
    CheckCardsAndResults(kept, comp);
    CheckPrintout(kept + "/cards.pdf");
    CheckBusLog(kept + "/bvsim.log");
    // Nothing went wrong enough to be logged at level 90.
    for (const std::string& line : Lines(bvtest::TempFolder::Read(kept + "/BVLog.txt"))) {
        std::istringstream fields(line);
        std::string thread, date, time, level;
        fields >> thread >> date >> time >> level;
        EXPECT_NE(level, "5A") << line;
    }
}

}  // namespace
