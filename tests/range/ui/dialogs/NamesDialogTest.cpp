// The names dialog on the range control's frame: names typed for the lanes
// of any relay make their cards and name records (read back with bvtool) and
// leave the lanes' active records alone; start scores in hundredths; emptied
// cells; Delete shooter and Delete relay; the relay typed in the edit; a card
// that cannot be made; lane 100; the screen.
#include "tests/range/dialogs/DialogRange.h"
#include "GridDriver.h"

#include "foundation/files/BVFileEx.h"
#include "range/ui/dialogs/DlgName.h"

#include <QImage>

#include <cstring>
#include <filesystem>
#include <memory>

namespace {

using N = CDlgName;
using Col = RelayNames::Column;

class NamesDialogTest : public bvtest::DialogRangeTest {
protected:
    std::unique_ptr<CDlgName> Open(int relay)
    {
        auto d = std::make_unique<CDlgName>(Frame().Objects(), Frame().Window());
        d->m_relayText = std::to_string(relay);
        EXPECT_TRUE(d->Create());
        d->resize(640, 300);
        Activate(d.get());
        dlg = d.get();
        return d;
    }
    CGridList& Grid() { return dlg->Grid(); }
    std::string Cell(int row, int column) { return Grid().GetItemText(row, column); }
    void Type(int row, int column, const std::string& text) { bvtest::TypeIntoGrid(Grid(), row, column, text); }
    static std::string Tool(const std::string& args)
    {
        return bvtest::RunCommand(std::string("'") + BV_BINARY_DIR + "/tools/bvtool/bvtool' " + args + " 2>&1");
    }
    // The cards of relay r: "relay lane name" per card.
    static std::string Cards() { return Tool("cards . 1"); }
    static std::string Names() { return Tool("names . 1"); }
    // Which card each lane shows, as Active.BVD holds it: "LANE RELAY CARDREC;"
    // per record (the counters and series are the frame's, which ticks
    // meanwhile).
    static std::string LanesShow()
    {
        const std::string bytes = bvtest::TempFolder::Read("Comp1/Active.BVD");
        std::string all;
        for (size_t at = 8; at + sizeof(ActiveRecord) <= bytes.size(); at += sizeof(ActiveRecord)) {
            ActiveRecord a;
            std::memcpy(&a, bytes.data() + at, sizeof a);
            all += std::to_string(a.lane) + " " + std::to_string(a.relay) + " " + std::to_string(a.cardRec) + ";";
        }
        return all;
    }

    CDlgName* dlg = nullptr;
};

TEST_F(NamesDialogTest, ANameMakesTheCardAndItsRecord)
{
    StartRange();
    // Lane 3's card of relay 1 has a shot; the lane's image points at its list.
    bvtest::TempFolder::Write("shots.txt", "1 3 1 10.5 0 0\n");
    ASSERT_EQ(Tool("shots add . 1 shots.txt"), "");
    Lane(3).card.shotRec = 1;
    const std::string lanes = LanesShow();
    EXPECT_EQ(lanes.substr(0, 36), "1 1 1;2 1 2;3 1 3;4 1 4;5 1 5;6 1 6;");
    const std::string cards = Cards();
    auto d = Open(5);
    EXPECT_EQ(d->Caption(), "Names");
    ASSERT_EQ(Grid().GetItemCount(), 6);
    EXPECT_EQ(Grid().GetColumnHeader(Col::kColStartScore), "Start score");
    EXPECT_EQ(Cell(2, Col::kColLane), "3");
    EXPECT_EQ(Cell(2, Col::kColName), "");
    // An empty cell of a lane without a name makes nothing.
    Type(2, Col::kColClub, "   ");
    EXPECT_EQ(Cards(), cards);
    EXPECT_EQ(d->Names().NameRecordOf(3), 0);

    Type(2, Col::kColName, "  Kari Nordmann ");
    Type(2, Col::kColClub, "Lier skytterlag");
    Type(2, Col::kColClass, "Junior");
    Type(2, Col::kColCategory, "K");
    Type(2, Col::kColStartScore, "98.5");
    Type(3, Col::kColStartScore, "97");
    EXPECT_EQ(Cell(2, Col::kColName), "Kari Nordmann");
    EXPECT_EQ(Cell(2, Col::kColStartScore), "98.50");
    EXPECT_EQ(Cell(3, Col::kColStartScore), "97");
    EXPECT_EQ(Cell(3, Col::kColName), "");
    EXPECT_EQ(Cell(4, Col::kColStartScore), "");
    EXPECT_TRUE(prompter.Log().empty());

    // Cards of relay 5 on lanes 3 and 4, each with its record and the lane's
    // settings but not its shots; the lanes still show the cards they showed.
    EXPECT_EQ(Cards(), cards + "    5    3    0      1     0 Kari Nordmann\n" + "    5    4    0      1     0 \n");
    EXPECT_EQ(Names(), "1\t0\t503\tKari Nordmann\tLier skytterlag\tJunior\tK\t9850\n"
                       "2\t0\t504\t\t\t\t\t9700\n");
    EXPECT_EQ(LanesShow(), lanes);

    // An emptied cell of a named lane stores the empty text.
    Type(2, Col::kColClub, "");
    EXPECT_EQ(Cell(2, Col::kColClub), "");
    EXPECT_EQ(Tool("names . 1").substr(0, 40), "1\t0\t503\tKari Nordmann\t\tJunior\tK\t9850\n2\t0");
    d->item(N::IDC_OK).click();
    EXPECT_EQ(d->Result(), platform::IDOK);
}

TEST_F(NamesDialogTest, DeleteShooterAndRelayAndAnotherRelay)
{
    StartRange();
    auto d = Open(2);
    Type(0, Col::kColName, "Ola");
    Type(1, Col::kColName, "Per");
    Type(2, Col::kColName, "Pål");
    // Another relay typed in the edit: its own (empty) names.
    d->item(N::IDC_RELAY).setText("3");
    EXPECT_EQ(Grid().GetItemCount(), 6);
    EXPECT_EQ(Cell(0, Col::kColName), "");
    Type(0, Col::kColName, "Else");
    d->item(N::IDC_RELAY).setText("2");
    EXPECT_EQ(Cell(1, Col::kColName), "Per");

    // Delete shooter needs a row.
    Grid().SelectRow(-1, 0);
    d->item(N::IDC_DELSHOOTER).click();
    EXPECT_EQ(prompter.Log(),
              std::vector<std::string>{"Message Stop Ok default 0 [] Choose a shooter first. -> 1 (unanswered)"});
    Grid().m_currentRow = 1;
    Grid().SelectRow(1, 1);
    d->item(N::IDC_DELSHOOTER).click();
    EXPECT_EQ(Cell(1, Col::kColName), "");
    EXPECT_EQ(Cell(0, Col::kColName), "Ola");
    // The card keeps its record, which is blank.
    EXPECT_EQ(d->Names().NameRecordOf(2), 2);
    // Delete relay blanks the shown relay only, without a question.
    d->item(N::IDC_DELRELAY).click();
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(Cell(row, Col::kColName), "") << row;
    EXPECT_EQ(prompter.Log().size(), 1u);
    // Blanked records are cleared whole.
    EXPECT_EQ(Names(), "1\t0\t0\t\t\t\t\t0\n"
                       "2\t0\t0\t\t\t\t\t0\n"
                       "3\t0\t0\t\t\t\t\t0\n"
                       "4\t0\t301\tElse\t\t\t\t0\n");
}

TEST_F(NamesDialogTest, ACardThatCannotBeMadeBeepsAndStoresNothing)
{
    StartRange();
    auto d = Open(7);
    const std::string cards = Cards();
    // Another program holds the card file.
    CBVFileEx holder;
    ASSERT_EQ(holder.Open(".\\Comp1\\Card.BVD", CDataComp::kCardSize, CDataComp::kCardVersion, 0, 0x82), 0);
    ASSERT_EQ(holder.CheckOpen(), 0);
    ASSERT_EQ(holder.Lock(), 0);
    Type(0, Col::kColName, "Nobody");
    holder.CheckClose(0);
    EXPECT_EQ(prompter.Log(), std::vector<std::string>{"Beep 1"});
    EXPECT_EQ(Cell(0, Col::kColName), "");
    EXPECT_EQ(Cards(), cards);
    EXPECT_EQ(Names(), "");
}

TEST_F(NamesDialogTest, LaneHundredIsEditedLikeTheOthers)
{
    StartRange();
    Lane(100).channelType = 1;
    Lane(100).enabled = 1;
    auto d = Open(4);
    ASSERT_EQ(Grid().GetItemCount(), 7);
    EXPECT_EQ(Cell(6, Col::kColLane), "100");
    Type(6, Col::kColName, "Hundre");
    EXPECT_EQ(Cell(6, Col::kColName), "Hundre");
    EXPECT_EQ(Names(), "1\t0\t500\tHundre\t\t\t\t0\n");
    Grid().m_currentRow = 6;
    Grid().SelectRow(6, 1);
    d->item(N::IDC_DELSHOOTER).click();
    EXPECT_EQ(Names(), "1\t0\t0\t\t\t\t\t0\n");
}

TEST_F(NamesDialogTest, Screenshot)
{
    StartRange();
    auto d = Open(1);
    const char* names[] = {"Kari Nordmann", "Ola Hansen", "Per Berg"};
    const char* clubs[] = {"Lier skytterlag", "Drammen skytterlag", "Sande skytterlag"};
    for (int row = 0; row < 3; ++row) {
        Type(row, Col::kColName, names[row]);
        Type(row, Col::kColClub, clubs[row]);
        Type(row, Col::kColClass, row == 0 ? "Junior" : "Senior");
        Type(row, Col::kColStartScore, row == 1 ? "98.5" : "97");
    }
    Grid().m_currentRow = 1;
    Grid().SelectRow(1, 1);
    QCoreApplication::processEvents();
    std::filesystem::create_directories(BV_BINARY_DIR "/screens");
    ASSERT_TRUE(d->grab().toImage().save(BV_BINARY_DIR "/screens/names.png", "PNG"));
}

}  // namespace
