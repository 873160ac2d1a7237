// The competition choice on a range folder with competitions of every kind:
// the rows and their order, New and its number, Delete, Practice, Edit,
// Enter, help, and the picture of the screen.
#include "tests/range/setup/SetupFixture.h"

#include "ModalDriver.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/system/Clock.h"
#include "range/ui/MainFrm.h"
#include "range/ui/setup/DlgComp.h"
#include "range/ui/setup/DlgDefComp.h"

#include <QTest>

#include <cstdio>

namespace {

using platform::IDCANCEL;
using platform::IDNO;
using platform::IDOK;
using platform::IDYES;

std::string Today()
{
    platform::LocalTime t = platform::Now();
    char date[16];
    std::snprintf(date, sizeof date, "%02d.%02d.%04d", t.day, t.month, t.year);
    return date;
}

class DlgCompTest : public bvtest::SetupTest {
protected:
    void SetUp() override
    {
        SetupTest::SetUp();
        bvtest::MakeRangeFolder({});
        {
            // The open competition's settings, which a new one copies.
            CBVConfig comp;
            comp.Open(CompSettings::FileOf(".\\", 1), 1);
            WriteItem(comp, CompSettings::kPrefix, "K3");
            WriteItem(comp, CompSettings::kZoomLevel, 5);
            WriteItem(comp, CompSettings::kDistance, 50);
            WriteItem(comp, CompSettings::kLaneText, "DONE");
        }
        for (int n : {0, 8, 9, 11, 100})
            MakeCompetition("Comp" + std::to_string(n), n);
        MakeCompetition("Comp01", 101);
        MakeCompetition("Comp12345678901", 102);  // fifteen characters
        objects->settings.profile.lastComp = 7;
        ASSERT_EQ(objects->comp.Open(1, 1), 0);
        frame = std::make_unique<CMainFrame>(*objects);
    }
    void TearDown() override
    {
        frame.reset();
        SetupTest::TearDown();
    }

    static void MakeCompetition(const std::string& folder, int n)
    {
        std::filesystem::create_directory(folder);
        CBVConfig comp;
        comp.Open(".\\" + folder + "\\Comp.BVC", 1);
        WriteItem(comp, CompSettings::kName, "Number " + std::to_string(n));
    }

    std::unique_ptr<CDlgComp> Dialog()
    {
        return std::make_unique<CDlgComp>(nullptr, *objects, [this](int n) { return frame->Competitions().CreateCompetition(n); });
    }
    // Runs the dialog with the officer's doings and gives its result.
    static int Run(CDlgComp& dlg, const std::function<void()>& officer)
    {
        QTimer::singleShot(0, &dlg, officer);
        return dlg.DoModal();
    }
    static int RowOf(CDlgComp& dlg, const std::string& folder)
    {
        return dlg.item(CDlgComp::IDC_LIST).findText(folder);
    }
    static std::vector<std::string> Folders(CDlgComp& dlg)
    {
        std::vector<std::string> out;
        platform::Control list = dlg.item(CDlgComp::IDC_LIST);
        for (int row = 0; row < list.count(); ++row)
            out.push_back(list.itemText(row));
        return out;
    }

    std::unique_ptr<CMainFrame> frame;
};

TEST_F(DlgCompTest, ListsTheRangesCompetitionsTheOpenOneFirst)
{
    auto dlg = Dialog();
    EXPECT_EQ(Run(*dlg, [&] {
                  EXPECT_EQ(dlg->Caption(), "Choose competition");
                  platform::Control list = dlg->item(CDlgComp::IDC_LIST);
                  EXPECT_EQ(Folders(*dlg), (std::vector<std::string>{">Comp01", "Comp08", "Comp09", "Comp11"}));
                  EXPECT_EQ(list.itemText(0, 1), "Test 1");
                  EXPECT_EQ(list.itemText(0, 3), "Test");  // the program's name
                  EXPECT_EQ(list.itemText(0, 4), "K3");
                  EXPECT_EQ(list.itemText(3, 1), "Number 11");
                  EXPECT_EQ(list.itemData(3), 11);
                  dlg->item(CDlgComp::IDC_CANCEL).click();
              }),
              IDCANCEL);
    EXPECT_EQ(dlg->ChosenCompetition(), -1);
}

TEST_F(DlgCompTest, NewMakesTheNextFreeCompetitionAsACopyOfTheOpenOne)
{
    auto dlg = Dialog();
    EXPECT_EQ(Run(*dlg, [&] { dlg->item(CDlgComp::IDC_NEW).click(); }), IDOK);
    EXPECT_EQ(dlg->ChosenCompetition(), 10);
    EXPECT_TRUE(dlg->Created());
    EXPECT_EQ(objects->settings.profile.lastComp, 10);
    EXPECT_EQ(profile.GetInt("Context", "LastComp", 0), 10);
    // Its name and date, and what it took over from the open competition.
    EXPECT_EQ(CfgItems("Comp10/Comp.BVC",
                       {{2, 1, 500}, {2, 1, 510}, {630, 1, 620}, {2, 1, 10}, {2, 1, 5}, {2, 1, 15}, {2, 1, 20},
                        {1, 4, 530}, {1, 5, 530}}),
              (std::vector<std::string>{"Competition 10", Today(), "K3", "5", "50", "1", "DONE", "1", kNoItem}));
    EXPECT_TRUE(prompter.Questions().empty()) << testing::PrintToString(prompter.Log());
}

TEST_F(DlgCompTest, NewAfter99StartsAtOneAndAFullRangeIsRefused)
{
    objects->settings.profile.lastComp = 99;
    auto dlg = Dialog();
    EXPECT_EQ(Run(*dlg, [&] { dlg->item(CDlgComp::IDC_NEW).click(); }), IDOK);
    EXPECT_EQ(dlg->ChosenCompetition(), 2);
    EXPECT_TRUE(std::filesystem::exists("Comp2/Comp.BVC"));

    for (int n = 1; n <= 99; ++n)
        std::filesystem::create_directory("Comp" + std::to_string(n));
    prompter.AnswerMessage(IDOK);
    auto full = Dialog();
    EXPECT_EQ(Run(*full, [&] {
                  full->item(CDlgComp::IDC_NEW).click();
                  EXPECT_TRUE(full->isVisible());
                  full->item(CDlgComp::IDC_CANCEL).click();
              }),
              IDCANCEL);
    EXPECT_EQ(prompter.Log(), (std::vector<std::string>{
                                  "Message Stop Ok default 0 [] All competition numbers 1 to 99 are in use -> 1"}));
    EXPECT_EQ(objects->settings.profile.lastComp, 2);
}

// A competition that cannot be made is no choice: the officer stays, and the
// last competition made is still the one before.
TEST_F(DlgCompTest, NewThatCannotMakeItsFolderStays)
{
    bvtest::TempFolder::Write("Comp10", "a file in the way");
    prompter.AnswerMessage(IDOK);
    auto dlg = Dialog();
    EXPECT_EQ(Run(*dlg, [&] {
                  dlg->item(CDlgComp::IDC_NEW).click();
                  EXPECT_TRUE(dlg->isVisible());
                  dlg->item(CDlgComp::IDC_CANCEL).click();
              }),
              IDCANCEL);
    EXPECT_EQ(dlg->ChosenCompetition(), -1);
    EXPECT_FALSE(dlg->Created());
    EXPECT_EQ(objects->settings.profile.lastComp, 7);
    EXPECT_EQ(profile.GetInt("Context", "LastComp", 0), 0);
    EXPECT_EQ(prompter.Log(),
              (std::vector<std::string>{"Message None Ok default 0 [] Cannot create the competition -> 1"}));
}

TEST_F(DlgCompTest, DeleteRefusesTheOpenCompetitionAndRemovesAnotherAfterYes)
{
    bvtest::TempFolder::Write("Comp8/Card.BVD", "cards");
    bvtest::TempFolder::Write("Comp8/Card.BVD.undo", "side file");
    prompter.AnswerMessage(IDOK).AnswerMessage(IDOK).AnswerMessage(IDNO).AnswerMessage(IDYES);
    auto dlg = Dialog();
    Run(*dlg, [&] {
        platform::Control list = dlg->item(CDlgComp::IDC_LIST);
        dlg->item(CDlgComp::IDC_DELETE).click();  // nothing selected
        list.choose(RowOf(*dlg, ">Comp01"));
        dlg->item(CDlgComp::IDC_DELETE).click();  // the open one
        list.choose(RowOf(*dlg, "Comp08"));
        dlg->item(CDlgComp::IDC_DELETE).click();  // No
        EXPECT_TRUE(std::filesystem::exists("Comp8"));
        dlg->item(CDlgComp::IDC_DELETE).click();  // Yes
        EXPECT_EQ(Folders(*dlg), (std::vector<std::string>{">Comp01", "Comp09", "Comp11"}));
        dlg->item(CDlgComp::IDC_CANCEL).click();
    });
    EXPECT_FALSE(std::filesystem::exists("Comp8"));
    EXPECT_TRUE(std::filesystem::exists("Comp1/Comp.BVC"));
    EXPECT_EQ(prompter.Log(),
              (std::vector<std::string>{
                  "Message Stop Ok default 0 [] Select a competition in the list first -> 1",
                  "Message None Ok default 0 [] The competition is in use and cannot be deleted. Choose another "
                  "competition first. -> 1",
                  "Message None YesNo default 0 [] Delete the competition with all its cards and shots? -> 7",
                  "Message None YesNo default 0 [] Delete the competition with all its cards and shots? -> 6",
              }));
}

TEST_F(DlgCompTest, PracticeNamesThePracticeCompetitionAndOpensIt)
{
    std::filesystem::remove_all("Comp0");
    bvtest::TempFolder::Write("BVLog.ini", "[BVLog]\r\nLevel=70\r\n");
    prompter.AnswerMessage(IDYES);
    auto dlg = Dialog();
    EXPECT_EQ(Run(*dlg, [&] { dlg->item(CDlgComp::IDC_PRACTICE).click(); }), IDOK);
    EXPECT_EQ(dlg->ChosenCompetition(), 0);
    EXPECT_FALSE(dlg->Created());
    EXPECT_EQ(CfgItems("Comp0/Comp.BVC", {{2, 1, 500}, {2, 1, 510}}), (std::vector<std::string>{"Practice", Today()}));
    EXPECT_EQ(Cfg("BVLeder.bvc", 1, 1, 680), "0");
    EXPECT_EQ(objects->CompetitionNumber(), 0);
    EXPECT_NE(bvtest::TempFolder::Read("BVLog.txt").find("Can't find directory .\\Comp0 tries to create!"),
              std::string::npos);
}

TEST_F(DlgCompTest, EnterSelectsTheRowAndNeverEndsWithoutOne)
{
    prompter.AnswerMessage(IDOK);
    auto dlg = Dialog();
    EXPECT_EQ(Run(*dlg, [&] {
                  QTest::keyClick(dlg.get(), Qt::Key_Return);  // no row yet: refused
                  EXPECT_TRUE(dlg->isVisible());
                  dlg->item(CDlgComp::IDC_LIST).choose(RowOf(*dlg, "Comp09"));
                  QTest::keyClick(dlg->item(CDlgComp::IDC_LIST).widget(), Qt::Key_Return);
              }),
              IDOK);
    EXPECT_EQ(dlg->ChosenCompetition(), 9);
    EXPECT_FALSE(dlg->Created());
    EXPECT_EQ(prompter.Log(), (std::vector<std::string>{
                                  "Message Stop Ok default 0 [] Select a competition in the list first -> 1"}));
}

TEST_F(DlgCompTest, EditChangesAnyListedCompetition)
{
    bvtest::ModalDriver dialogs;
    dialogs.Next(CDlgDefComp::IDD, [](platform::Dialog& settings) {
        settings.item(CDlgDefComp::IDC_NAME).setText("Renamed");
        settings.item(CDlgDefComp::IDC_OK).click();
    });
    auto dlg = Dialog();
    Run(*dlg, [&] {
        dlg->item(CDlgComp::IDC_LIST).choose(RowOf(*dlg, "Comp11"));
        dlg->item(CDlgComp::IDC_EDIT).click();
        EXPECT_EQ(dlg->item(CDlgComp::IDC_LIST).itemText(RowOf(*dlg, "Comp11"), 1), "Renamed");
        dlg->item(CDlgComp::IDC_CANCEL).click();
    });
    EXPECT_TRUE(dialogs.Done());
    EXPECT_EQ(Cfg("Comp11/Comp.BVC", 2, 1, 500), "Renamed");
}

TEST_F(DlgCompTest, F1AsksForTheDialogsTopic)
{
    bvtest::HelpInUse help;
    auto dlg = Dialog();
    Run(*dlg, [&] {
        QTest::keyClick(dlg.get(), Qt::Key_F1);
        dlg->item(CDlgComp::IDC_CANCEL).click();
    });
    EXPECT_EQ(help.requests, (std::vector<std::pair<uint32_t, int>>{{132, 2}}));
}

TEST_F(DlgCompTest, Screenshot)
{
    const char* const rows[][4] = {
        {"8", "Club championship", "14.09.2024", "Autumn, 15 m indoor"},
        {"9", "Veterans' cup", "02.11.2024", "Two relays"},
        {"11", "Christmas shoot", "14.12.2024", "Open for all members and guests"},
    };
    for (const auto& r : rows) {
        CBVConfig comp;
        comp.Open(CompSettings::FileOf(".\\", std::atoi(r[0])), 1);
        WriteItem(comp, CompSettings::kName, r[1]);
        WriteItem(comp, CompSettings::kDate, r[2]);
        CompSettings::WriteDescription(comp, r[3]);
        WriteItem(comp, CompSettings::kProgram, 1);
    }
    auto dlg = Dialog();
    Run(*dlg, [&] {
        dlg->item(CDlgComp::IDC_LIST).choose(RowOf(*dlg, "Comp09"));
        SaveScreen(*dlg, "comp-choice.png");
        dlg->item(CDlgComp::IDC_CANCEL).click();
    });
}

}  // namespace
