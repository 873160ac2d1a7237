// The display's start through its select dialog: the remembered profile and
// the countdown over the start button, a start by hand, the settings when no
// profile has a name, profiles changed by another program, the exit, help,
// and the way back after an error.
#include <QAbstractItemView>
#include <QTest>
#include <QToolBar>

#include "FrameFixture.h"
#include "ModalDriver.h"
#include "RunCommand.h"
#include "foundation/ui/windows/HtmlHelp.h"

namespace bvtest {
namespace {

class SelectStartTest : public VisFrameTest {
protected:
    void SetUp() override
    {
        VisFrameTest::SetUp();
        DisplayFiles::Event(1, "Bane 1", "R1");
        Faces(1, "Skiver", 4);
    }
    static CDlgSelect& Select(platform::Dialog& d) { return static_cast<CDlgSelect&>(d); }
    static std::vector<std::string> Listed(CDlgSelect& d)
    {
        std::vector<std::string> names;
        platform::Control list = d.item(CDlgSelect::IDC_LIST);
        for (int i = 0; i < list.count(); ++i)
            names.push_back(list.itemText(i) + "=" + std::to_string(list.itemData(i)));
        return names;
    }
    static void ClickRow(CDlgSelect& d, int row)
    {
        auto* list = qobject_cast<QAbstractItemView*>(d.item(CDlgSelect::IDC_LIST).widget());
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
    ModalDriver driver;
};

TEST_F(SelectStartTest, RememberedProfileCountsDownAndStartsFullScreen)
{
    Profiles({"Morgen", "Kveld", "Finale", "Premie"}, {{1, 10}});
    profile.WriteInt("LastStart", "Profile", 3);
    std::vector<std::string> shown;
    int countWhenDone = 0;
    driver.Next(CDlgSelect::IDD, [&](platform::Dialog& dialog) {
        CDlgSelect& d = Select(dialog);
        EXPECT_EQ(Listed(d), (std::vector<std::string>{"Morgen=1", "Kveld=2", "Finale=3", "Premie=4"}));
        EXPECT_EQ(d.item(CDlgSelect::IDC_LIST).selection(), 2);
        EXPECT_TRUE(d.CountdownRunning());
        RunUntil([&] {
            const std::string text = d.CountdownText();
            if (!text.empty() && (shown.empty() || shown.back() != text))
                shown.push_back(text);
            countWhenDone = d.CountdownCount();
            return !d.isVisible();
        });
        // The button's own text stays under the number.
        EXPECT_EQ(d.item(CDlgSelect::IDC_START).text(), "Start");
    });
    Start(40);
    ASSERT_TRUE(Showing());
    // A busy machine may let two seconds pass between two looks, so the test
    // sees the numbers fall from 10 to 0 without asking for every one.
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown.front(), "10");
    EXPECT_EQ(shown.back(), "0");
    for (size_t i = 1; i < shown.size(); ++i)
        EXPECT_LT(std::stoi(shown[i]), std::stoi(shown[i - 1])) << "the countdown goes down";
    EXPECT_EQ(countWhenDone, 11) << "the start comes in the eleventh second";
    EXPECT_EQ(frame->Data().profile, 3);
    EXPECT_EQ(profile.GetInt("LastStart", "Profile", 0), 3);
    ASSERT_TRUE(RunUntil([&] { return window->isFullScreen(); }));
    EXPECT_TRUE(frame->Data().fullScreen);
    EXPECT_FALSE(frame->Loop().pending);
    EXPECT_TRUE(window->ToolBar()->isHidden());
    EXPECT_EQ(Title(), "BVVis - Finale : Skiver (10)");
}

TEST_F(SelectStartTest, AClickInTheListStopsTheCountdownAndAStartByHandStaysWindowed)
{
    Profiles({"Morgen", "", "Finale"}, {{1, 10}});
    profile.WriteInt("LastStart", "Profile", 3);
    driver.Next(CDlgSelect::IDD, [&](platform::Dialog& dialog) {
        CDlgSelect& d = Select(dialog);
        // A profile without a name is no choice.
        EXPECT_EQ(Listed(d), (std::vector<std::string>{"Morgen=1", "Finale=3"}));
        RunUntil([&] { return d.CountdownCount() >= 3; });
        ClickRow(d, 0);
        EXPECT_FALSE(d.CountdownRunning());
        EXPECT_EQ(d.CountdownText(), "");
        RunUntil([&] { return d.profile == 1; }, 2000);
        // Many seconds later it still waits.
        RunFor(20 * 40);
        EXPECT_TRUE(d.isVisible());
        d.item(CDlgSelect::IDC_START).click();
    });
    Start(40);
    ASSERT_TRUE(Showing());
    EXPECT_EQ(frame->Data().profile, 1);
    RunFor(300);
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_FALSE(frame->Data().fullScreen);
    EXPECT_TRUE(window->ToolBar()->isVisible());
}

TEST_F(SelectStartTest, WithoutANamedProfileTheSettingsOpenAtOnceAndExitEndsTheProgram)
{
    Profiles({"", ""}, {{1, 10}});
    std::vector<std::pair<int, int>> settings;
    driver.Next(CDlgSelect::IDD, [&](platform::Dialog& dialog) {
        CDlgSelect& d = Select(dialog);
        EXPECT_EQ(settings, (std::vector<std::pair<int, int>>{{1, 0}}));
        // What the settings made is listed afterwards; nothing counts down.
        EXPECT_EQ(Listed(d), (std::vector<std::string>{"Kveld=2"}));
        EXPECT_FALSE(d.CountdownRunning());
        d.item(CDlgSelect::IDC_LANGUAGE).click();
        EXPECT_EQ(settings.back(), (std::pair<int, int>{1, CDlgSelect::kUserPage}));
        d.item(CDlgSelect::IDC_EXIT).click();
    });
    Start();
    frame->settingsDialog = [&](QWidget*, int profileNumber, int page) {
        settings.emplace_back(profileNumber, page);
        CBVConfig p;
        p.Open(".\\Profil.bvc", 1);
        p.WriteString(31, 2, 500, "Kveld");
    };
    ASSERT_TRUE(RunUntil([&] { return frame->Closed(); }));
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(settings.size(), 2u);
}

TEST_F(SelectStartTest, ProfilesWrittenByAnotherProgramRefillTheListAtTheNextSecond)
{
    Profiles({"Morgen", "Kveld"}, {{1, 10}});
    profile.WriteInt("LastStart", "Profile", 2);
    driver.Next(CDlgSelect::IDD, [&](platform::Dialog& dialog) {
        CDlgSelect& d = Select(dialog);
        // The seconds are the test's: the timer's second is a minute long.
        d.OnCountdown();
        EXPECT_EQ(d.CountdownCount(), 1);
        RunSteps({{"cfg set Profil.bvc 31 1 530 3"}, {"cfg set Profil.bvc 31 3 500 Natt"}});
        d.OnCountdown();
        EXPECT_EQ(Listed(d), (std::vector<std::string>{"Morgen=1", "Kveld=2", "Natt=3"}));
        EXPECT_EQ(d.item(CDlgSelect::IDC_LIST).selection(), 1) << "the selection stays";
        EXPECT_EQ(d.CountdownCount(), 1) << "the countdown waits for that second";
        d.OnCountdown();
        EXPECT_EQ(d.CountdownCount(), 2);
        EXPECT_EQ(d.CountdownText(), "8");
        d.OnExit();
    });
    Start(60000);
    ASSERT_TRUE(RunUntil([&] { return frame->Closed(); }));
    EXPECT_TRUE(driver.Done());
}

TEST_F(SelectStartTest, EnterStartsEscapeEndsAndF1AsksForTheDialogsHelp)
{
    Profiles({"Morgen"}, {{1, 10}});
    std::vector<std::string> pages;
    ASSERT_EQ(platform::CreateFolders("Help/BVVisEN"), 0);
    for (const char* page : {"141.html", "1095.html"})
        TempFolder::Write(std::string("Help/BVVisEN/") + page, "<html></html>");
    driver.Next(CDlgSelect::IDD, [&](platform::Dialog& dialog) {
        CDlgSelect& d = Select(dialog);
        QWidget* list = d.item(CDlgSelect::IDC_LIST).widget();
        QApplication::setActiveWindow(&d);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_F1);
        QTest::keyClick(list, Qt::Key_F1, Qt::ShiftModifier);
        QTest::keyClick(list, Qt::Key_Return);
    });
    driver.Next(CDlgSelect::IDD, [&](platform::Dialog& dialog) {
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    Start();
    frame->Help()->openPage = [&](const std::string& page) {
        pages.push_back(page.substr(page.find("Help/")));
        return true;
    };
    ASSERT_TRUE(Showing());
    EXPECT_EQ(pages, (std::vector<std::string>{"Help/BVVisEN/141.html", "Help/BVVisEN/1095.html"}));
    EXPECT_FALSE(window->isFullScreen()) << "Enter is a start by hand";
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_Escape);
    ASSERT_TRUE(RunUntil([&] { return frame->Closed(); }));
    EXPECT_EQ(selectDialogs, 2);
}

// After an error the display goes back to the select dialog; a profile
// started by hand then resumes in its window, one started by the countdown
// passes a second select dialog and resumes full screen.
TEST_F(SelectStartTest, AfterAnErrorTheDisplayResumesAsItWasStarted)
{
    for (bool byCountdown : {false, true}) {
        SCOPED_TRACE(byCountdown ? "countdown" : "by hand");
        Profiles({"Tom"}, {});
        profile.WriteInt("LastStart", "Profile", 1);
        prompter.Clear();
        prompter.AnswerMessage(platform::IDOK);
        selectDialogs = 0;
        // The first start finds no picture; the operator adds one before the next.
        driver.Next(CDlgSelect::IDD, [&](platform::Dialog& d) {
            if (!byCountdown)
                d.item(CDlgSelect::IDC_START).click();
        });
        driver.Next(CDlgSelect::IDD, [&](platform::Dialog& d) {
            Profiles({"Tom"}, {{1, 10}});
            if (!byCountdown)
                d.item(CDlgSelect::IDC_START).click();
        });
        if (byCountdown)
            driver.Next(CDlgSelect::IDD, [](platform::Dialog&) {});
        Start(20);
        ASSERT_TRUE(RunUntil([&] { return driver.Done() && !frame->SelectDialog() && frame->Data().current; }));
        ASSERT_TRUE(Showing());
        RunFor(300);
        EXPECT_EQ(selectDialogs, byCountdown ? 3 : 2);
        ASSERT_EQ(prompter.Questions().size(), 1u);
        EXPECT_EQ(prompter.Log()[0], "Message Stop Ok default 0 [] The profile has no pictures -> 1");
        EXPECT_EQ(window->isFullScreen(), byCountdown);
        EXPECT_EQ(frame->Data().fullScreen, byCountdown);
        frame.reset();
    }
}

}  // namespace
}  // namespace bvtest
