// The settings dialog on the demo's display folder, as scripts/demo-folder.sh
// makes it, and on that folder with a BVVis.bvc that lacks items (the picture
// count and in-use flags, or everything): every page opens once what it needs
// exists, lists the pictures the profile shows, and a picture added is stored
// beside them without taking their numbers.
#include "ConfigDialogFixture.h"

#include <filesystem>

#include "display/ui/config/DlgColor.h"
#include "display/ui/config/DlgEvent.h"
#include "display/ui/config/DlgPict.h"
#include "display/ui/config/DlgProfil.h"

namespace demo_folder_pages_test {

using bvtest::ConfigDialogTest;
using Page = CVisConfigFiles::Page;
namespace fs = std::filesystem;

class DemoFolderPagesTest : public ConfigDialogTest {
protected:
    // The demo's folders; the display's becomes the working folder.
    void MakeDemoFolder()
    {
        int status = -1;
        bvtest::RunCommand("'" BV_SOURCE_DIR "/scripts/demo-folder.sh' '" BV_BINARY_DIR "' demo", &status);
        ASSERT_EQ(status, 0);
        fs::current_path("demo/display");
    }
    // Chooses the tab as a click does; true when the page is shown then.
    bool Opens(int page)
    {
        dlg->ChooseTab(page);
        QApplication::processEvents();
        return Shown() == page;
    }
    static int Rows(platform::Control list) { return list.count(); }
    void Screenshot(const std::string& name)
    {
        QApplication::processEvents();
        fs::create_directories(BV_BINARY_DIR "/screens");
        ASSERT_TRUE(dlg->grab().toImage().save(QString::fromStdString(std::string(BV_BINARY_DIR "/screens/") + name)));
    }
};

TEST_F(DemoFolderPagesTest, EveryPageWorksOnTheDemosFolder)
{
    ASSERT_NO_FATAL_FAILURE(MakeDemoFolder());
    Open();
    EXPECT_EQ(Shown(), Page::kProfiles);
    ClickRow(dlg->Profiles().item(CDlgProfil::IDC_PROFILES), 0);
    EXPECT_EQ(Rows(dlg->Profiles().item(CDlgProfil::IDC_PICTURES)), 2);
    EXPECT_EQ(dlg->Profiles().Grid().GetItemCount(), 2);
    Screenshot("demo-config-profiles.png");
    ASSERT_TRUE(Opens(Page::kPictures));
    CDlgPict& pict = dlg->Pictures();
    ASSERT_EQ(Rows(pict.item(CDlgPict::IDC_LIST)), 2);
    ClickRow(pict.item(CDlgPict::IDC_LIST), 0);
    EXPECT_EQ(pict.Grid().GetItemCount(), 10);
    Screenshot("demo-config-pictures.png");
    pict.item(CDlgPict::IDC_NEW).click();
    EXPECT_EQ(Rows(pict.item(CDlgPict::IDC_LIST)), 3);
    ASSERT_TRUE(Opens(Page::kEvents));
    EXPECT_EQ(Rows(dlg->Events().item(CDlgEvent::IDC_LIST)), 1);
    ASSERT_TRUE(Opens(Page::kColours));
    EXPECT_EQ(Rows(dlg->Colours().item(CDlgColor::IDC_LIST)), 3);
    Screenshot("demo-config-colours.png");
    EXPECT_TRUE(Opens(Page::kUser));
    dlg.reset();
    ExpectItems({V(31, 1, 530, "3"), V(31, 3, 680, "1"), B(3, 31, 1, 500, "<Nr3>"), B(1, 31, 1, 500, "Targets"),
                 B(2, 31, 1, 500, "Results")});
}

// What the demo's BVVis.bvc once lacked, and a folder without one: the
// profile's pictures are there on every page, an event makes the pictures
// page open, and a new picture takes the next free number.
TEST_F(DemoFolderPagesTest, EveryPageWorksOnASettingsFileThatLacksItems)
{
    struct Case {
        const char* name;
        bool keepEvent;  // the event stays; the picture items go
    };
    for (const Case& c : {Case{"without the picture items", true}, Case{"without BVVis.bvc", false}}) {
        SCOPED_TRACE(c.name);
        const fs::path top = fs::current_path();
        ASSERT_NO_FATAL_FAILURE(MakeDemoFolder());
        fs::remove("BVVis.bvc");
        fs::remove("BVVis.bvc.undo");
        if (c.keepEvent)
            bvtest::RunSteps({{"cfg set BVVis.bvc 3 1 530 1"},
                              {"cfg set BVVis.bvc 3 1 640 1"},
                              {"cfg set BVVis.bvc 3 1 500 'Demo range'"},
                              {"cfg set BVVis.bvc 3 1 570 .."}});
        Open();
        EXPECT_EQ(Shown(), Page::kProfiles);
        EXPECT_EQ(Rows(dlg->Profiles().item(CDlgProfil::IDC_PICTURES)), 2);
        ASSERT_TRUE(Opens(Page::kColours));
        EXPECT_EQ(Rows(dlg->Colours().item(CDlgColor::IDC_LIST)), 2);
        if (!c.keepEvent) {
            // The pictures page needs an event, as on a first start.
            EXPECT_FALSE(Opens(Page::kPictures));
            ASSERT_TRUE(Opens(Page::kEvents));
            dlg->Events().item(CDlgEvent::IDC_NEW).click();
        }
        ASSERT_TRUE(Opens(Page::kPictures));
        CDlgPict& pict = dlg->Pictures();
        EXPECT_EQ(Rows(pict.item(CDlgPict::IDC_LIST)), 2);
        pict.item(CDlgPict::IDC_NEW).click();
        EXPECT_EQ(Rows(pict.item(CDlgPict::IDC_LIST)), 3);
        EXPECT_TRUE(Opens(Page::kEvents));
        EXPECT_TRUE(Opens(Page::kUser));
        EXPECT_TRUE(Opens(Page::kProfiles));
        EXPECT_EQ(Rows(dlg->Profiles().item(CDlgProfil::IDC_PICTURES)), 3);
        dlg.reset();
        ExpectItems({V(31, 1, 530, "3"), V(31, 3, 680, "1"), B(3, 31, 1, 500, "<Nr3>"), B(1, 31, 1, 500, "Targets"),
                     B(2, 31, 1, 500, "Results")});
        fs::current_path(top);
        fs::remove_all("demo");
    }
}

}  // namespace demo_folder_pages_test
