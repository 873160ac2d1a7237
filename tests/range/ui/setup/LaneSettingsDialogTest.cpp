// The lane settings dialog on the range control's frame, driven as the range
// officer drives it: choices picked and numbers typed in the grid's editors,
// the copy buttons, OK, Cancel and Escape. After each edit the lanes' card
// images and row marks are untouched and the range's defaults for new lanes
// (read back with bvtool) are the edited lane's; OK writes the changed lanes'
// cards and marks their rows; Cancel asks first when anything changed.
#include "tests/range/dialogs/DialogRange.h"

#include "foundation/grid/GridComboCore.h"
#include "foundation/ui/grid/GridCombo.h"
#include "range/ui/setup/DlgDefLane.h"

#include <QPainter>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

namespace {

using D = CDlgDefLane;
using platform::IDCANCEL;
using platform::IDOK;

// A lane's five settings as "type,sensitivity,value system,frequency,length",
// the order of the range's defaults (33,1,530..534).
std::string Settings(const CardRecord& c)
{
    return std::to_string(c.targetType) + "," + std::to_string(c.sensitivity) + "," +
           std::to_string(c.valueSystem) + "," + std::to_string(c.band1) + "," + std::to_string(c.band2);
}

// Every lane starts as type 0 with that type's own defaults.
constexpr const char* kInitial = "0,1,0,150,10";
// Type 23 (10 m air rifle) with its defaults: air sensitivity, integer
// values, band advance 1 every 25.
constexpr const char* kAirRifle = "23,3,1,1,25";

class LaneSettingsDialogTest : public bvtest::DialogRangeTest {
protected:
    // Every card image as kInitial, no row marked.
    void ResetCards()
    {
        for (int lane = 1; lane <= 100; ++lane) {
            CardRecord& c = Lane(lane).card;
            c.targetType = 0;
            c.sensitivity = 1;
            c.valueSystem = 0;
            c.band1 = 150;
            c.band2 = 10;
            Lane(lane).rowMark = 0;
        }
    }
    std::unique_ptr<CDlgDefLane> Open()
    {
        auto d = std::make_unique<CDlgDefLane>(Frame().Objects(), Frame().Window());
        EXPECT_TRUE(d->Create());
        d->resize(640, 360);
        Activate(d.get());
        dlg = d.get();
        return d;
    }
    CGridList& Grid() { return dlg->Grid(); }
    std::string Cell(int row, int column) { return Grid().GetItemText(row, column); }

    // Picks the choice of a code in a cell's choice list with the arrow keys.
    void Choose(int row, int column, int code)
    {
        int wanted = Grid().Column(column)->FindCode(code);
        ASSERT_GE(wanted, 0) << "code " << code;
        QWidget* editor = OpenEditor(Grid(), row, column);
        ASSERT_NE(editor, nullptr);
        auto* combo = dynamic_cast<CGridComboCore*>(Grid().Editor());
        ASSERT_NE(combo, nullptr);
        QTest::keyClick(editor, Qt::Key_Down);  // opens the list
        ASSERT_TRUE(combo->Dropped());
        for (int guard = 0; combo->ListSelection() != wanted && guard < 200; ++guard) {
            int away = wanted - combo->ListSelection();
            if (away >= CGridComboCore::kPage || away <= -CGridComboCore::kPage)
                QTest::keyClick(editor, away > 0 ? Qt::Key_PageDown : Qt::Key_PageUp);
            else
                QTest::keyClick(editor, away > 0 ? Qt::Key_Down : Qt::Key_Up);
        }
        ASSERT_EQ(combo->ListSelection(), wanted);
        Enter(Grid(), editor);
        EXPECT_EQ(Grid().EditorWindow(), nullptr);
    }
    void Type(int row, int column, const std::string& text) { TypeInto(Grid(), row, column, text); }
    void Select(int row)
    {
        Grid().m_currentRow = static_cast<int16_t>(row);
        Grid().SelectRow(row, 1);
    }

    // Lanes whose card is not kInitial, with their settings; lanes marked.
    std::map<int, std::string> ChangedCards()
    {
        std::map<int, std::string> changed;
        for (int lane = 1; lane <= 100; ++lane)
            if (Settings(Lane(lane).card) != kInitial)
                changed[lane] = Settings(Lane(lane).card);
        return changed;
    }
    std::vector<int> MarkedRows()
    {
        std::vector<int> marked;
        for (int lane = 1; lane <= 100; ++lane)
            if (Lane(lane).rowMark)
                marked.push_back(lane);
        return marked;
    }

    CDlgDefLane* dlg = nullptr;
};

// Every lane but the one enabled without a channel.
std::map<int, std::string> AllButNoChannel(const std::string& settings)
{
    std::map<int, std::string> m;
    for (int lane = 1; lane <= 100; ++lane)
        if (lane != 9)
            m[lane] = settings;
    return m;
}

TEST_F(LaneSettingsDialogTest, EditsCopiesAndOk)
{
    StartRange();
    struct Case {
        const char* name;
        std::function<void()> act;
        const char* defaults;                // the range's defaults for new lanes afterwards
        std::map<int, std::string> stored;   // cards OK writes
        std::vector<std::string> questions;  // asked while acting
    };
    const Case cases[] = {
        {"a new type brings its own sensitivity, band advance and value system",
         [&] {
             Choose(1, D::kColType, 23);
             EXPECT_EQ(Cell(1, D::kColGauge), " 4.50mm");
             EXPECT_EQ(Cell(1, D::kColSensitivity), "Air");
             EXPECT_EQ(Cell(1, D::kColValueSystem), "Integer");
         },
         kAirRifle, {{2, kAirRifle}}, {}},
        {"the same type again changes nothing", [&] { Choose(2, D::kColType, 0); }, kInitial, {}, {}},
        {"a sensitivity keeps the value system; type 29's gauge changes by series",
         [&] {
             Choose(2, D::kColType, 29);
             EXPECT_EQ(Cell(2, D::kColGauge), "Auto");
             Choose(2, D::kColValueSystem, 3);
             Choose(2, D::kColSensitivity, 1);
             EXPECT_EQ(Cell(2, D::kColLength), "10");
             Choose(2, D::kColSensitivity, 2);
             EXPECT_EQ(Cell(2, D::kColValueSystem), "Eleven");
         },
         "29,2,3,5,5", {{3, "29,2,3,5,5"}}, {}},
        {"typed length and frequency",
         [&] {
             Type(3, D::kColLength, "45");
             Type(3, D::kColFrequency, " 7 ");
             EXPECT_EQ(Cell(3, D::kColFrequency), "7");
         },
         "0,1,0,7,45", {{4, "0,1,0,7,45"}}, {}},
        {"lengths and frequencies outside a byte are refused",
         [&] {
             Type(4, D::kColLength, "256");
             Type(4, D::kColFrequency, "-1");
             EXPECT_EQ(Cell(4, D::kColLength), "10");
             EXPECT_EQ(Cell(4, D::kColFrequency), "150");
             Type(4, D::kColLength, "255");
         },
         "0,1,0,150,255", {{5, "0,1,0,150,255"}}, {"Beep 0", "Beep 0"}},
        {"copy to next walks down the rows",
         [&] {
             Choose(0, D::kColType, 23);
             Select(0);
             dlg->item(D::IDC_NEXT).click();
             EXPECT_EQ(Grid().GetSelectedItem(), 1);
             dlg->item(D::IDC_NEXT).click();
             EXPECT_EQ(Grid().GetSelectedItem(), 2);
         },
         kAirRifle, {{1, kAirRifle}, {2, kAirRifle}, {3, kAirRifle}}, {}},
        {"copy to next on the last row: lane 7 is not active",
         [&] {
             Type(5, D::kColFrequency, "9");
             Select(5);
             dlg->item(D::IDC_NEXT).click();
             EXPECT_EQ(Grid().GetSelectedItem(), 5);
         },
         "0,1,0,9,10", {{6, "0,1,0,9,10"}}, {}},
        {"copy to all reaches the lanes not listed, but not the one without a channel",
         [&] {
             Choose(0, D::kColType, 23);
             Select(0);
             dlg->item(D::IDC_ALL).click();
             EXPECT_EQ(Cell(5, D::kColType), Cell(0, D::kColType));
         },
         kAirRifle, AllButNoChannel(kAirRifle), {}},
        {"no lane chosen for a copy",
         [&] {
             Grid().SelectRow(-1, 0);
             prompter.AnswerMessage(IDOK).AnswerMessage(IDOK);
             dlg->item(D::IDC_NEXT).click();
             dlg->item(D::IDC_ALL).click();
         },
         nullptr, {},
         {"Message Question Ok default 0 [] Select a lane first -> 1",
          "Message Question Ok default 0 [] Select a lane first -> 1"}},
    };
    std::string defaults = "-,-,-,-,-";  // none written yet
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetCards();
        prompter.Clear();
        auto d = Open();
        c.act();
        EXPECT_EQ(prompter.Log(), c.questions);
        // Nothing reaches the cards before OK; the defaults follow each edit.
        EXPECT_EQ(ChangedCards(), (std::map<int, std::string>{}));
        EXPECT_EQ(MarkedRows(), std::vector<int>{});
        if (c.defaults)
            defaults = c.defaults;
        EXPECT_EQ(NewLaneDefaults(), defaults);

        d->item(D::IDC_OK).click();
        EXPECT_EQ(d->Result(), IDOK);
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(ChangedCards(), c.stored);
        std::vector<int> marked;
        for (const auto& [lane, settings] : c.stored)
            marked.push_back(lane);
        EXPECT_EQ(MarkedRows(), marked);
        EXPECT_EQ(NewLaneDefaults(), defaults);
    }
    // What the last edit left, as an outside tool reads it.
    EXPECT_EQ(NewLaneDefaultsByTool(), kAirRifle);
}

// Leaving without OK: a question only when something changed, and its
// answer decides; the range's defaults stay as the last edit left them.
TEST_F(LaneSettingsDialogTest, CancelAsksWhenSomethingChanged)
{
    StartRange();
    struct Case {
        const char* name;
        bool change;
        int answer;  // to the question; 0 none asked
        std::function<void(CDlgDefLane&)> leave;
        int result;
        bool byTool = false;  // the defaults also read with bvtool
    };
    auto cancel = [](CDlgDefLane& d) { d.item(D::IDC_CANCEL).click(); };
    auto escape = [](CDlgDefLane& d) { QTest::keyClick(&d, Qt::Key_Escape); };
    auto closeBox = [](CDlgDefLane& d) { d.close(); };
    const Case cases[] = {
        {"unchanged", false, 0, cancel, IDCANCEL},
        {"changed, No keeps the cards", true, platform::IDNO, cancel, IDCANCEL, true},
        {"changed, Yes stores", true, platform::IDYES, cancel, IDOK},
        {"Escape is Cancel", true, platform::IDNO, escape, IDCANCEL},
        {"the close box is Cancel", true, platform::IDYES, closeBox, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetCards();
        prompter.Clear();
        auto d = Open();
        // Lane 4's frequency; the edit that changes nothing still writes the defaults.
        Type(3, D::kColFrequency, c.change ? "12" : "150");
        if (c.answer)
            prompter.AnswerMessage(c.answer);
        Activate(d.get());
        c.leave(*d);
        EXPECT_EQ(d->Result(), c.result);
        EXPECT_FALSE(d->isVisible());
        std::vector<std::string> asked;
        if (c.answer)
            asked.push_back("Message Stop YesNo default 0 [] The changes are not stored. Store them now? -> " +
                            std::to_string(c.answer));
        EXPECT_EQ(prompter.Log(), asked);
        bool stored = c.result == IDOK && c.change;
        const std::map<int, std::string> none;
        const std::map<int, std::string> lane4 = {{4, "0,1,0,12,10"}};
        EXPECT_EQ(ChangedCards(), stored ? lane4 : none);
        EXPECT_EQ(MarkedRows(), stored ? std::vector<int>{4} : std::vector<int>{});
        EXPECT_EQ(NewLaneDefaults(), c.change ? "0,1,0,12,10" : kInitial);
        if (c.byTool)
            EXPECT_EQ(NewLaneDefaultsByTool(), "0,1,0,12,10");
    }
}

// Without an open competition there are no cards to show, and OK and
// Cancel store nothing (the rows were never loaded, so they would zero
// every card).
TEST_F(LaneSettingsDialogTest, WithoutACompetitionTheListIsEmptyAndNothingIsStored)
{
    StartRange();
    ResetCards();
    Frame().Objects().comp.Close();
    ASSERT_EQ(Frame().Objects().CompetitionNumber(), -1);
    for (int button : {D::IDC_OK, D::IDC_CANCEL}) {
        auto d = Open();
        EXPECT_EQ(Grid().GetItemCount(), 0);
        EXPECT_EQ(Grid().GetColumnCount(), D::kColumns);
        d->item(D::IDC_ALL).click();
        d->item(button).click();
        EXPECT_EQ(d->Result(), button == D::IDC_OK ? IDOK : IDCANCEL);
        EXPECT_EQ(ChangedCards(), (std::map<int, std::string>{}));
        EXPECT_EQ(MarkedRows(), std::vector<int>{});
    }
    // Only the copy without a lane asked anything.
    EXPECT_EQ(prompter.Questions().size(), 2u);
}

TEST_F(LaneSettingsDialogTest, ColumnsAndChoiceLists)
{
    StartRange();
    ResetCards();
    auto d = Open();
    ASSERT_EQ(Grid().GetItemCount(), 6);
    EXPECT_EQ(Grid().GetItemData(5), 6);
    const char* headers[] = {"Lane", "Target type", "Value system", "Gauge", "Sensitivity", "Length", "Freq."};
    const int widths[] = {50, 150, 100, 60, 80, 60, 60};
    const int kinds[] = {0, GRID_CHOICE, GRID_CHOICE, GRID_FIXED, GRID_CHOICE, GRID_TEXT, GRID_TEXT};
    for (int c = 0; c < D::kColumns; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(Grid().GetColumnHeader(c), headers[c]);
        EXPECT_EQ(Grid().GetColumnWidth(c), widths[c]);
        EXPECT_EQ(Grid().GetColumnType(c), kinds[c]);
    }
    EXPECT_EQ(Grid().m_firstColumn, D::kColType);
    EXPECT_EQ(Grid().LastColumn(0), D::kColFrequency);
    // The value systems in order; the sensitivities from 1 (0 is shown, not offered).
    CGridColumn& values = *Grid().Column(D::kColValueSystem);
    ASSERT_EQ(values.m_choiceCount, 7);
    EXPECT_EQ(values.ChoiceText(0), "DFS");
    EXPECT_EQ(values.ChoiceText(6), "Hundredths");
    CGridColumn& sensitivities = *Grid().Column(D::kColSensitivity);
    ASSERT_EQ(sensitivities.m_choiceCount, 4);
    EXPECT_EQ(sensitivities.m_codes[0], 1);
    EXPECT_EQ(sensitivities.ChoiceText(3), "Extra fine");
    // The types by group, each with its name; only the text shows in the list.
    CGridColumn& types = *Grid().Column(D::kColType);
    EXPECT_GT(types.m_choiceCount, 20);
    EXPECT_EQ(types.ChoiceText(types.FindCode(23)), Frame().Objects().targetTypes.GetName(23));
    EXPECT_EQ(std::vector<int>(types.m_listWidths, types.m_listWidths + 4), (std::vector<int>{0, 150, 0, 0}));
    // A row as it shows.
    EXPECT_EQ(Cell(0, D::kColLane), "1");
    EXPECT_EQ(Cell(0, D::kColValueSystem), "DFS");
    EXPECT_EQ(Cell(0, D::kColSensitivity), "Full bore");
    EXPECT_EQ(Cell(0, D::kColLength), "10");
    EXPECT_EQ(Cell(0, D::kColFrequency), "150");
    // The choice list opens on the lane's own type.
    QWidget* editor = OpenEditor(Grid(), 0, D::kColType);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(types.m_currentChoice, types.FindCode(0));
    QTest::keyClick(editor, Qt::Key_Escape);
    d->item(D::IDC_CANCEL).click();
    EXPECT_EQ(d->Result(), IDCANCEL);
    EXPECT_TRUE(prompter.Questions().empty());
}

TEST_F(LaneSettingsDialogTest, HelpForTheDialogAndItsControls)
{
    StartRange();
    auto d = Open();
    d->setFocus();
    QTest::keyClick(d.get(), Qt::Key_F1);
    for (int id : {D::IDC_ALL, D::IDC_OK}) {
        QWidget* control = d->item(id).widget();
        control->setFocus();
        QTest::keyClick(control, Qt::Key_F1, Qt::ShiftModifier);
    }
    EXPECT_EQ(help.requests, (bvtest::HelpLog{{135, 2}, {D::IDC_ALL, 3}, {D::IDC_OK, 3}}));
}

// The lane settings with a type's choice list open, for the docs.
TEST_F(LaneSettingsDialogTest, Screenshot)
{
    StartRange();
    ResetCards();
    auto d = Open();
    Choose(1, D::kColType, 23);
    Choose(2, D::kColType, 29);
    Type(4, D::kColFrequency, "60");
    Select(3);
    QWidget* editor = OpenEditor(Grid(), 3, D::kColType);
    ASSERT_NE(editor, nullptr);
    auto* combo = dynamic_cast<CGridCombo*>(editor);
    ASSERT_NE(combo, nullptr);
    QTest::keyClick(editor, Qt::Key_Down);
    QTest::keyClick(editor, Qt::Key_Down);
    QCoreApplication::processEvents();
    QImage shot = d->grab().toImage();
    CGridComboList* list = combo->List();
    ASSERT_TRUE(list->isVisible());
    // The list is a window of its own; put it where it shows on the screen.
    QPainter painter(&shot);
    painter.drawPixmap(d->mapFromGlobal(list->pos()), list->grab());
    painter.end();
    std::filesystem::create_directories(BV_BINARY_DIR "/screens");
    ASSERT_TRUE(shot.save(BV_BINARY_DIR "/screens/lane-settings.png", "PNG"));
    QTest::keyClick(editor, Qt::Key_Escape);
}

}  // namespace
