// The sample dialog driven by control id, the way a screen's test drives its
// screen: typed texts, clicks, choices and prompter answers, then the members
// and the questions asked.
#include "RecordingHelp.h"
#include "QtApp.h"
#include "SampleDialog.h"

#include "platform/system/Codepage.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Help.h"
#include "platform/ui/ScriptedPrompter.h"

#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace bvtest {
namespace {

using platform::IDCANCEL;
using platform::IDNO;
using platform::IDOK;
using platform::IDYES;

class MapTextTable : public platform::TextTable {
public:
    std::map<std::string, std::string, std::less<>> texts;
    std::string GetText(std::string_view key) override
    {
        auto it = texts.find(key);
        return it == texts.end() ? std::string() : it->second;
    }
};

class SampleDialogTest : public testing::Test {
protected:
    SampleDialogTest() : scoped(prompter) { QtApp(); }
    ~SampleDialogTest() override
    {
        platform::SetTextTable(nullptr);
        platform::SetHelpService(nullptr);
    }
    // Shows a dialog as the window that has the keyboard, so focus and keys
    // go where they go for the user.
    static void Activate(QWidget* w)
    {
        w->show();
        QApplication::setActiveWindow(w);
        w->activateWindow();
        QCoreApplication::processEvents();
    }
    // Replaces an edit's text by typing, as the user does.
    static void Retype(platform::Control c, const char* text)
    {
        auto* edit = static_cast<QLineEdit*>(c.widget());
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    platform::ScriptedPrompter prompter;
    platform::ScopedPrompter scoped;
};

TEST_F(SampleDialogTest, ScriptedRunFillsTheMembersAndAsksTheExpectedQuestions)
{
    prompter.AnswerFolder("/srv/range/BV").AnswerMessage(IDYES).AnswerMessage(IDOK).AnswerMessage(IDOK);
    SampleDialog dlg;
    QTimer::singleShot(0, &dlg, [&] {
        Activate(&dlg);
        Retype(dlg.item(IDC_NAME), "kari nordmann fra alta");  // too long for the member
        Retype(dlg.item(IDC_LANE), "1x50");                      // the letter is refused
        dlg.item(IDC_CLASS).choose(1);
        dlg.item(IDC_PRINT).click();
        dlg.item(IDC_VALUE_DEC).click();
        dlg.item(IDC_BROWSE).click();
        dlg.item(IDC_CLEAR).click();
        dlg.item(IDOK).click();  // the name is too long: the dialog stays
        EXPECT_TRUE(dlg.isVisible());
        Retype(dlg.item(IDC_NAME), "kari");
        dlg.item(IDC_LANE).focus();  // leaving the name capitalises it
        QTest::keyClick(dlg.item(IDC_LANE).widget(), Qt::Key_Return);  // Enter: the lane is out of range
        EXPECT_TRUE(dlg.isVisible());
        Retype(dlg.item(IDC_LANE), "15");
        QTest::keyClick(dlg.item(IDC_LANE).widget(), Qt::Key_Return);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);

    EXPECT_EQ(dlg.m_name, "Kari");
    EXPECT_EQ(dlg.m_lane, 15);
    EXPECT_EQ(dlg.m_class, 1);
    EXPECT_EQ(dlg.m_print, 1);
    EXPECT_EQ(dlg.m_valueSystem, 1);
    EXPECT_EQ(dlg.m_folder, "/srv/range/BV");
    EXPECT_EQ(dlg.item(IDC_SERIES).count(), 0);
    EXPECT_EQ(dlg.item(IDC_STATUS).text(), "/srv/range/BV");
    EXPECT_EQ(dlg.m_classChanges, 1);
    EXPECT_GE(dlg.m_nameLeft, 1);
    EXPECT_EQ(dlg.item(IDC_PROGRESS).pos(), 15);
    EXPECT_EQ(prompter.Log(), (std::vector<std::string>{
                                  "Folder [Exchange folder] from  -> /srv/range/BV",
                                  "Message Question YesNo default 1 [] Clear the series list? -> 6",
                                  "Message Exclamation Ok default 0 [] Enter no more than 12 characters. -> 1",
                                  "Message Exclamation Ok default 0 [] Enter a whole number from 1 to 99. -> 1",
                              }));
    EXPECT_EQ(prompter.Unanswered(), 0);
    EXPECT_EQ(prompter.Pending(), 0u);
}

TEST_F(SampleDialogTest, DataExchangeRefusesBadInputWithItsMessageAndKeepsTheMember)
{
    struct Case {
        const char* name;
        const char* lane;
        bool accepted;
        const char* message;
        int focus;
    };
    const Case cases[] = {
        {"Ola", "7", true, nullptr, 0},
        {"Twelve chars", "99", true, nullptr, 0},
        {"Thirteen char", "7", false, "Enter no more than 12 characters.", IDC_NAME},
        {"Ola", "", false, "Enter a whole number.", IDC_LANE},
        {"Ola", "0", false, "Enter a whole number from 1 to 99.", IDC_LANE},
        {"Ola", "100", false, "Enter a whole number from 1 to 99.", IDC_LANE},
        // The first failure ends the pass: the lane is not looked at.
        {"Much too long a name", "0", false, "Enter no more than 12 characters.", IDC_NAME},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " / " + c.lane);
        prompter.Clear();
        SampleDialog dlg;
        dlg.Create();
        dlg.ShowWindow();
        dlg.m_lane = 42;
        dlg.item(IDC_NAME).setText(c.name);
        dlg.item(IDC_LANE).setText(c.lane);
        EXPECT_EQ(dlg.UpdateData(true), c.accepted);
        if (c.accepted) {
            EXPECT_TRUE(prompter.Questions().empty());
            EXPECT_EQ(dlg.m_name, c.name);
        } else {
            ASSERT_EQ(prompter.Questions().size(), 1u);
            EXPECT_EQ(prompter.Questions()[0].text, c.message);
            EXPECT_EQ(prompter.Questions()[0].icon, platform::MessageIcon::Exclamation);
            EXPECT_EQ(dlg.focusWidget(), dlg.item(c.focus).widget());
            if (c.focus == IDC_NAME)
                EXPECT_EQ(dlg.m_lane, 42);
        }
    }
}

TEST_F(SampleDialogTest, ProgramChangesAreQuietAndUserChangesAreTold)
{
    SampleDialog dlg;
    dlg.Create();
    Activate(&dlg);
    // Filling and selecting from the program tells nothing, as the range
    // control's screens expect while they load their fields.
    dlg.item(IDC_CLASS).setSelection(2);
    dlg.item(IDC_SERIES).setSelection(1);
    EXPECT_EQ(dlg.m_classChanges, 0);
    EXPECT_EQ(dlg.item(IDC_STATUS).text(), "");
    dlg.item(IDC_CLASS).choose(0);
    EXPECT_EQ(dlg.m_classChanges, 1);
    EXPECT_EQ(dlg.item(IDC_STATUS).text(), "Class Senior");

    // A text change is told however it came, as an edit does.
    int before = dlg.m_laneChanges;
    dlg.item(IDC_LANE).setText("3");
    EXPECT_EQ(dlg.m_laneChanges, before + 1);
    dlg.item(IDC_LANE_SPIN).setRange(1, 5);
    for (int i = 0; i < 4; ++i)
        static_cast<platform::SpinCtrl*>(dlg.item(IDC_LANE_SPIN).widget())->Step(1);
    EXPECT_EQ(dlg.item(IDC_LANE).number(), 5);  // held at the top of the range
    EXPECT_EQ(dlg.m_laneChanges, before + 3);

    // Focus lost.
    dlg.item(IDC_NAME).focus();
    dlg.item(IDC_NAME).setText("per");
    dlg.item(IDC_CLUB).focus();
    EXPECT_EQ(dlg.m_nameLeft, 1);
    EXPECT_EQ(dlg.item(IDC_NAME).text(), "Per");

    // A refused tab keeps the tab that was shown.
    dlg.item(IDC_TABS).choose(2);
    EXPECT_EQ(dlg.item(IDC_TABS).selection(), 0);
    EXPECT_EQ(dlg.m_tabRefusals, 1);
    EXPECT_EQ(dlg.m_tabChanges, 0);
    dlg.item(IDC_PRINT).click();
    dlg.item(IDC_TABS).choose(2);
    EXPECT_EQ(dlg.item(IDC_TABS).selection(), 2);
    EXPECT_EQ(dlg.m_tabChanges, 1);

    dlg.resize(900, 700);
    EXPECT_EQ(dlg.m_lastWidth, 900);
}

TEST_F(SampleDialogTest, ListsKeepItemDataThroughSortingAndChecks)
{
    SampleDialog dlg;
    dlg.Create();
    platform::Control shots = dlg.item(IDC_SHOTS);
    ASSERT_EQ(shots.count(), 4);
    shots.setItemCheck(2, true);
    // Best value first, as the card's "best shots" order does.
    shots.sortItems([](intptr_t a, intptr_t b) { return static_cast<int>(b - a); });
    std::vector<intptr_t> order;
    for (int i = 0; i < shots.count(); ++i)
        order.push_back(shots.itemData(i));
    EXPECT_EQ(order, (std::vector<intptr_t>{109, 104, 100, 98}));
    EXPECT_EQ(shots.itemText(0, 1), "10.9");
    EXPECT_TRUE(shots.itemCheck(0));  // the check went with its row
    EXPECT_FALSE(shots.itemCheck(1));
    shots.setSelected(1, true);
    shots.setSelected(3, true);
    EXPECT_EQ(shots.selectedIndexes(), (std::vector<int>{1, 3}));
    EXPECT_EQ(shots.columnCount(), 2);

    platform::Control classes = dlg.item(IDC_CLASS);
    EXPECT_EQ(classes.findItemData(12), 2);
    EXPECT_EQ(classes.findItemData(99), -1);
    EXPECT_EQ(classes.findText("Junior"), 1);

    // The club box keeps its entries sorted, Windows-1252 texts included.
    platform::Control clubs = dlg.item(IDC_CLUB);
    EXPECT_EQ(clubs.itemText(0), "Alta");
    EXPECT_EQ(clubs.itemText(2), platform::Ansi("Tromsø"));

    platform::Control tree = dlg.item(IDC_TREE);
    platform::TreeItem comp = tree.treeChild(platform::kTreeRoot, 0);
    platform::TreeItem event = tree.treeChild(comp, 0);
    ASSERT_EQ(tree.treeChildCount(event), 2);
    EXPECT_EQ(tree.treeItemData(tree.treeChild(event, 1)), 4);
    EXPECT_EQ(tree.treeItemState(tree.treeChild(event, 0)), 2);
    EXPECT_EQ(tree.treeItemState(tree.treeChild(event, 1)), 1);
    EXPECT_EQ(tree.treeItemState(event), 0);
    EXPECT_EQ(tree.treeParent(event), comp);

    // The radio group reads as an index, with -1 for none ticked.
    EXPECT_EQ(dlg.item(IDC_VALUE_INT).selection(), -1);
    dlg.item(IDC_VALUE_HIT).setCheck(1);
    EXPECT_EQ(dlg.item(IDC_VALUE_INT).selection(), 2);
    dlg.item(IDC_VALUE_INT).setSelection(-1);
    EXPECT_EQ(dlg.item(IDC_VALUE_HIT).check(), 0);

    // An edit with a limit and a multi-line edit with a limit.
    dlg.item(IDC_LANE).setText("");
    QTest::keyClicks(dlg.item(IDC_LANE).widget(), "12345");
    EXPECT_EQ(dlg.item(IDC_LANE).text(), "123");
    dlg.item(IDC_COMMENT).setText(std::string(50, 'x'));
    EXPECT_EQ(dlg.item(IDC_COMMENT).text().size(), 40u);
}

TEST_F(SampleDialogTest, TextsComeFromTheTableByKeyAndFollowALanguageChange)
{
    SampleDialog plain;
    EXPECT_EQ(plain.Caption(), "IDS_SAMPLE_TITLE");  // no table yet: the key shows
    MapTextTable table;
    table.texts = {{"IDS_SAMPLE_TITLE", "Skytter"}, {"IDS_SAMPLE_NAME", "Navn"}};
    platform::SetTextTable(&table);
    SampleDialog dlg;
    EXPECT_EQ(dlg.Caption(), "Skytter");
    EXPECT_EQ(dlg.item(IDC_LABEL_NAME).text(), "Navn");
    EXPECT_EQ(dlg.item(IDC_LABEL_LANE).text(), "");  // a key the table lacks: empty
    EXPECT_EQ(dlg.item(IDC_VALUE_INT).text(), "Integer");
    table.texts = {{"IDS_SAMPLE_TITLE", "Shooter"}, {"IDS_SAMPLE_NAME", "Name"}, {"IDS_SAMPLE_LANE", "Lane"}};
    dlg.Relabel();
    EXPECT_EQ(dlg.Caption(), "Shooter");
    EXPECT_EQ(dlg.item(IDC_LABEL_NAME).text(), "Name");
    EXPECT_EQ(dlg.item(IDC_LABEL_LANE).text(), "Lane");
}

TEST_F(SampleDialogTest, F1AsksForTheDialogsTopicAndShiftF1ForTheControls)
{
    RecordingHelp help;
    platform::SetHelpService(&help);
    SampleDialog dlg;
    dlg.Create();
    Activate(&dlg);
    dlg.item(IDC_LANE).focus();
    QTest::keyClick(dlg.item(IDC_LANE).widget(), Qt::Key_F1);
    QTest::keyClick(dlg.item(IDC_LANE).widget(), Qt::Key_F1, Qt::ShiftModifier);
    dlg.setFocus();  // no control has the focus: F1 on the dialog itself
    QTest::keyClick(&dlg, Qt::Key_F1);
    EXPECT_EQ(help.requests, (std::vector<std::pair<uint32_t, int>>{
                                 {IDD_SAMPLE, platform::HELP_WINDOW_TOPIC},
                                 {IDC_LANE, platform::HELP_CONTROL_TOPIC},
                                 {IDD_SAMPLE, platform::HELP_WINDOW_TOPIC},
                             }));
}

TEST_F(SampleDialogTest, ModelessDialogIsHiddenByOkAndLivesUntilItsOwnerDeletesIt)
{
    QWidget owner;
    auto dlg = std::make_unique<SampleDialog>(&owner);
    EXPECT_TRUE(dlg->Create());
    EXPECT_FALSE(dlg->Create());
    EXPECT_FALSE(dlg->isVisible());  // created hidden
    dlg->ShowWindow();
    EXPECT_TRUE(dlg->isVisible());
    dlg->item(IDC_NAME).setText("Ola");
    dlg->item(IDC_LANE).setText("4");
    dlg->item(IDOK).click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->Result(), IDOK);
    EXPECT_EQ(dlg->m_lane, 4);
    dlg->ShowWindow();
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->Result(), IDCANCEL);
    QPointer<QWidget> watch = dlg.get();
    dlg.reset();
    EXPECT_TRUE(watch.isNull());
    EXPECT_TRUE(owner.findChildren<SampleDialog*>().isEmpty());
}

TEST_F(SampleDialogTest, FirstSizeComesFromTheTemplatesDialogUnits)
{
    SampleDialog dlg;
    QSize units = platform::DialogUnitsToPixels(&dlg, 330, 230);
    EXPECT_GE(dlg.width(), units.width());
    EXPECT_GE(dlg.height(), units.height());
    EXPECT_GT(units.width(), 330);  // a dialog unit is more than a pixel across at any usual font
}

TEST_F(SampleDialogTest, ScreenshotOfTheSampleDialog)
{
    MapTextTable table;
    table.texts = {{"IDS_SAMPLE_TITLE", "Sample dialog"}, {"IDS_SAMPLE_SHOOTER", "Shooter"},
                   {"IDS_SAMPLE_NAME", "Name"}, {"IDS_SAMPLE_LANE", "Lane"},
                   {"IDS_SAMPLE_CLASS", "Class"}, {"IDS_SAMPLE_CLUB", "Club"},
                   {"IDS_SAMPLE_OPTIONS", "Options"}, {"IDS_SAMPLE_PRINT", "Print card"},
                   {"IDS_SAMPLE_BROWSE", "Folder..."}, {"IDS_SAMPLE_CLEAR", "Clear series"}};
    platform::SetTextTable(&table);
    SampleDialog dlg;
    dlg.Create();
    dlg.item(IDC_NAME).setText("Kari Nordmann");
    dlg.item(IDC_LANE).setText("15");
    dlg.item(IDC_CLASS).setSelection(1);
    dlg.item(IDC_CLUB).setText("Alta");
    dlg.item(IDC_COMMENT).setText("Two-line comment\nof the card");
    dlg.item(IDC_PRINT).setCheck(1);
    dlg.item(IDC_VALUE_DEC).setCheck(1);
    dlg.item(IDC_PROGRESS).setPos(15);
    dlg.item(IDC_STATUS).setText("Class Junior");
    dlg.item(IDC_SERIES).setSelection(1);
    dlg.item(IDC_SHOTS).setItemCheck(2, true);
    dlg.item(IDC_SHOTS).setSelection(2);
    dlg.ShowWindow();
    QCoreApplication::processEvents();
    QImage shot = dlg.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    std::filesystem::create_directories(BV_BINARY_DIR "/screens");
    std::string path = BV_BINARY_DIR "/screens/sample-dialog.png";
    ASSERT_TRUE(shot.save(QString::fromStdString(path), "PNG"));
    QImage back(QString::fromStdString(path));
    EXPECT_EQ(back.size(), shot.size());
}

}  // namespace
}  // namespace bvtest
