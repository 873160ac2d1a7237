// The final marking against four simulated units: a lane whose first shot
// is 5.4 revealed shot by shot, every 'p' message the monitors heard, the
// shots marked shown on the card and the lane-0 record the displays follow.
// Marking is blocked in this competition, so no shot is shown before the
// final reveals it.
#include "ModalDriver.h"
#include "RunCommand.h"
#include "tests/range/ui/WindowRange.h"

#include "foundation/comp/DataComp.h"
#include "foundation/files/BVConfig.h"
#include "range/ui/dialogs/DlgFinal.h"
#include "tools/bvsim/lib/Control.h"

#include <QImage>

#include <cstdio>
#include <filesystem>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

using F = CDlgFinal;

// A 'p' message to all as the monitors read it.
struct PMessage {
    int kind, lane, series, zoom, marked, total, index, value, run, x, y;
};

// The lane-0 record of Active.BVD as bvtool dump shows it, as its 12 bytes.
std::vector<int> FinalRecord(const std::string& dump)
{
    std::istringstream in(dump);
    std::vector<std::vector<int>> records;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("record ", 0) == 0) {
            records.emplace_back();
            continue;
        }
        if (records.empty())
            continue;
        std::istringstream fields(line);
        std::string offset, hex;
        fields >> offset;
        while (records.back().size() < 12 && fields >> hex && hex.size() == 2 &&
               std::isxdigit(static_cast<unsigned char>(hex[0])))
            records.back().push_back(std::stoi(hex, nullptr, 16));
    }
    for (const std::vector<int>& r : records)
        if (r.size() == 12 && r[0] == 0 && r[1] == 0 && r[2] == 0 && r[3] == 0)
            return r;
    return {};
}

class FinalMarkingTest : public bvtest::WindowRangeTest {
protected:
    void SetUp() override
    {
        WindowRangeTest::SetUp();
        bvtest::RangeFolderSetup setup;
        setup.autoSend = false;
        bvtest::MakeRangeFolder(setup);
        {
            CBVConfig comp;
            comp.Open(CompSettings::FileOf(".\\", 1), 1);
            WriteItem(comp, CompSettings::kMarkKind, 3);  // blocked
        }
        CDataComp dc;
        ASSERT_EQ(dc.Open(1, 1), 0);
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = 1;
        card.lane = 4;
        ASSERT_GE(dc.GetCard(card, 1), 0);
        NameRecord name;
        CDataComp::ClearName(name);
        std::strcpy(name.name, "Kari Nordmann");
        ASSERT_EQ(dc.StoreName(1, 4, name), 0);
        dc.Close();
        // Lane 4: 5.4 first, then four shots; lane 3 one shot.
        std::FILE* f = std::fopen("shots.txt", "w");
        ASSERT_NE(f, nullptr);
        std::fputs("1 4 1 5.4 20.0 -30.0\n1 4 1 10.2 1.0 1.0\n1 4 1 9.8 -2.0 0.5\n"
                   "1 4 1 8.7 3.0 -4.0\n1 4 1 10.9 0.1 0.1\n1 3 1 9.0 5.0 5.0\n",
                   f);
        std::fclose(f);
        bvtest::ToolRun added = bvtest::RunTool("shots add " + folder.File("") + " 1 " + folder.File("shots.txt"));
        ASSERT_EQ(added.status, 0) << added.err;
        StartUnits(1, 4);
        StartProgram();
    }

    std::vector<PMessage> HeardP(size_t mark)
    {
        std::vector<PMessage> out;
        std::vector<bvsim::BusEvent> events = WindowRangeTest::Heard();
        for (size_t i = mark; i < events.size(); ++i) {
            const bvsim::Bytes& b = events[i].bytes;  // from byte 2 of the message on
            if (events[i].kind != bvsim::BusEvent::Broadcast || b.size() < 18 || b[1] != 'p')
                continue;
            auto at = [&](int n) { return static_cast<int>(b[static_cast<size_t>(n - 2)]); };
            auto be = [&](int n) { return static_cast<int16_t>((at(n) << 8) | at(n + 1)); };
            out.push_back({at(5), at(6), at(7), at(8), be(9), be(11), at(13), at(14), at(15), be(16), be(18)});
        }
        return out;
    }
    std::vector<int> Record()
    {
        bvtest::ToolRun dump = bvtest::RunTool("dump " + folder.File("Comp1/Active.BVD"));
        EXPECT_EQ(dump.status, 0) << dump.err;
        return FinalRecord(dump.out);
    }
    // Which shots of lane 4's card carry the shown bit, in slot order.
    std::string Shown()
    {
        CDataComp reader;
        if (reader.Open(1, 0) != 0)
            return "?";
        ShotListRecord list;
        if (reader.ReadShots(1, 4, list) != 0)
            return "?";
        std::string s;
        for (int i = 0; i < 5; ++i)
            s += (list.shots[i].flags & CDataComp::kFlagShown) ? '1' : '0';
        return s;
    }
    // Waits for the line to carry what was queued.
    void Drain(size_t mark, size_t count)
    {
        RunUntil([&] { return HeardP(mark).size() >= count; }, 15000);
    }
};

TEST_F(FinalMarkingTest, ShotByShotWithTheZoomTheTempoAndTheRecord)
{
    EXPECT_EQ(Shown(), "00000");
    prompter.AnswerMessage(platform::IDYES);
    bvtest::ModalDriver driver;
    size_t mark = WindowRangeTest::Heard().size();
    std::vector<int> whileOpen, afterFive;
    std::string shownAfterFive, shownAfterThree;
    int indexAfterTicks = -1;
    driver.Next(F::IDD, [&](platform::Dialog& dialog) {
        auto& d = static_cast<CDlgFinal&>(dialog);
        // The last active lane first, with its shooter.
        EXPECT_EQ(d.item(F::IDC_LANE).text(), "4");
        EXPECT_EQ(d.item(F::IDC_INFO_NAME).text(), "Kari Nordmann");
        EXPECT_EQ(d.item(F::IDC_MAXSHOT).text(), "5");
        whileOpen = Record();
        for (int i = 0; i < 5; ++i)
            d.item(F::IDC_SHOT_NEXT).click();
        EXPECT_EQ(d.item(F::IDC_INFO_SHOT).text(), "5");
        EXPECT_EQ(d.item(F::IDC_INFO_MARKED).text(), "42.0");  // whole rings count
        afterFive = Record();
        std::filesystem::create_directories(BV_BINARY_DIR "/screens");
        d.grab().toImage().save(QString::fromStdString(BV_BINARY_DIR "/screens/range-final.png"));
        shownAfterFive = Shown();
        d.Marking().ShowUpTo(3);
        shownAfterThree = Shown();
        // A shot the card does not have.
        d.item(F::IDC_MAXSHOT).setText("6");
        d.Marking().ShowUpTo(6);
        // Tempo 0: a shot at every second's tick.
        d.item(F::IDC_SHOT_NONE).click();
        d.item(F::IDC_TEMPO).setText("0");
        d.item(F::IDC_START).click();
        d.OnTimer(F::kTempoTimer);
        d.OnTimer(F::kTempoTimer);
        indexAfterTicks = d.Marking().ShotIndex();
        d.item(F::IDC_OK).click();
    });
    Frame().Targets().OnFinalMarking();
    ASSERT_TRUE(driver.Done());

    // The record the displays follow: lane 0, relay 1, lane 4 in the card
    // field, the shot index in the counter field, series 1.
    EXPECT_EQ(whileOpen, (std::vector<int>{0, 0, 0, 0, 1, 0, 4, 0, 0, 0, 1, 0}));
    EXPECT_EQ(afterFive, (std::vector<int>{0, 0, 0, 0, 1, 0, 4, 0, 5, 0, 1, 0}));
    EXPECT_EQ(shownAfterFive, "11111");
    EXPECT_EQ(shownAfterThree, "11100");
    EXPECT_EQ(indexAfterTicks, 3);
    // Cleared on closing.
    EXPECT_EQ(Record(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 129, 0}));
    EXPECT_EQ(Shown(), "11100");

    // Loaded; 1..5 (the first at a new zoom); loaded again, 1..3; 4, 5 and
    // 6 (missing); loaded again for the tempo's 1, then 2 and 3; the end.
    Drain(mark, 18);
    std::vector<PMessage> p = HeardP(mark);
    ASSERT_GE(p.size(), 18u);
    EXPECT_EQ(p[0].kind, 1);
    EXPECT_EQ(p[0].zoom, 3);
    EXPECT_EQ(p[0].lane, 4);
    EXPECT_EQ(p[0].series, 1);
    for (size_t i = 1; i < p.size() - 1; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(p[i].zoom, 1);
        EXPECT_EQ(p[i].lane, 4);
    }
    std::vector<int> sequence;
    for (const PMessage& h : p)
        sequence.push_back(h.kind == 2 ? h.index : -h.kind);
    EXPECT_EQ(sequence, (std::vector<int>{-1, 1, 2, 3, 4, 5, -1, 1, 2, 3, 4, 5, 6, -1, 1, 2, 3, -128}));
    EXPECT_EQ(p[1].value, 54);
    EXPECT_EQ(p[5].marked, 420);  // tenths
    EXPECT_EQ(p[12].index, 6);
    EXPECT_EQ(p[12].value, 0);
    EXPECT_EQ(p[12].x, 32000);
    EXPECT_EQ(p[12].y, 32000);
    EXPECT_EQ(p.back().kind, 128);
    EXPECT_EQ(p.back().zoom, 2);

    // The name line to every monitor.
    int names = 0;
    const std::string nameLine = "bcast 40 57 00 80 02 2E 02 " +
                                 bvsim::Hex(bvsim::Bytes{' ', '4', ':', ' ', 'K', 'a', 'r', 'i'});
    for (const bvsim::BusEvent& e : WindowRangeTest::Heard())
        names += bvsim::FormatEvent(e).rfind(nameLine, 0) == 0;
    EXPECT_GE(names, 3);
}

TEST_F(FinalMarkingTest, ClosingClearsTheRecordAndALaneChangeKeepsWhatWasShown)
{
    prompter.AnswerMessage(platform::IDNO);
    bvtest::ModalDriver driver;
    Frame().Targets().OnFinalMarking();
    EXPECT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(prompter.Questions()[0].text, "Start the final marking?");

    // Opened and closed with nothing marked: the record goes all the same.
    prompter.AnswerMessage(platform::IDYES);
    std::vector<int> untouched;
    driver.Next(F::IDD, [&](platform::Dialog& d) {
        untouched = Record();
        d.OnCancel();
    });
    Frame().Targets().OnFinalMarking();
    ASSERT_TRUE(driver.Done());
    EXPECT_EQ(untouched, (std::vector<int>{0, 0, 0, 0, 1, 0, 4, 0, 0, 0, 1, 0}));
    EXPECT_EQ(Record(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 129, 0}));

    prompter.AnswerMessage(platform::IDYES);
    std::vector<int> whileOpen;
    std::string shownOnLaneOne;
    driver.Next(F::IDD, [&](platform::Dialog& d) {
        whileOpen = Record();
        d.item(F::IDC_SHOT_NEXT).click();
        // Another lane: lane 4's revealed shot stays shown on its card.
        d.item(F::IDC_LANE_FIRST).click();
        EXPECT_EQ(d.item(F::IDC_LANE).text(), "1");
        EXPECT_EQ(d.item(F::IDC_SHOT).text(), "0");
        shownOnLaneOne = Shown();
        d.OnCancel();
    });
    Frame().Targets().OnFinalMarking();
    ASSERT_TRUE(driver.Done());
    ASSERT_EQ(whileOpen.size(), 12u);
    EXPECT_EQ(whileOpen[6], 4);
    EXPECT_EQ(shownOnLaneOne, "10000");
    EXPECT_EQ(Record(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 129, 0}));
}

}  // namespace
