// The score card dialog with the range control's frame on the offscreen
// platform, driven by control id: what it shows of a known card at each
// detail level, the match shots and sums, start numbers, and every editing
// operation as bvtool and the record files see it afterwards.
#include "RecordingHelp.h"
#include "tests/range/FrameFixture.h"
#include "RunCommand.h"
#include "tests/range/ScoreCardFixture.h"

#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/files/FileSystem.h"
#include "platform/system/Codepage.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Help.h"
#include "platform/ui/ScriptedPrompter.h"
#include "range/ui/dialogs/DlgManual.h"
#include "range/ui/dialogs/DlgShotProperty.h"
#include "range/ui/scorecard/DlgCard.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using bvtest::KnownCard;
using bvtest::KnownShots;
using bvtest::RangeFolderSetup;
using C = CDlgCard;
using platform::IDCANCEL;
using platform::IDNO;
using platform::IDYES;

using bvtest::RecordingHelp;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// One line of "bvtool shots --full" that starts with the text, "" when none.
std::string LineOf(const std::string& full, const std::string& start)
{
    std::istringstream in(full);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(start, 0) == 0)
            return line;
    return {};
}

class CardDialogTest : public bvtest::RangeFrameTest {
protected:
    void SetUp() override
    {
        RangeFrameTest::SetUp();
        platform::SetHelpService(&help);
    }
    void TearDown() override
    {
        platform::SetHelpService(nullptr);
        RangeFrameTest::TearDown();
    }

    // Lanes 1 to 4 on a channel of a simulated range; program 1 has the
    // series Prone and Standing of three shots. Competition 1 holds the
    // known card on relay 1, lane 2 (Kari Nordmann, start score 98.5).
    // prepare may change the competition before the program starts.
    void StartRange(const std::function<void(CDataComp&)>& prepare = {}, int competition = 1)
    {
        RangeFolderSetup setup;
        setup.competition = competition;
        setup.com = 0;
        setup.simulation = true;
        setup.shotsPerSeries = 3;
        bvtest::MakeRangeFolder(setup);
        {
            CBVConfig range;
            range.Open(".\\BVLeder.bvc", 1);
            CRangeSettings::WriteChannel(range, 0, {1, 1, 4});
            CBVConfig programs;
            programs.Open(".\\Program.BVC", 1);
            programs.WriteString(ProgramItems::kSerieName, 1, 2, "Prone");
            programs.WriteString(ProgramItems::kSerieName, 1, 3, "Standing");
        }
        {
            CDataComp dc;
            ASSERT_EQ(dc.Open(competition, 1), 0);
            if (prepare)
                prepare(dc);
            CardRecord card = KnownCard();
            if (dc.GetCard(card, 1) == 1) {
                ASSERT_GT(dc.ChangeShots(1, 2, [](ShotListRecord& l) { l = KnownShots(); }), 0);
                NameRecord name;
                CDataComp::ClearName(name);
                std::strcpy(name.name, "Kari Nordmann");
                std::strcpy(name.cls, "Senior");
                name.startScore = 9850;
                ASSERT_EQ(dc.StoreName(1, 2, name), 0);
            }
        }
        Start();
        Ticks(1);
        ASSERT_FALSE(Frame().Closed());
        ASSERT_EQ(Frame().Objects().CompetitionNumber(), competition);
    }

    C& Dlg() { return *Frame().Dialogs().CardDialog(); }
    CGridList& List() { return Dlg().List(); }
    platform::Control Item(int id) { return Dlg().item(id); }
    // Opens the dialog as the card command does and shows the card.
    void Open(int relay, int lane)
    {
        Frame().Dialogs().OpenCardDialog();
        ASSERT_NE(Frame().Dialogs().CardDialog(), nullptr);
        ShowCard(relay, lane);
    }
    void ShowCard(int relay, int lane)
    {
        Item(C::IDC_RELAY).setText(std::to_string(relay));
        if (lane != 0)
            Item(C::IDC_LANE).setText(std::to_string(lane));
        ASSERT_EQ(Dlg().Card().relay, relay);
    }
    std::string Cell(int row, int kind) { return Dlg().Cells().Text(Dlg().Card(), row, kind); }
    std::vector<std::string> Headers()
    {
        std::vector<std::string> headers;
        for (int c = 0; c < List().GetColumnCount(); ++c)
            headers.emplace_back(List().GetColumnHeader(c));
        return headers;
    }
    std::vector<std::string> Sums()
    {
        return {Item(C::IDC_SERIES_COUNT).text(), Item(C::IDC_SERIES_SUM).text(), Item(C::IDC_TOTAL_COUNT).text(),
                Item(C::IDC_TOTAL_SUM).text()};
    }
    std::string Counting()
    {
        std::string s;
        for (int row = 0; row < Dlg().Card().RowCount(); ++row)
            s += (row ? " " : "") + std::to_string(Dlg().Card().Working(row));
        return s;
    }
    static std::string Full(int relay, int lane, int competition = 1)
    {
        bvtest::ToolRun run = bvtest::RunTool("shots . " + std::to_string(competition) + " " + std::to_string(relay) + " " +
                                              std::to_string(lane) + " --full");
        return run.out;
    }
    // Byte `offset` of the card of (relay, lane) in Card.BVD, as bvtool dump shows it.
    static int CardByte(int relay, int lane, int offset)
    {
        std::string dump = bvtest::RunTool("dump Comp1/Card.BVD").out;
        char key[32];
        std::snprintf(key, sizeof key, "  0000  %02x 00 %02x 00 ", relay, lane);
        size_t at = dump.find(key);
        if (at == std::string::npos)
            return -1;
        char row[16];
        std::snprintf(row, sizeof row, "  %04x  ", offset / 16 * 16);
        at = dump.find(row, at);
        if (at == std::string::npos)
            return -1;
        return std::stoi(dump.substr(at + 8 + (offset % 16) * 3, 2), nullptr, 16);
    }
    int RowOfSlot(int slot)
    {
        for (int row = 0; row < Dlg().Card().RowCount(); ++row)
            if (Dlg().Card().Slot(row) == slot)
                return row;
        return -1;
    }
    // Answers the modal dialog that the next step opens.
    static void OnModal(std::function<void(QWidget*)> script)
    {
        QTimer::singleShot(0, [script] { script(QApplication::activeModalWidget()); });
    }
    static void AnswerManual(const char* value, int seriesIndex, const char* shot)
    {
        OnModal([=](QWidget* w) {
            auto* m = dynamic_cast<CDlgManual*>(w);
            ASSERT_NE(m, nullptr);
            m->item(CDlgManual::IDC_VALUE).setText(value);
            m->item(CDlgManual::IDC_SERIE).choose(seriesIndex);
            m->item(CDlgManual::IDC_SHOT).setText(shot);
            m->item(CDlgManual::IDC_OK).click();
        });
    }
    QPoint RowPoint(int row, int column)
    {
        QRect r = List().CellRect(row, column);
        return r.center();
    }
    void DoubleClick(int row)
    {
        Dlg().show();
        QTest::mouseDClick(List().viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(row, 3));
    }
    void CtrlClick(int row)
    {
        QTest::mouseClick(List().viewport(), Qt::LeftButton, Qt::ControlModifier, RowPoint(row, 3));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QTest::keyClick(&List(), static_cast<Qt::Key>(key), modifiers);
    }

    RecordingHelp help;
};

// ---- What the dialog shows

TEST_F(CardDialogTest, OpensOnTheFirstActiveLaneAndShowsTheCardAtEachDetailLevel)
{
    StartRange();
    Frame().Dialogs().OpenCardDialog();
    ASSERT_NE(Frame().Dialogs().CardDialog(), nullptr);
    EXPECT_TRUE(Dlg().isVisible());
    EXPECT_EQ(Dlg().Caption(), "Score card");
    // The first active lane, its relay, the lane spin up to the last active lane.
    EXPECT_EQ(Item(C::IDC_RELAY).text(), "1");
    EXPECT_EQ(Item(C::IDC_LANE).text(), "1");
    EXPECT_EQ(Item(C::IDC_RELAY_LABEL).text(), "Relay");
    EXPECT_EQ(Dlg().Card().RowCount(), 0);
    EXPECT_EQ(Sums(), (std::vector<std::string>{"0", "0", "0", "0"}));
    EXPECT_FALSE(Item(C::IDC_CLIPBOARD_LABEL).visible());
    EXPECT_FALSE(Item(C::IDC_DETAIL_CHECK).visible());
    EXPECT_FALSE(Item(C::IDC_PENALTY).visible());

    Item(C::IDC_LANE).setText("2");
    EXPECT_EQ(Item(C::IDC_NAME).text(), "Kari Nordmann");
    // Series list: the program's series and the out entry.
    EXPECT_EQ(Item(C::IDC_SERIES).count(), 3);
    EXPECT_EQ(Item(C::IDC_SERIES).itemText(2), "Out");
    EXPECT_EQ(Item(C::IDC_SERIES).itemData(2), 128);
    EXPECT_EQ(Item(C::IDC_STATE).count(), 5);
    EXPECT_EQ(Item(C::IDC_COMMENT).text(), "Skiftet skive\netter serie 1");
    // Six rows; slot 5 (series byte with bit 7) is not listed.
    ASSERT_EQ(List().GetItemCount(), 6);
    EXPECT_EQ(List().m_rowCount, 6);
    EXPECT_EQ(List().GetItemText(5, 0), "6");
    EXPECT_EQ(List().GetItemData(5), 6);

    // Detail level 0 (the profile's default).
    EXPECT_EQ(Item(C::IDC_DETAIL).selection(), 0);
    EXPECT_EQ(Headers(), (std::vector<std::string>{"  ", "Series", "Counts in", "Value", "Status"}));
    EXPECT_EQ(List().GetColumnType(0), GRID_CHECK);
    EXPECT_EQ(Cell(2, kCardStatus), "Hidden Small advance Wrong pressure Temperature error ");
    EXPECT_EQ(Cell(3, kCardCounting), "     Undefined");
    EXPECT_EQ(Cell(4, kCardStatus), "Copy (5) Suspicious pressure ");
    EXPECT_EQ(Cell(1, kCardValue), "*0.0");

    // Detail level 2 with the motor item (default 1), then 1 without it.
    Item(C::IDC_DETAIL).choose(2);
    EXPECT_EQ(Frame().Objects().settings.profile.cardDetail, 2);
    EXPECT_EQ(Headers(), (std::vector<std::string>{"  ", "Series", "Counts in", "Value", "Sensors", platform::Ansi("°C"),
                                                   "X (mm)", "Y (mm)", "R (mm)", "Band", "HW", "Time", "Date and time",
                                                   "Status"}));
    EXPECT_EQ(Cell(2, kCardTemperature), platform::Ansi("81°C"));
    EXPECT_EQ(Dlg().Cells().Colour(Dlg().Card(), 2, kCardTemperature), CardColour::Red);
    EXPECT_EQ(Cell(1, kCardTemperature), "");
    EXPECT_EQ(Cell(0, kCardX), "1.234");
    EXPECT_EQ(Cell(0, kCardDate), "2026.12.10 - 14:05:01.07");
    EXPECT_EQ(Cell(3, kCardX), "");
    // Widths from the sample and header texts: the date is the widest.
    EXPECT_GT(List().GetColumnWidth(12), List().GetColumnWidth(9));
    EXPECT_EQ(List().GetColumnFormat(1), GridAlign::Left);
    EXPECT_EQ(List().GetColumnFormat(3), GridAlign::Right);

    WriteItem(Frame().Objects().settings.Config(), RangeItems::kMotor, 0);
    Item(C::IDC_DETAIL).choose(1);
    EXPECT_EQ(Headers(),
              (std::vector<std::string>{"  ", "Series", "Counts in", "Value", "Sensors", "HW", "Time", "Status"}));
    EXPECT_EQ(Cell(0, kCardSensors), " 30: 31: 12: 31");

    // F1 asks for the dialog's topic.
    Dlg().activateWindow();
    QTest::keyClick(&List(), Qt::Key_F1);
    ASSERT_FALSE(help.requests.empty());
    EXPECT_EQ(help.requests.back(), std::make_pair(uint32_t{136}, 2));
}

TEST_F(CardDialogTest, MatchShotsAndSums)
{
    StartRange([](CDataComp& dc) {
        WriteItem(dc.CompConfig(), CompSettings::kStartScore, 1);
        // Relay 2: the known shots in value system 6, without a name;
        // relay 3 in value system 2 with the start score 98.5.
        for (int relay : {2, 3}) {
            CardRecord card = KnownCard();
            card.relay = static_cast<int16_t>(relay);
            card.valueSystem = relay == 2 ? 6 : 2;
            ASSERT_EQ(dc.GetCard(card, 1), 1);
            ASSERT_GT(dc.ChangeShots(relay, 2, [](ShotListRecord& l) { l = KnownShots(); }), 0);
        }
        NameRecord name;
        CDataComp::ClearName(name);
        name.startScore = 9850;
        ASSERT_EQ(dc.StoreName(3, 2, name), 0);
    });
    Open(1, 2);
    // Series 1 selected: its counting rows are selected with it.
    Item(C::IDC_SERIES).choose(1);
    Item(C::IDC_SERIES).choose(0);
    EXPECT_EQ(List().GetSelectedItems(), (std::vector<int>{0, 1, 2}));
    // Value system 1 (whole rings; the starred zero counts 0), start score
    // 98.5 on the total.
    EXPECT_EQ(Sums(), (std::vector<std::string>{"3", "19", "4", "127"}));

    Item(C::IDC_NONE).click();
    EXPECT_EQ(Counting(), "128 128 128 0 128 2");
    EXPECT_EQ(List().GetSelectedItems(), std::vector<int>{});
    EXPECT_EQ(Sums(), (std::vector<std::string>{"0", "0", "1", "108"}));
    // Three fired, three in the program.
    Item(C::IDC_FIRST).click();
    EXPECT_EQ(Counting(), "1 1 1 0 128 2");
    Item(C::IDC_NONE).click();
    Item(C::IDC_BEST).click();
    EXPECT_EQ(Counting(), "1 1 1 0 128 2");
    // Series 2: one undefined, one out and one counting shot.
    Item(C::IDC_SERIES).choose(1);
    Item(C::IDC_LOWEST).click();
    EXPECT_EQ(Counting(), "1 1 1 2 2 2");
    EXPECT_EQ(List().GetSelectedItems(), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(Sums(), (std::vector<std::string>{"3", "29", "6", "146"}));
    Item(C::IDC_LAST).click();
    EXPECT_EQ(Counting(), "1 1 1 2 2 2");

    // A click in the check column takes a row out of the selected series and back.
    QTest::mouseClick(List().viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(5, 0));
    EXPECT_EQ(Counting(), "1 1 1 2 2 128");
    EXPECT_EQ(Sums(), (std::vector<std::string>{"2", "19", "5", "136"}));
    QTest::mouseClick(List().viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(5, 0));
    EXPECT_EQ(Counting(), "1 1 1 2 2 2");

    // Value system 6: two decimals; no name, no start score.
    prompter.AnswerMessage(IDNO);
    ShowCard(2, 2);
    Item(C::IDC_SERIES).choose(0);
    EXPECT_EQ(Sums(), (std::vector<std::string>{"3", "20.30", "4", "30.30"}));
    // Value system 2: one decimal, with the start score.
    ShowCard(3, 2);
    Item(C::IDC_SERIES).choose(0);
    EXPECT_EQ(Sums(), (std::vector<std::string>{"3", "20.3", "4", "128.8"}));
}

TEST_F(CardDialogTest, StartNumbersKeyTheCardByStartNumberAlone)
{
    StartRange([](CDataComp& dc) {
        CompOptions options;
        options.Set(CompOptions::StartNumbers, true);
        ASSERT_EQ(CompSettings::WriteOptions(dc.CompConfig(), options), 0);
        ASSERT_EQ(dc.Open(1, 1), 0);
        CardRecord card = KnownCard();
        card.relay = 17;
        ASSERT_EQ(dc.GetCard(card, 1), 1);
        ASSERT_GT(dc.ChangeShots(17, 0, [](ShotListRecord& l) { l = KnownShots(); }), 0);
    });
    Frame().Dialogs().OpenCardDialog();
    ASSERT_NE(Frame().Dialogs().CardDialog(), nullptr);
    EXPECT_EQ(Item(C::IDC_RELAY_LABEL).text(), "Start no.");
    for (int id : {C::IDC_LANE, C::IDC_LANE_SPIN, C::IDC_LANE_LABEL})
        EXPECT_FALSE(Item(id).visible()) << id;
    Item(C::IDC_RELAY).setText("17");
    EXPECT_EQ(Dlg().Card().lane, 0);
    EXPECT_EQ(Dlg().Card().card.relay, 17);
    EXPECT_EQ(Dlg().Card().RowCount(), 6);

    // Saved by start number: the card (17, 0).
    Item(C::IDC_SERIES).choose(0);
    Item(C::IDC_NONE).click();
    Item(C::IDC_STATE).choose(2);
    Item(C::IDC_SAVE).click();
    std::string full = Full(17, 0);
    EXPECT_EQ(LineOf(full, "card "), "card relay 17 lane 0 type 3 system 1 name  shots 7 state 2");
    EXPECT_NE(LineOf(full, "slot=0 ").find(" counting=128 "), std::string::npos);
}

// ---- Editing, as the files show it afterwards

TEST_F(CardDialogTest, SaveStoresCountingSeriesCommentAndResultState)
{
    StartRange();
    Open(1, 2);
    Item(C::IDC_SERIES).choose(0);
    QTest::mouseClick(List().viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(1, 0));  // the starred zero out
    Item(C::IDC_COMMENT).setText("Protest\nav Hansen");
    Item(C::IDC_STATE).choose(3);
    Item(C::IDC_SAVE).click();

    std::string full = Full(1, 2);
    EXPECT_EQ(LineOf(full, "card "), "card relay 1 lane 2 type 3 system 1 name Kari Nordmann shots 7 state 3");
    EXPECT_NE(LineOf(full, "slot=1 ").find(" counting=128 "), std::string::npos);
    EXPECT_NE(LineOf(full, "slot=0 ").find(" counting=1 "), std::string::npos);
    EXPECT_EQ(LineOf(full, "comment: "), "comment: Protest\\r\\nav Hansen");
    EXPECT_EQ(CardByte(1, 2, 33), 3);
    EXPECT_EQ(CardByte(1, 1, 33), 0);  // lane 1's card
    // Saved: no question when the card changes.
    ShowCard(1, 3);
    EXPECT_TRUE(prompter.Questions().empty());

    // A card without rows keeps its comment too; the question does not come back.
    Item(C::IDC_COMMENT).setText("DNS, meldt syk");
    Item(C::IDC_SAVE).click();
    EXPECT_EQ(LineOf(Full(1, 3), "comment: "), "comment: DNS, meldt syk");
    ShowCard(1, 2);
    EXPECT_TRUE(prompter.Questions().empty());

    // The comment stops at 247 characters.
    Item(C::IDC_COMMENT).setText(std::string(260, 'k'));
    EXPECT_EQ(Item(C::IDC_COMMENT).text(), std::string(247, 'k'));
    Item(C::IDC_SAVE).click();
    EXPECT_EQ(LineOf(Full(1, 2), "comment: "), "comment: " + std::string(247, 'k'));
}

TEST_F(CardDialogTest, InsertStoresAShotEnteredByHand)
{
    StartRange();
    Open(1, 2);
    Item(C::IDC_SERIES).choose(1);
    AnswerManual("9.5", 1, "4");
    Item(C::IDC_INSERT).click();
    std::string slot7 = LineOf(Full(1, 2), "slot=7 ");
    EXPECT_NE(slot7.find("state=64 flags=0x0082 x=-1500000 y=-1500000 radius=2121320 value=950 data17=0 "
                         "temperature=2000 order=0 shot=0 position=4 "),
              std::string::npos)
        << slot7;
    EXPECT_NE(slot7.find(" series=2 counting=0 sensors=32,32,32,255 data41=2 data42=0 data43=0 data44=0 data45=0 "),
              std::string::npos)
        << slot7;
    EXPECT_EQ(Dlg().Card().RowCount(), 7);

    // With marking blocked (mark kind 3) the shot is not shown on the target.
    WriteItem(Frame().Objects().comp.CompConfig(), CompSettings::kMarkKind, 3);
    Frame().Range().files.CheckFiles(true);
    ASSERT_EQ(Frame().Range().files.markKind, 3);
    AnswerManual("10", 0, "1");
    Item(C::IDC_INSERT).click();
    EXPECT_NE(LineOf(Full(1, 2), "slot=8 ").find("state=64 flags=0x0002 "), std::string::npos);
    // Cancelled: nothing.
    OnModal([](QWidget* w) { w->close(); });
    Item(C::IDC_INSERT).click();
    EXPECT_EQ(LineOf(Full(1, 2), "slot=9 "), "");
}

TEST_F(CardDialogTest, InsertIsRefusedInThePracticeCompetition)
{
    StartRange({}, 0);
    Open(1, 2);
    Item(C::IDC_INSERT).click();
    ASSERT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(prompter.Questions()[0].text, "Simulation is not possible in the practice competition");
    EXPECT_EQ(prompter.Questions()[0].icon, platform::MessageIcon::None);
    EXPECT_EQ(LineOf(Full(1, 2, 0), "card "), "card relay 1 lane 2 type 3 system 1 name Kari Nordmann shots 7 state 0");
}

TEST_F(CardDialogTest, CopiedShotsArePastedOntoAnotherCard)
{
    StartRange();
    Open(1, 2);
    List().SetItemSelected(0, true);
    CtrlClick(2);
    ASSERT_EQ(List().GetSelectedItems(), (std::vector<int>{0, 2}));
    Key(Qt::Key_C);
    EXPECT_EQ(Item(C::IDC_CLIPBOARD).text(), "2");
    EXPECT_TRUE(Item(C::IDC_CLIPBOARD_LABEL).visible());

    // Lane 3's card, empty; No stores nothing and keeps the clipboard.
    ShowCard(1, 3);
    prompter.AnswerMessage(IDNO);
    Key(Qt::Key_V);
    ASSERT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(prompter.Questions()[0].text, "Paste the copied shots onto this card?");
    EXPECT_EQ(prompter.Questions()[0].icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(prompter.Questions()[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(LineOf(Full(1, 3), "card "), "card relay 1 lane 3 type 0 system 1 name  shots 0 state 0");

    prompter.AnswerMessage(IDYES);
    Key(Qt::Key_V);
    std::string full = Full(1, 3);
    EXPECT_NE(LineOf(full, "slot=0 ").find("state=64 flags=0x0881 x=1234 y=-2345 radius=2650 value=1050 "),
              std::string::npos);
    EXPECT_NE(LineOf(full, "slot=0 ").find(" shot=0 position=0 "), std::string::npos);
    EXPECT_NE(LineOf(full, "slot=1 ").find("flags=0x0B01 "), std::string::npos);
    EXPECT_NE(LineOf(full, "slot=1 ").find(" series=1 counting=0 "), std::string::npos);
    EXPECT_EQ(LineOf(full, "slot=2 "), "");
    EXPECT_TRUE(Dlg().Clipboard().Empty());
    EXPECT_FALSE(Item(C::IDC_CLIPBOARD_LABEL).visible());
    EXPECT_EQ(Dlg().Card().RowCount(), 2);
    EXPECT_EQ(Cell(0, kCardStatus).rfind("Copy (0) ", 0), 0u);
    // A second paste: no question, nothing stored.
    Key(Qt::Key_V);
    EXPECT_EQ(prompter.Questions().size(), 2u);
    EXPECT_EQ(LineOf(Full(1, 3), "slot=2 "), "");
}

TEST_F(CardDialogTest, ManualAndCopiedShotsAreCorrectedSuperFinalShotsFlagged)
{
    StartRange([](CDataComp& dc) { WriteItem(dc.CompConfig(), CompSettings::kSuperFinal, 2); });
    Open(1, 2);
    // The manual shot (row 3): a new value.
    List().SetItemSelected(3, true);
    AnswerManual("8.7", 1, "2");
    DoubleClick(3);
    std::string slot3 = LineOf(Full(1, 2), "slot=3 ");
    EXPECT_NE(slot3.find("state=64 flags=0x0082 "), std::string::npos) << slot3;
    EXPECT_NE(slot3.find(" value=870 "), std::string::npos) << slot3;
    EXPECT_NE(slot3.find(" shot=0 position=2 "), std::string::npos) << slot3;
    EXPECT_TRUE(prompter.Questions().empty());

    // The copied shot keeps its value; the officer is told.
    AnswerManual("5", 1, "3");
    DoubleClick(RowOfSlot(4));
    ASSERT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(prompter.Questions()[0].text, "A copied shot keeps its value");
    EXPECT_EQ(prompter.Questions()[0].icon, platform::MessageIcon::Exclamation);
    std::string slot4 = LineOf(Full(1, 2), "slot=4 ");
    EXPECT_NE(slot4.find(" value=1010 "), std::string::npos) << slot4;
    EXPECT_NE(slot4.find(" position=3 "), std::string::npos) << slot4;
    EXPECT_NE(slot4.find(" series=2 counting=128 "), std::string::npos) << slot4;

    // A target's shot: the super-final flag, set and cleared.
    OnModal([](QWidget* w) {
        auto* p = dynamic_cast<CDlgShotProperty*>(w);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->item(CDlgShotProperty::IDC_LOWEST).check(), 0);
        p->item(CDlgShotProperty::IDC_LOWEST).click();
        p->item(CDlgShotProperty::IDC_OK).click();
    });
    DoubleClick(0);
    EXPECT_NE(LineOf(Full(1, 2), "slot=0 ").find("flags=0x0481 "), std::string::npos);
    OnModal([](QWidget* w) {
        auto* p = dynamic_cast<CDlgShotProperty*>(w);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->item(CDlgShotProperty::IDC_LOWEST).check(), 1);
        p->item(CDlgShotProperty::IDC_LOWEST).click();
        p->item(CDlgShotProperty::IDC_OK).click();
    });
    DoubleClick(0);
    EXPECT_NE(LineOf(Full(1, 2), "slot=0 ").find("flags=0x0081 "), std::string::npos);
}

// ---- The question before unsaved work is lost

TEST_F(CardDialogTest, ChangingTheCardAsksAboutUnsavedWork)
{
    StartRange();
    struct Case {
        int answer;
        const char* relayShown;  // in the edit afterwards
        int relay;               // the card shown
        const char* slot0;       // counting series of slot 0 in the file
        const char* working;     // of the card shown
    } cases[] = {
        {IDYES, "2", 2, " counting=128 ", ""},
        {IDNO, "2", 2, " counting=1 ", ""},
        {IDCANCEL, "1", 1, " counting=1 ", "128 1 1 0 128 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        // Every case starts from the known card.
        {
            CDataComp dc;
            ASSERT_EQ(dc.Open(1, 1), 0);
            ASSERT_GT(dc.ChangeShots(1, 2, [](ShotListRecord& l) { l = KnownShots(); }), 0);
        }
        prompter.Clear();
        Open(1, 2);
        Item(C::IDC_SERIES).choose(0);
        QTest::mouseClick(List().viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(0, 0));
        prompter.AnswerMessage(c.answer);
        Item(C::IDC_RELAY).setText("2");
        ASSERT_EQ(prompter.Questions().size(), 1u);
        EXPECT_EQ(prompter.Questions()[0].text, "The card has changed. Save the changes?");
        EXPECT_EQ(prompter.Questions()[0].buttons, platform::MessageButtons::YesNoCancel);
        EXPECT_EQ(prompter.Questions()[0].icon, platform::MessageIcon::Question);
        EXPECT_EQ(Item(C::IDC_RELAY).text(), c.relayShown);
        EXPECT_EQ(Dlg().Card().relay, c.relay);
        EXPECT_NE(LineOf(Full(1, 2), "slot=0 ").find(c.slot0), std::string::npos);
        if (*c.working)
            EXPECT_EQ(Counting(), c.working);
        else
            EXPECT_EQ(Dlg().Card().RowCount(), 0);
        EXPECT_EQ(Dlg().Card().Dirty(), c.answer == IDCANCEL);
    }
}

TEST_F(CardDialogTest, ANewShotComesInWithoutTakingTheUnsavedWork)
{
    StartRange();
    Open(1, 2);
    Item(C::IDC_SERIES).choose(0);
    Item(C::IDC_NONE).click();
    Item(C::IDC_COMMENT).setText("under arbeid");
    Item(C::IDC_STATE).choose(1);
    {
        CDataComp other;
        ASSERT_EQ(other.Open(1, 1), 0);
        ShotRecord late = bvtest::CardShot(1, 1000, 0, 0x0081);
        ASSERT_GT(other.AddShot(1, 2, late, nullptr, 3, 0), 0);
    }
    // The tick's refresh: on ticks without a file check.
    Ticks(12);
    ASSERT_EQ(Dlg().Card().RowCount(), 7);
    EXPECT_EQ(Counting(), "128 128 128 0 0 128 2");
    EXPECT_EQ(Item(C::IDC_COMMENT).text(), "under arbeid");
    EXPECT_EQ(Item(C::IDC_STATE).selection(), 1);
    EXPECT_TRUE(Dlg().Card().Dirty());
    EXPECT_TRUE(prompter.Questions().empty());
}

// ---- The shot log

TEST_F(CardDialogTest, LogToFileWritesTheListAsExpected)
{
    StartRange();
    Open(1, 2);
    ASSERT_EQ(platform::CreateFolders("Logs"), 0);
    const std::string cwd = std::filesystem::current_path();
    struct Case {
        int detail;
        const char* expected;
    } cases[] = {{0, "shotlog-detail0.txt"}, {2, "shotlog-detail2.txt"}};
    for (const Case& c : cases) {
        Item(C::IDC_DETAIL).choose(c.detail);
        prompter.AnswerFile(".\\Logs\\SHOTLOG.TXT");
        Item(C::IDC_TOFILE).click();
        EXPECT_EQ(ReadFile("Logs/SHOTLOG.TXT"), ReadFile(std::string(BV_SOURCE_DIR) + "/tests/range/data/" + c.expected))
            << c.detail;
        EXPECT_EQ(std::filesystem::current_path().string(), cwd);
    }
    const platform::Question& q = prompter.Questions().back();
    EXPECT_EQ(q.kind, platform::QuestionKind::File);
    EXPECT_TRUE(q.file.save);
    EXPECT_EQ(q.file.initialPath, ".\\SHOTLOG.TXT");
    EXPECT_TRUE(q.file.confirmOverwrite);

    // A file that cannot be written is reported.
    prompter.Clear();
    prompter.AnswerFile(".\\Missing\\SHOTLOG.TXT");
    prompter.AnswerMessage(platform::IDOK);
    Item(C::IDC_TOFILE).click();
    ASSERT_EQ(prompter.Questions().size(), 2u);
    EXPECT_EQ(prompter.Questions()[1].text.rfind("Cannot write the file", 0), 0u);
    // Cancelled: nothing.
    prompter.Clear();
    prompter.AnswerFile("");
    Item(C::IDC_TOFILE).click();
    EXPECT_EQ(prompter.Questions().size(), 1u);
}

TEST_F(CardDialogTest, PrintLogPrintsTheCardInTheChosenLanguage)
{
    profile.WriteString("Context", "Language", "NO");
    StartRange();
    Open(1, 2);
    EXPECT_EQ(Dlg().Caption(), "Skytekort");
    platform::PrinterChoice pdf;
    pdf.pdfPath = folder.File("log.pdf");
    prompter.AnswerPrinter(true, pdf);
    Item(C::IDC_PRINT).click();
    ASSERT_TRUE(std::filesystem::exists(pdf.pdfPath));
    std::string text = bvtest::RunCommand("pdftotext -layout '" + pdf.pdfPath + "' -");
    for (const char* expected : {"Test 1", "Lag", "Skive", "Verdi", "Dato og tid", "Manuelt", "Kopi (5)", "10,5", "9,8",
                                 "Prone", "Standing", "Skiftet skive", "BVLeder"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

// ---- The frame's dialog

TEST_F(CardDialogTest, TheFrameKeepsOneDialogAndClosesItWithTheProgram)
{
    StartRange();
    Frame().Dialogs().OpenCardDialog();
    QPointer<CDlgCard> first = Frame().Dialogs().CardDialog();
    ASSERT_TRUE(first);
    Frame().Dialogs().OpenCardDialog();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);
    ASSERT_NE(Frame().Dialogs().CardDialog(), nullptr);
    // OK hides it; the frame keeps it.
    Item(C::IDC_OK).click();
    EXPECT_FALSE(Dlg().isVisible());
    EXPECT_NE(Frame().Dialogs().CardDialog(), nullptr);
    // The window's place goes to the profile.
    Dlg().show();
    Dlg().move(40, 50);
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame().Objects().settings.profile.cardX0, Dlg().geometry().left());
    QPointer<CDlgCard> last = Frame().Dialogs().CardDialog();
    Frame().CloseFrame(true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(last);
}

// A prompter through which the test acts while a question is on the
// screen, as the officer may reach the window's menu then.
class PrompterActingWhileAsked : public platform::ScriptedPrompter {
public:
    std::function<void()> whileAsked;
    int Message(const platform::MessageRequest& request) override
    {
        if (auto act = std::exchange(whileAsked, nullptr))
            act();
        return ScriptedPrompter::Message(request);
    }
};

TEST_F(CardDialogTest, TheCardCommandLeavesABusyDialogAsItWas)
{
    StartRange();
    Open(1, 2);
    Item(C::IDC_SERIES).choose(0);
    QTest::mouseClick(List().viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(0, 0));
    ASSERT_TRUE(Dlg().Card().Dirty());
    QPointer<CDlgCard> busy = Frame().Dialogs().CardDialog();

    // Another card asks about the unsaved work; the card command comes
    // while the question waits, and the officer then cancels.
    PrompterActingWhileAsked asking;
    platform::SetPrompter(&asking);
    asking.AnswerMessage(IDCANCEL);
    bool routed = false;
    asking.whileAsked = [&] { routed = Frame().Window()->RouteCommand(32788); };
    Item(C::IDC_RELAY).setText("2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::SetPrompter(&prompter);
    ASSERT_EQ(asking.Questions().size(), 1u);
    EXPECT_TRUE(routed);
    ASSERT_TRUE(busy);
    EXPECT_EQ(Frame().Dialogs().CardDialog(), busy.data());
    EXPECT_TRUE(busy->isVisible());
    EXPECT_EQ(Item(C::IDC_RELAY).text(), "1");
    EXPECT_EQ(Dlg().Card().relay, 1);
    EXPECT_TRUE(Dlg().Card().Dirty());

    // Idle again, the command gives a new dialog.
    EXPECT_TRUE(Frame().Window()->RouteCommand(32788));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(busy);
    EXPECT_NE(Frame().Dialogs().CardDialog(), nullptr);
}

// ---- Screens

TEST_F(CardDialogTest, Screenshots)
{
    StartRange();
    Open(1, 2);
    {
        CDataComp dc;
        ASSERT_EQ(dc.Open(1, 1), 0);
        for (int k = 0; k < 3; ++k) {
            ShotRecord s = bvtest::CardShot(2, 960 + 15 * k, 0, 0x0081);
            s.second = static_cast<uint8_t>(10 + k);
            ASSERT_GT(dc.AddShot(1, 2, s, nullptr, 3, 0), 0);
        }
    }
    Dlg().Refresh();
    Dlg().resize(900, 480);
    Item(C::IDC_SERIES).choose(1);
    Item(C::IDC_SERIES).choose(0);
    Item(C::IDC_BEST).click();
    QCoreApplication::processEvents();
    std::filesystem::create_directories(BV_BINARY_DIR "/screens");
    auto save = [&](const char* name) {
        Dlg().show();
        QApplication::setActiveWindow(&Dlg());
        QCoreApplication::processEvents();
        EXPECT_TRUE(Dlg().grab().toImage().save(QString(BV_BINARY_DIR "/screens/") + name));
    };
    save("card-dialog.png");
    Item(C::IDC_DETAIL).choose(2);
    Dlg().resize(1450, 480);
    QCoreApplication::processEvents();
    save("card-dialog-detail.png");
}

}  // namespace
