// The shooting program editor driven by control id as the range officer
// drives it: who may edit which programs, every button and cell edit with
// the keys it writes (read back with bvtool from Program.BVC and
// Program2.BVC), renaming sub-sums and classes through the header, export
// and import through the buttons, help and the screen.
#include "GridDriver.h"
#include "ModalDriver.h"
#include "ProgramFiles.h"
#include "SetupFixture.h"

#include "foundation/files/ConfigItem.h"
#include "foundation/settings/RangeSettings.h"
#include "range/setup/ProgramEdits.h"
#include "range/ui/dialogs/DlgInput.h"
#include "range/ui/setup/DlgProgram.h"

#include <QHeaderView>

namespace program_editor_test {

using D = CDlgProgram;
using platform::IDNO;
using platform::IDOK;
using platform::IDYES;
namespace PE = ProgramEdits;

// Organisation filter entries: private, ..., NSF (code 2).
constexpr int kPrivate = 0;
constexpr int kNsf = 2;

std::string Message(const char* icon, const char* buttons, const std::string& text, int answer)
{
    return std::string("Message ") + icon + " " + buttons + " default 0 [] " + text + " -> " + std::to_string(answer);
}
// A stop message, which the script lets pass with OK.
std::string Stop(const std::string& text) { return Message("Stop", "Ok", text, IDOK) + " (unanswered)"; }

const std::string kNoEdit = "You may not change these programs.";
const std::string kNoSelection = "Select a program first.";

class ProgramEditorTest : public bvtest::SetupTest {
protected:
    void SetUp() override
    {
        SetupTest::SetUp();
        bvtest::WriteProgram(bvtest::TurningProgram());
        bvtest::WriteProgram(bvtest::PlainProgram());
        // Program 100 of NSF: the range's own although it lies among the
        // organisations' programs. It fills Program.BVC's last slot.
        bvtest::ProgramKeys hundred;
        hundred.number = 100;
        hundred.name = "Hundred";
        hundred.organisation = kNsf;
        hundred.series = {{"Only", 3}};
        bvtest::WriteProgram(hundred);
    }

    std::unique_ptr<D> Open()
    {
        auto d = std::make_unique<D>(Range());
        EXPECT_TRUE(d->Create());
        d->resize(760, 520);
        d->show();
        QCoreApplication::processEvents();
        dlg = d.get();
        return d;
    }
    void Filter(int code)
    {
        platform::Control org = dlg->item(D::IDC_ORG);
        org.choose(org.findItemData(code));
    }
    void Tab(int tab) { dlg->item(D::IDC_TABS).choose(tab); }
    void SelectProgram(int row)
    {
        dlg->Programs().m_currentRow = static_cast<int16_t>(row);
        dlg->Programs().SelectRow(row, 1);
    }
    std::vector<int> Listed()
    {
        std::vector<int> out;
        for (int r = 0; r < dlg->Programs().GetItemCount(); ++r)
            out.push_back(static_cast<int>(dlg->Programs().GetItemData(r)));
        return out;
    }
    std::string ProgramCell(int row, int column) { return dlg->Programs().GetItemText(row, column); }
    std::string SerieCell(int row, int column) { return dlg->Series().GetItemText(row, column); }
    void Click(int id) { dlg->item(id).click(); }
    // An item as another program reads it at once (bvtool reads the
    // decisive ones; each of its runs takes a while).
    static std::string Item(const std::string& file, int section, int index, int key)
    {
        CBVConfig reader;
        reader.Open(".\\" + file, 0);
        return reader.ReadString(section, index, key, kNoItem);
    }
    // The program as bvtool shows it.
    static std::string Prog(int n)
    {
        return bvtest::RunCommand(std::string("'") + BV_BINARY_DIR + "/tools/bvtool/bvtool' prog . " +
                                  std::to_string(n) + " 2>&1");
    }
    // The header of a series grid column clicked with the mouse.
    void ClickHeader(int column)
    {
        auto* header = dlg->Series().findChild<QHeaderView*>();
        ASSERT_NE(header, nullptr);
        QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    D* dlg = nullptr;
};

TEST_F(ProgramEditorTest, TheEditRightByFilterAndAdminCode)
{
    struct Case {
        const char* name;
        int filter;
        const char* code;  // typed before the filter is chosen
        bool maker;        // the maker's own range
        std::vector<int> listed;
        bool right;
    };
    const Case cases[] = {
        {"private programs: always", kPrivate, "", false, {101}, true},
        {"an organisation's without the code", kNsf, "", false, {5, 100}, false},
        {"a wrong code", kNsf, "QIV408", false, {5, 100}, false},
        {"with the admin code", kNsf, "qiv408", false, {5, 100}, true},
        {"on the maker's range", kNsf, "", true, {5, 100}, true},
        {"another organisation has none here", 3, "qiv408", false, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteItem(Range(), RangeItems::kUserName, c.maker ? "Brevandi a.s" : "Skytterlag");
        WriteItem(Range(), RangeItems::kSponsor1, c.maker ? "Kontrollveien" : "");
        prompter.Clear();
        auto d = Open();
        EXPECT_EQ(d->Caption(), "Shooting programs");
        EXPECT_EQ(Listed(), std::vector<int>{101});
        d->item(D::IDC_ADMIN).setText(c.code);
        // The code counts from the next fill of the list.
        Filter(c.filter);
        EXPECT_EQ(Listed(), c.listed);
        EXPECT_EQ(d->EditRight(), c.right);
        for (int r = 0; r < d->Programs().GetItemCount(); ++r)
            EXPECT_EQ(d->Programs().LastColumn(r), c.right ? PE::kColEquipment : 0);
        EXPECT_EQ(d->Programs().m_firstColumn, c.right ? 0 : 5);
        if (!c.right) {
            // Every changing button refuses; nothing is asked beyond that.
            for (int id : {D::IDC_NEWPROG, D::IDC_DELPROG, D::IDC_IMPORT, D::IDC_NEWSERIE, D::IDC_DELSERIE})
                Click(id);
            EXPECT_EQ(prompter.Log(), std::vector<std::string>(5, Stop(kNoEdit)));
        }
        d->item(D::IDC_OK).click();
        EXPECT_EQ(d->Result(), IDOK);
    }
}

TEST_F(ProgramEditorTest, SeriesOfProgramHundredAreTheRangesOwn)
{
    auto d = Open();
    Filter(kNsf);
    ASSERT_EQ(Listed(), (std::vector<int>{5, 100}));
    EXPECT_FALSE(d->EditRight());
    // Program 5: nothing can be edited.
    SelectProgram(0);
    ASSERT_EQ(d->Series().GetItemCount(), 2);
    EXPECT_EQ(d->Series().LastColumn(0), 0);
    EXPECT_EQ(d->Series().m_firstColumn, 10);
    EXPECT_EQ(bvtest::OpenGridEditor(d->Series(), 0, PE::kColShots), nullptr);
    // Program 100: its series can, its row cannot.
    SelectProgram(1);
    ASSERT_EQ(d->Series().GetItemCount(), 1);
    EXPECT_EQ(d->Series().m_firstColumn, PE::kColSerieName);
    bvtest::TypeIntoGrid(d->Series(), 0, PE::kColShots, "12");
    EXPECT_EQ(SerieCell(0, PE::kColShots), "12");
    EXPECT_EQ(Cfg("Program.BVC", 25, 100, 2), "12");
    EXPECT_EQ(bvtest::OpenGridEditor(d->Programs(), 1, PE::kColName), nullptr);
    // A full Program.BVC takes no new program, even with the code.
    d->item(D::IDC_ADMIN).setText("qiv408");
    Filter(kNsf);
    ASSERT_TRUE(d->EditRight());
    Click(D::IDC_NEWPROG);
    EXPECT_EQ(prompter.Log(),
              std::vector<std::string>{Stop("The program file already holds 100 programs. Delete one first.")});
    EXPECT_EQ(Cfg("Program.BVC", 29, 1, 530), "100");
    EXPECT_EQ(Cfg("Program2.BVC", 29, 1, 530), "1");
}

TEST_F(ProgramEditorTest, CellEditsWriteTheirKeys)
{
    auto d = Open();
    ASSERT_EQ(Listed(), std::vector<int>{101});
    SelectProgram(0);
    CGridList& p = d->Programs();
    CGridList& s = d->Series();
    EXPECT_EQ(ProgramCell(0, PE::kColCommand), "12.5");
    EXPECT_EQ(ProgramCell(0, PE::kColEquipment), "Turning targets");

    bvtest::TypeIntoGrid(p, 0, PE::kColName, "  Felt 30m ");
    bvtest::TypeIntoGrid(p, 0, PE::kColSize, "8");
    bvtest::TypeIntoGrid(p, 0, PE::kColCommand, "7.5");
    bvtest::ChooseInGrid(p, 0, PE::kColEquipment, 129);
    EXPECT_EQ(ProgramCell(0, PE::kColName), "Felt 30m");
    EXPECT_EQ(ProgramCell(0, PE::kColCommand), "7.5");
    EXPECT_EQ(ProgramCell(0, PE::kColEquipment), "Turning targets, by time");

    // Tab 0 of a turning-target program: the timing and the target.
    ASSERT_EQ(s.GetColumnCount(), 10);
    EXPECT_EQ(s.GetColumnHeader(PE::kColDelay), "Delay");
    EXPECT_EQ(SerieCell(0, PE::kColTimer), "");
    EXPECT_EQ(SerieCell(1, PE::kColTimer), "15.0");
    bvtest::TypeIntoGrid(s, 1, PE::kColDelay, "3.5");
    EXPECT_EQ(SerieCell(1, PE::kColDelay), "3");
    bvtest::TypeIntoGrid(s, 0, PE::kColTimer, "12.5");
    EXPECT_EQ(SerieCell(0, PE::kColTimer), "12.5");
    bvtest::TypeIntoGrid(s, 1, PE::kColTimer, " ,. ");
    EXPECT_EQ(SerieCell(1, PE::kColTimer), "");
    bvtest::TypeIntoGrid(s, 1, PE::kColGreen, "4.5");
    bvtest::TypeIntoGrid(s, 1, PE::kColRepeat, "3");
    bvtest::ChooseInGrid(s, 2, PE::kColTarget, 2);
    bvtest::ChooseInGrid(s, 2, PE::kColMark, 2);
    bvtest::TypeIntoGrid(s, 2, PE::kColSerieName, "Finale");
    bvtest::TypeIntoGrid(s, 2, PE::kColShots, "6");
    EXPECT_EQ(SerieCell(2, PE::kColTarget), "Target 2");
    EXPECT_EQ(SerieCell(2, PE::kColMark), "Blocked");

    // Tab 1: sub-sum membership; tab 2: class values; tab 3: exchange numbers.
    Tab(PE::kTabSubSums);
    ASSERT_EQ(s.GetColumnCount(), 6);
    EXPECT_EQ(s.GetColumnHeader(4), "Grunn");
    EXPECT_EQ(SerieCell(2, 5), "1");
    bvtest::TypeIntoGrid(s, 2, 4, "1");
    bvtest::TypeIntoGrid(s, 0, 4, "");
    Tab(PE::kTabClasses);
    ASSERT_EQ(s.GetColumnCount(), 5);
    EXPECT_EQ(SerieCell(0, 4), "3 - lifts 1 and 2");
    bvtest::ChooseInGrid(s, 1, 4, 5);
    Tab(PE::kTabExchange);
    ASSERT_EQ(s.GetColumnCount(), 5);
    EXPECT_EQ(s.GetColumnHeader(4), "Exch. no.");
    bvtest::TypeIntoGrid(s, 0, 4, "9");
    EXPECT_TRUE(prompter.Log().empty());

    EXPECT_EQ(CfgItems("Program2.BVC", {{29, 1, 500}, {29, 1, 550}, {29, 1, 520}, {29, 1, 1}, {26, 1, 2}, {26, 1, 3},
                                        {33, 1, 4}, {28, 1, 4}, {8, 1, 4}, {34, 1, 2}, {500, 1, 2}, {12, 1, 2}}),
              (std::vector<std::string>{"Felt 30m", "8", "75", "129", "125;30;35;70;1;", "X;35;45;70;3;", "2", "2",
                                        "Finale", " !!                 ", "#%'                 ", "9"}));
    EXPECT_EQ(Prog(101),
              "Program: 101\nName: Felt 30m\nEquipment: 129\nCommand: 75\nOrganisation: 0\nSize: 8\nSeries: 3\n"
              "  1: Pr\xC3\xB8ve; shots 5; mark 0; target 0; exchange 9; timer 125; delay 30; green 35; red 70; rep 1\n"
              "  2: Presisjon; shots 10; mark 1; target 1; exchange 2; timer none; delay 35; green 45; red 70; rep 3\n"
              "  3: Finale; shots 6; mark 2; target 2; exchange 3; timer none; delay 0; green 0; red 0; rep 0\n"
              "Classes: 1\n  1: Senior; series 3 5 7\n"
              "Sub-sums: 2\n  1: Grunn; series 0 1 1\n  2: Finale; series 0 0 1\n");
    // The command typed as 12.5 is stored as 125 and shows so.
    bvtest::TypeIntoGrid(p, 0, PE::kColCommand, "12.5");
    EXPECT_EQ(Cfg("Program2.BVC", 29, 1, 520), "125");
    EXPECT_EQ(ProgramCell(0, PE::kColCommand), "12.5");
    // A program for other equipment has the timer alone.
    bvtest::ChooseInGrid(p, 0, PE::kColEquipment, 0);
    Tab(PE::kTabBasic);
    EXPECT_EQ(s.GetColumnCount(), 5);
    EXPECT_EQ(ProgramCell(0, PE::kColEquipment), "");
}

TEST_F(ProgramEditorTest, SeriesAndColumnButtons)
{
    auto d = Open();
    SelectProgram(0);
    CGridList& s = d->Series();
    bvtest::TypeIntoGrid(s, 2, PE::kColSerieName, "Last");
    // The last series goes and comes back: named afresh, its other keys kept.
    Click(D::IDC_DELSERIE);
    EXPECT_EQ(s.GetItemCount(), 2);
    EXPECT_EQ(Item("Program2.BVC", 29, 1, 531), "2");
    EXPECT_EQ(Item("Program2.BVC", 8, 1, 4), "Last");
    Click(D::IDC_NEWSERIE);
    ASSERT_EQ(s.GetItemCount(), 3);
    EXPECT_EQ(SerieCell(2, PE::kColSerieName), "Serie 3");
    EXPECT_EQ(SerieCell(2, PE::kColShots), "5");
    EXPECT_EQ(CfgItems("Program2.BVC", {{29, 1, 531}, {8, 1, 4}, {25, 1, 4}}),
              (std::vector<std::string>{"3", "Serie 3", "5"}));
    // Up to 28 series, then the officer is told.
    for (int i = 3; i < 28; ++i)
        Click(D::IDC_NEWSERIE);
    EXPECT_EQ(s.GetItemCount(), 28);
    EXPECT_TRUE(prompter.Log().empty());
    Click(D::IDC_NEWSERIE);
    EXPECT_EQ(prompter.Log(), std::vector<std::string>{Stop("A program has at most 28 series.")});
    EXPECT_EQ(Item("Program2.BVC", 29, 1, 531), "28");

    // The column buttons serve the sub-sum and class tabs only.
    EXPECT_FALSE(d->item(D::IDC_NEWCOLUMN).visible());
    Tab(PE::kTabSubSums);
    EXPECT_TRUE(d->item(D::IDC_NEWCOLUMN).visible());
    EXPECT_EQ(d->item(D::IDC_NEWCOLUMN).text(), "New sub-sum");
    Click(D::IDC_NEWCOLUMN);
    EXPECT_EQ(s.GetColumnCount(), 7);
    EXPECT_EQ(s.GetColumnHeader(6), "Sum3");
    EXPECT_EQ(Item("Program2.BVC", 29, 1, 533), "3");
    EXPECT_EQ(Item("Program2.BVC", 9, 1, 4), "Sum3");
    EXPECT_EQ(Item("Program2.BVC", 34, 1, 4), "                    ");
    // Ten at most, silently.
    for (int i = 0; i < 9; ++i)
        Click(D::IDC_NEWCOLUMN);
    EXPECT_EQ(Item("Program2.BVC", 29, 1, 533), "10");
    EXPECT_EQ(s.GetColumnCount(), 14);
    Click(D::IDC_DELCOLUMN);
    EXPECT_EQ(Item("Program2.BVC", 29, 1, 533), "9");
    Tab(PE::kTabClasses);
    EXPECT_EQ(d->item(D::IDC_DELCOLUMN).text(), "Delete class");
    Click(D::IDC_NEWCOLUMN);
    EXPECT_EQ(s.GetColumnHeader(5), "2");
    EXPECT_EQ(CfgItems("Program2.BVC", {{29, 1, 532}, {6, 1, 3}, {501, 1, 3}, {528, 1, 3}, {500, 1, 3}}),
              (std::vector<std::string>{"2", "2", "", "", kNoItem}));
    Click(D::IDC_DELCOLUMN);
    Click(D::IDC_DELCOLUMN);
    Click(D::IDC_DELCOLUMN);
    EXPECT_EQ(Cfg("Program2.BVC", 29, 1, 532), "0");
    EXPECT_EQ(s.GetColumnCount(), 4);
    Tab(PE::kTabExchange);
    EXPECT_FALSE(d->item(D::IDC_DELCOLUMN).visible());
    EXPECT_EQ(prompter.Log().size(), 1u);
}

TEST_F(ProgramEditorTest, HeaderClickRenamesSubSumsAndClasses)
{
    auto d = Open();
    SelectProgram(0);
    bvtest::ModalDriver modal;
    auto answer = [](const std::string& text) {
        return [text](platform::Dialog& input) {
            EXPECT_EQ(input.item(CDlgInput::IDC_PROMPT).text().substr(0, 8), "Name of ");
            input.item(CDlgInput::IDC_TEXT).setText(text);
            input.item(CDlgInput::IDC_OK).click();
        };
    };
    Tab(PE::kTabSubSums);
    modal.Next(CDlgInput::IDD, [](platform::Dialog& input) {
        EXPECT_EQ(input.item(CDlgInput::IDC_PROMPT).text(), "Name of the sub-sum:");
        EXPECT_EQ(input.item(CDlgInput::IDC_TEXT).text(), "Finale");
        input.item(CDlgInput::IDC_TEXT).setText("Final");
        input.item(CDlgInput::IDC_OK).click();
    });
    ClickHeader(5);
    EXPECT_EQ(d->Series().GetColumnHeader(5), "Final");
    // A click on a fixed column, and a cancelled rename, change nothing.
    ClickHeader(2);
    modal.Cancel(CDlgInput::IDD);
    ClickHeader(4);
    Tab(PE::kTabClasses);
    modal.Next(CDlgInput::IDD, answer("Veteran"));
    ClickHeader(4);
    EXPECT_TRUE(modal.Done());
    EXPECT_EQ(modal.Seen().size(), 3u);
    EXPECT_EQ(d->Series().GetColumnHeader(4), "Veteran");
    EXPECT_EQ(CfgItems("Program2.BVC", {{9, 1, 3}, {9, 1, 2}, {6, 1, 2}}),
              (std::vector<std::string>{"Final", "Grunn", "Veteran"}));
    // Without the edit right the headers rename nothing.
    Filter(kNsf);
    SelectProgram(1);
    Tab(PE::kTabSubSums);
    ClickHeader(3);
    EXPECT_EQ(modal.Seen().size(), 3u);
}

TEST_F(ProgramEditorTest, ProgramButtonsExportAndImport)
{
    auto d = Open();
    // Nothing selected: delete and export ask for a program.
    d->Programs().SelectRow(-1, 0);
    Click(D::IDC_DELPROG);
    Click(D::IDC_EXPORT);
    EXPECT_EQ(prompter.Log(), std::vector<std::string>(2, Stop(kNoSelection)));
    EXPECT_FALSE(bvtest::TempFolder::Read("ProgExport.ini").size());

    // A new private program takes the next slot of Program2.BVC.
    Click(D::IDC_NEWPROG);
    EXPECT_EQ(Listed(), (std::vector<int>{101, 102}));
    EXPECT_EQ(CfgItems("Program2.BVC", {{29, 1, 530}, {29, 2, 500}, {29, 2, 690}}),
              (std::vector<std::string>{"2", "Program 2", "0"}));
    // Exported, imported (Yes) and imported again: the file was emptied.
    SelectProgram(0);
    Click(D::IDC_EXPORT);
    EXPECT_NE(bvtest::TempFolder::Read("ProgExport.ini").find("Name=Felt 25m"), std::string::npos);
    prompter.Clear();
    prompter.AnswerMessage(IDNO).AnswerMessage(IDYES);
    Click(D::IDC_IMPORT);
    EXPECT_EQ(Listed(), (std::vector<int>{101, 102}));
    Click(D::IDC_IMPORT);
    EXPECT_EQ(Listed(), (std::vector<int>{101, 102, 103}));
    EXPECT_EQ(d->Programs().GetItemText(2, 0), "Felt 25m");
    Click(D::IDC_IMPORT);
    const std::string question = "Import the program 'Felt 25m'";
    EXPECT_EQ(prompter.Log(), (std::vector<std::string>{Message("Question", "YesNo", question, IDNO),
                                                        Message("Question", "YesNo", question, IDYES),
                                                        Stop("ProgExport.ini holds no program to import.")}));
    // Delete: No keeps the program, Yes frees its slot.
    prompter.Clear();
    prompter.AnswerMessage(IDNO).AnswerMessage(IDYES);
    SelectProgram(1);
    Click(D::IDC_DELPROG);
    EXPECT_EQ(Listed(), (std::vector<int>{101, 102, 103}));
    Click(D::IDC_DELPROG);
    EXPECT_EQ(Listed(), (std::vector<int>{101, 103}));
    EXPECT_EQ(CfgItems("Program2.BVC", {{29, 2, 500}, {29, 1, 530}}), (std::vector<std::string>{"", "3"}));
    EXPECT_EQ(prompter.Log().size(), 2u);
}

TEST_F(ProgramEditorTest, F1AsksForTheEditorsTopicAndShowsTheScreen)
{
    bvtest::HelpInUse help;
    auto d = Open();
    SelectProgram(0);
    Tab(PE::kTabSubSums);
    d->setFocus();
    QTest::keyClick(d.get(), Qt::Key_F1);
    EXPECT_EQ(help.requests, (std::vector<std::pair<uint32_t, int>>{{137, 2}}));
    d->Series().m_currentRow = 1;
    d->Series().SelectRow(1, 0);
    SaveScreen(*d, "program-editor.png");
}

}  // namespace
