// The settings dialog and its events and user pages driven by control id:
// the first start, the page rule, help, Escape, events made and deleted,
// folders and lanes, the user's folders and account, and a change of
// language that relabels every page at once.
#include "ConfigDialogFixture.h"

#include <QAbstractButton>
#include <QTabBar>

#include "ModalDriver.h"
#include "display/ui/config/DlgColor.h"
#include "display/ui/config/DlgEvent.h"
#include "display/ui/config/DlgPict.h"
#include "display/ui/config/DlgProfil.h"
#include "display/ui/config/DlgUser.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/system/Codepage.h"

namespace bvtest {
namespace {

using Page = CVisConfigFiles::Page;
using E = CDlgEvent;

TEST_F(ConfigDialogTest, FirstStartOpensOnEventsAndRefusesPagesUntilTheirDataExists)
{
    Open();
    EXPECT_TRUE(platform::FileExists("BVVis.bvc"));
    EXPECT_TRUE(platform::FileExists("Profil.bvc"));
    EXPECT_EQ(Shown(), Page::kEvents);
    EXPECT_EQ(dlg->Caption(), "");
    const char* tabs[] = {"Profiles", "Pictures", "Events", "Colours", "User"};
    ASSERT_EQ(Tabs().GetItemCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Tabs().GetItemText(i), tabs[i]);
    EXPECT_EQ(dlg->item(CDlgConfig::IDC_EXIT).text(), "Close");

    // Without an event no page but events and user opens; a refused tab
    // snaps back without a word, and F1 still asks for the events page.
    for (int page : {Page::kProfiles, Page::kPictures, Page::kColours}) {
        dlg->ChooseTab(page);
        EXPECT_EQ(Shown(), Page::kEvents) << page;
        EXPECT_TRUE(dlg->Events().isVisible());
        EXPECT_FALSE(dlg->Page(page)->isVisible());
    }
    QTest::keyClick(dlg->Events().item(E::IDC_LIST).widget(), Qt::Key_F1);
    dlg->ChooseTab(Page::kUser);
    EXPECT_EQ(Shown(), Page::kUser);
    dlg->ChooseTab(Page::kEvents);
    EXPECT_TRUE(prompter.Questions().empty());

    // An event lets the pictures page open, a picture the others.
    dlg->Events().item(E::IDC_NEW).click();
    ExpectItems({V(3, 1, 530, "1"), V(3, 1, 640, "1"), V(3, 1, 500, "Hold 1")});
    dlg->ChooseTab(Page::kProfiles);
    EXPECT_EQ(Shown(), Page::kEvents);
    dlg->ChooseTab(Page::kPictures);
    ASSERT_EQ(Shown(), Page::kPictures);
    dlg->Pictures().item(CDlgPict::IDC_NEW).click();
    ExpectItems({V(31, 1, 530, "1"), V(31, 1, 680, "1"), V(31, 1, 1, "0"), B(1, 31, 1, 500, "<Nr1>"),
                 B(1, 31, 1, 530, "0"), B(1, 504, 1, 1, "16777215"), B(1, 504, 1, 10, std::to_string(0x404000)),
                 B(1, 504, 1, 11, "<none>")});
    for (int page : {Page::kColours, Page::kProfiles}) {
        dlg->ChooseTab(page);
        EXPECT_EQ(Shown(), page);
    }
    EXPECT_EQ(help.asked, (std::vector<std::pair<uint32_t, int>>{{139, 2}}));

    // Opened again, with a picture there, the dialog starts on the profiles.
    dlg.reset();
    EXPECT_EQ(CDlgConfig::HelpContext(), 136);
    Open();
    EXPECT_EQ(Shown(), Page::kProfiles);
    EXPECT_TRUE(dlg->Profiles().isVisible());
}

TEST_F(ConfigDialogTest, HelpAsksForThePageShownAndForTheControl)
{
    Open();
    dlg->Events().item(E::IDC_NEW).click();
    // F1 on the events page, also after a refused switch to the pictures
    // page (no event in use any more).
    dlg->Events().item(E::IDC_LIST).setSelection(0);
    dlg->Events().item(E::IDC_DELETE).click();
    QTest::keyClick(dlg->Events().item(E::IDC_NAME).widget(), Qt::Key_F1);
    dlg->ChooseTab(Page::kPictures);
    ASSERT_EQ(Shown(), Page::kEvents);
    QTest::keyClick(dlg->Events().item(E::IDC_NAME).widget(), Qt::Key_F1);
    // Shift+F1 on a control: its own id with command 3.
    dlg->Events().item(E::IDC_FOLDER).focus();
    QTest::keyClick(dlg->Events().item(E::IDC_FOLDER).widget(), Qt::Key_F1, Qt::ShiftModifier);
    dlg->ChooseTab(Page::kUser);
    QTest::keyClick(dlg->User().item(CDlgUser::IDC_SERVER).widget(), Qt::Key_F1);
    QTest::keyClick(dlg->Tabs()->Bar(), Qt::Key_F1);
    EXPECT_EQ(help.asked,
              (std::vector<std::pair<uint32_t, int>>{{139, 2}, {139, 2}, {E::IDC_FOLDER, 3}, {146, 2}, {146, 2}}));
}

TEST_F(ConfigDialogTest, EscapeOnTheProfilesPageEndsTheDialog)
{
    {
        CVisConfigFiles files;
        files.Open();
        files.Settings().WriteInt(3, 1, 530, 1);
        files.Settings().WriteInt(3, 1, 640, 1);
        files.Settings().WriteInt(31, 1, 530, 1);
        files.OpenPicture(1, true);
    }
    ModalDriver driver;
    bool pageShown = false;
    driver.Next(CDlgConfig::IDD, [&](platform::Dialog& d) {
        auto& config = static_cast<CDlgConfig&>(d);
        pageShown = config.Profiles().isVisible();
        QTest::keyClick(config.Profiles().item(CDlgProfil::IDC_PROFILES).widget(), Qt::Key_Escape);
    });
    int about = 0;
    CDlgConfig::SetAboutBox([&](QWidget*) { ++about; });
    EXPECT_EQ(CDlgConfig::Run(nullptr, 1), 1);
    CDlgConfig::SetAboutBox({});
    EXPECT_TRUE(driver.Done());
    EXPECT_TRUE(pageShown);

    // The About button opens the program's About box; Escape on the
    // pictures page does not end the dialog, on the colours page it does.
    Open();
    CDlgConfig::SetAboutBox([&](QWidget*) { ++about; });
    dlg->item(CDlgConfig::IDC_ABOUT).click();
    CDlgConfig::SetAboutBox({});
    EXPECT_EQ(about, 1);
    dlg->ChooseTab(Page::kPictures);
    QTest::keyClick(dlg->Pictures().item(CDlgPict::IDC_LIST).widget(), Qt::Key_Escape);
    EXPECT_TRUE(dlg->isVisible());
    dlg->ChooseTab(Page::kColours);
    QTest::keyClick(dlg->Colours().item(CDlgColor::IDC_LIST).widget(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->Result(), platform::IDOK);
}

TEST_F(ConfigDialogTest, EventsAreMadeDeletedAndEdited)
{
    Open();
    CDlgEvent& page = dlg->Events();
    platform::Control list = page.item(E::IDC_LIST);
    for (int i = 0; i < 3; ++i)
        page.item(E::IDC_NEW).click();
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.itemText(2, 0), "Hold 3");
    EXPECT_EQ(list.itemText(2, 3), "100");

    // Slot 2 gets a folder and lanes, then the second and third events go.
    ClickRow(list, 1);
    EXPECT_EQ(page.SelectedRow(), 1);
    TypeAndLeave(page.item(E::IDC_FOLDER), "  C:\\Bane2  ", page.item(E::IDC_NAME));
    TypeAndLeave(page.item(E::IDC_FIRST), "4", page.item(E::IDC_NAME));
    TypeAndLeave(page.item(E::IDC_LAST), "12", page.item(E::IDC_NAME));
    ExpectItems({V(3, 2, 570, "C:\\Bane2"), V(3, 2, 531, "4"), V(3, 2, 532, "12")});
    EXPECT_EQ(list.itemText(1, 1), "C:\\Bane2");
    page.item(E::IDC_DELETE).click();
    ExpectItems({V(3, 1, 530, "3"), V(3, 2, 640, "0"), V(3, 2, 500, ""), V(3, 2, 1, "")});
    EXPECT_EQ(page.item(E::IDC_NAME).text(), "");
    EXPECT_EQ(page.SelectedRow(), -1);
    ClickRow(list, 1);
    page.item(E::IDC_DELETE).click();
    EXPECT_EQ(Vis(3, 1, 530), "1");
    // Delete without a selection does nothing, and says nothing.
    list.setSelection(-1);
    page.item(E::IDC_DELETE).click();
    EXPECT_EQ(Vis(3, 1, 530), "1");
    page.item(E::IDC_NEW).click();
    EXPECT_EQ(Vis(3, 1, 530), "2");
    ASSERT_EQ(list.count(), 2);
    ClickRow(list, 1);
    EXPECT_EQ(page.item(E::IDC_NAME).text(), "Hold 2");
    EXPECT_EQ(page.item(E::IDC_FOLDER).text(), "C:\\Bane2");
    EXPECT_EQ(page.item(E::IDC_FIRST).text(), "4");
    EXPECT_EQ(page.item(E::IDC_LAST).text(), "12");

    // A folder of 300 characters keeps 270, nine keys of 30.
    std::string longFolder;
    for (int i = 0; i < 300; ++i)
        longFolder += static_cast<char>('A' + i % 26);
    TypeAndLeave(page.item(E::IDC_FOLDER), longFolder, page.item(E::IDC_NAME));
    std::vector<Item> pieces;
    for (int k = 0; k < 9; ++k)
        pieces.push_back(V(3, 2, 570 + k, longFolder.substr(30 * k, 30)));
    ExpectItems(pieces);
    EXPECT_EQ(list.itemText(1, 1), longFolder.substr(0, 270));

    // Lanes 0 and 150 are stored as 1 and 100, and shown so.
    TypeAndLeave(page.item(E::IDC_FIRST), "0", page.item(E::IDC_NAME));
    TypeAndLeave(page.item(E::IDC_LAST), "150", page.item(E::IDC_NAME));
    ExpectItems({V(3, 2, 531, "1"), V(3, 2, 532, "100")});
    EXPECT_EQ(page.item(E::IDC_FIRST).text(), "1");
    EXPECT_EQ(page.item(E::IDC_LAST).text(), "100");

    // A name; then the arrow keys show the other event.
    TypeAndLeave(page.item(E::IDC_NAME), "Finale", page.item(E::IDC_FOLDER));
    EXPECT_EQ(Vis(3, 2, 500), "Finale");
    list.widget()->setFocus();
    QTest::keyClick(list.widget(), Qt::Key_Up);
    EXPECT_EQ(page.SelectedRow(), 0);
    EXPECT_EQ(page.item(E::IDC_NAME).text(), "Hold 1");
    EXPECT_EQ(page.item(E::IDC_FOLDER).text(), "");
    EXPECT_EQ(page.item(E::IDC_LAST).text(), "100");
    QTest::keyClick(list.widget(), Qt::Key_Down);
    EXPECT_EQ(page.item(E::IDC_NAME).text(), "Finale");
    EXPECT_EQ(page.item(E::IDC_LAST).text(), "100");

    // A name being typed is saved when another tab is chosen.
    platform::Control name = page.item(E::IDC_NAME);
    name.widget()->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(name.widget(), " 2");
    dlg->ChooseTab(Page::kUser);
    EXPECT_EQ(Vis(3, 2, 500), "Finale 2");
    dlg->ChooseTab(Page::kEvents);
    ClickRow(list, 1);

    // Browse: the chosen folder is stored; a cancelled choice changes nothing.
    platform::CreateFolder("Hall");
    prompter.AnswerFolder("Hall").AnswerFolder("");
    page.item(E::IDC_BROWSE).click();
    EXPECT_EQ(Vis(3, 2, 570), "Hall");
    page.item(E::IDC_BROWSE).click();
    EXPECT_EQ(Vis(3, 2, 570), "Hall");
    EXPECT_EQ(prompter.Log(), (std::vector<std::string>{"Folder [Choose the range folder] from " +
                                                             longFolder.substr(0, 259) + " -> Hall",
                                                         "Folder [Choose the range folder] from Hall -> cancelled"}));
}

TEST_F(ConfigDialogTest, UserPageStoresTheAccountAndTheLanguage)
{
    Open(Page::kUser);
    CDlgUser& page = dlg->User();
    EXPECT_EQ(page.LanguageIndex(), 3);  // nothing stored: English
    TypeAndLeave(page.item(CDlgUser::IDC_LOCAL), "   C:\\Nettcast   ", page.item(CDlgUser::IDC_USER));
    TypeAndLeave(page.item(CDlgUser::IDC_REMOTE), " /web/live ", page.item(CDlgUser::IDC_USER));
    TypeAndLeave(page.item(CDlgUser::IDC_USER), "skytter", page.item(CDlgUser::IDC_PASSWORD));
    TypeAndLeave(page.item(CDlgUser::IDC_PASSWORD), "hemmelig", page.item(CDlgUser::IDC_USER));
    ExpectItems({V(31, 1, 570, "C:\\Nettcast"), V(31, 1, 720, "/web/live"), V(31, 1, 502, "skytter"),
                 V(31, 1, 503, "hemmelig")});

    // A folder longer than the nine keys keep: the error beep, nothing written.
    TypeAndLeave(page.item(CDlgUser::IDC_LOCAL), std::string(280, 'x'), page.item(CDlgUser::IDC_USER));
    EXPECT_EQ(Vis(31, 1, 570), "C:\\Nettcast");
    EXPECT_EQ(Messages(), std::vector<std::string>{"<beep>"});

    // The server typed and not yet left is saved by the click on a language,
    // before the page reads its fields again.
    platform::Control server = page.item(CDlgUser::IDC_SERVER);
    server.widget()->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(server.widget(), "ftp.skyting.no");
    auto* german = qobject_cast<QAbstractButton*>(page.item(CDlgUser::IDC_GERMAN).widget());
    QTest::mouseClick(german, Qt::LeftButton);
    EXPECT_EQ(Vis(31, 1, 501), "ftp.skyting.no");
    EXPECT_EQ(server.text(), "ftp.skyting.no");
    EXPECT_EQ(profile.GetString("Context", "Language", ""), "DE");
    EXPECT_EQ(page.LanguageIndex(), 4);
    EXPECT_EQ(page.item(CDlgUser::IDC_LOCAL).text(), "C:\\Nettcast");

    // An unknown language checks no radio.
    dlg.reset();
    profile.WriteString("Context", "Language", "US");
    Open(Page::kUser);
    EXPECT_EQ(dlg->User().LanguageIndex(), -1);
    for (int id = CDlgUser::IDC_NORWEGIAN; id <= CDlgUser::IDC_GERMAN; ++id)
        EXPECT_EQ(dlg->User().item(id).check(), 0) << id;
}

TEST_F(ConfigDialogTest, ALanguageChangeRelabelsEveryPageAtOnce)
{
    profile.WriteString("Context", "Language", "NO");
    Language("NO");
    {
        CVisConfigFiles files;
        files.Open();
        files.Settings().WriteInt(3, 1, 530, 1);
        files.Settings().WriteInt(3, 1, 640, 1);
        files.Settings().WriteString(3, 1, 500, "Bane");
        files.Settings().WriteInt(31, 1, 530, 1);
        files.Settings().WriteInt(31, 1, 680, 1);
        files.OpenPicture(1, true)->WriteString(31, 1, 500, "Skiver");
    }
    Open(Page::kPictures);
    dlg->ChooseTab(Page::kUser);
    EXPECT_EQ(Tabs().GetItemText(0), "Profiler");
    EXPECT_EQ(dlg->Pictures().item(CDlgPict::IDC_LIST).itemText(0, 1), "Nei");
    QTest::mouseClick(qobject_cast<QAbstractButton*>(dlg->User().item(CDlgUser::IDC_GERMAN).widget()), Qt::LeftButton);
    const std::vector<std::string> tabs = {"Profile", "Bilder", platform::Ansi("Wettkämpfe"), "Farben", "Benutzer"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Tabs().GetItemText(i), tabs[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(dlg->item(CDlgConfig::IDC_EXIT).text(), platform::Ansi("Schließen"));
    EXPECT_EQ(dlg->User().item(1214).text(), "Sprache");
    EXPECT_EQ(dlg->User().item(CDlgUser::IDC_NORWEGIAN).text(), "Norwegisch");
    EXPECT_EQ(dlg->Profiles().item(CDlgProfil::IDC_NEW).text(), "Neues Profil");
    EXPECT_EQ(dlg->Profiles().Grid().GetColumnHeader(1), "Anzeigedauer (s)");
    EXPECT_EQ(dlg->Pictures().item(CDlgPict::IDC_SORT).text(), "Sortieren");
    EXPECT_EQ(dlg->Pictures().Grid().GetColumnHeader(2), "Anzeige");
    EXPECT_EQ(dlg->Pictures().item(CDlgPict::IDC_LIST).itemText(0, 1), "Nein");
    EXPECT_EQ(dlg->Colours().item(CDlgColor::ColourButton(1)).text(), "Hintergrund");
    EXPECT_EQ(dlg->Events().item(E::IDC_NEW).text(), "Neuer Wettkampf");
    auto* events = qobject_cast<QTreeWidget*>(dlg->Events().item(E::IDC_LIST).widget());
    EXPECT_EQ(events->headerItem()->text(1).toStdString(), "Ordner");
    auto* pictures = qobject_cast<QTreeWidget*>(dlg->Pictures().item(CDlgPict::IDC_LIST).widget());
    EXPECT_EQ(pictures->headerItem()->text(1).toStdString(), "Im Profil");
}

}  // namespace
}  // namespace bvtest
