// A display set up only through the settings pages, then shown by BVVis
// --render: the targets, the panels and the colours as set up. And the
// screenshots of the five pages.
#include "ScopedEnv.h"
#include "ConfigDialogFixture.h"
#include "tests/display/ui/RenderFixture.h"

#include <QImage>

#include <filesystem>

#include "display/ui/config/DlgColor.h"
#include "display/ui/config/DlgEvent.h"
#include "display/ui/config/DlgPict.h"
#include "display/ui/config/DlgProfil.h"
#include "display/ui/config/DlgUser.h"
#include "foundation/ui/grid/GridList.h"

namespace bvtest {
namespace {

using Page = CVisConfigFiles::Page;

class SetUpAndShowTest : public ConfigDialogTest {
protected:
    // Two events, two pictures (faces of lanes 1-4, and a list), a
    // profile, the blue preset: all by the pages' controls.
    void SetUpByThePages()
    {
        Open();
        CDlgEvent& events = dlg->Events();
        events.item(CDlgEvent::IDC_NEW).click();
        events.item(CDlgEvent::IDC_NEW).click();
        ClickRow(events.item(CDlgEvent::IDC_LIST), 0);
        TypeAndLeave(events.item(CDlgEvent::IDC_NAME), "Bane 1", events.item(CDlgEvent::IDC_FOLDER));
        TypeAndLeave(events.item(CDlgEvent::IDC_FOLDER), "R1", events.item(CDlgEvent::IDC_NAME));
        TypeAndLeave(events.item(CDlgEvent::IDC_LAST), "4", events.item(CDlgEvent::IDC_NAME));
        ClickRow(events.item(CDlgEvent::IDC_LIST), 1);
        TypeAndLeave(events.item(CDlgEvent::IDC_NAME), "Finale", events.item(CDlgEvent::IDC_FOLDER));
        TypeAndLeave(events.item(CDlgEvent::IDC_FOLDER), "C:\\Skyting\\Finale", events.item(CDlgEvent::IDC_NAME));

        dlg->ChooseTab(Page::kPictures);
        CDlgPict& pict = dlg->Pictures();
        pict.item(CDlgPict::IDC_NEW).click();
        pict.item(CDlgPict::IDC_NEW).click();
        ClickRow(pict.item(CDlgPict::IDC_LIST), 0);
        TypeAndLeave(pict.item(CDlgPict::IDC_NAME), "Skiver", pict.item(CDlgPict::IDC_LIST));
        ClickRow(pict.item(CDlgPict::IDC_LANES), 0);
        for (int i = 0; i < 4; ++i)
            pict.item(CDlgPict::IDC_ADD).click();
        pict.item(CDlgPict::IDC_SHOWPLACE).click();
        // The first face may not zoom in: only to ring 1, the whole face.
        CGridList& grid = pict.Grid();
        ASSERT_NE(grid.EditCell(0, CDlgPict::kColRings), nullptr);
        CGridColumn& rings = *grid.Column(CDlgPict::kColRings);
        for (size_t k = 0; k < rings.m_checks.size(); ++k)
            rings.m_checks[k] = k == 1;
        QTest::keyClick(grid.EditorWindow(), Qt::Key_Return);
        ClickRow(pict.item(CDlgPict::IDC_LIST), 1);
        TypeAndLeave(pict.item(CDlgPict::IDC_NAME), "Resultatliste", pict.item(CDlgPict::IDC_LIST));
        pict.item(CDlgPict::IDC_TYPE3).click();

        dlg->ChooseTab(Page::kColours);
        ClickRow(dlg->Colours().item(CDlgColor::IDC_LIST), 0);
        dlg->Colours().item(CDlgColor::PresetButton(2)).click();

        dlg->ChooseTab(Page::kProfiles);
        CDlgProfil& prof = dlg->Profiles();
        prof.item(CDlgProfil::IDC_NEW).click();
        ClickRow(prof.item(CDlgProfil::IDC_PROFILES), 0);
        TypeAndLeave(prof.item(CDlgProfil::IDC_NAME), "Stevnet", prof.item(CDlgProfil::IDC_PROFILES));
        ClickRow(prof.item(CDlgProfil::IDC_PICTURES), 0);
        prof.item(CDlgProfil::IDC_ADD).click();
        ClickRow(prof.item(CDlgProfil::IDC_PICTURES), 1);
        prof.item(CDlgProfil::IDC_ADD).click();
        ASSERT_EQ(prof.Grid().GetItemCount(), 2);
        EXPECT_EQ(prompter.Unanswered(), 0) << ::testing::PrintToString(prompter.Log());
    }
    void Screenshot(const std::string& name)
    {
        QApplication::processEvents();
        QImage shot = dlg->grab().toImage();
        std::filesystem::create_directories(BV_BINARY_DIR "/screens");
        ASSERT_TRUE(shot.save(QString::fromStdString(std::string(BV_BINARY_DIR "/screens/") + name)));
    }
};

TEST_F(SetUpAndShowTest, APictureSetUpByThePagesIsShownAsSetUp)
{
    bvtest::ScopedEnv configHome("XDG_CONFIG_HOME", folder.Path());
    ASSERT_EQ(platform::CreateFolders("R1"), 0);
    RunSteps({{"comp create R1 1 1-4"}, {"cfg set R1/BVLeder.bvc 1 1 680 1"}, {"cfg set R1/Program.BVC 25 1 2 10"}});
    SetUpByThePages();
    dlg.reset();

    const std::vector<int> lanes = {1, 2, 3, 4};
    std::vector<KnownShot> shots = SpreadShots(lanes, 0, 3, 0);
    std::string lines;
    for (const KnownShot& s : shots) {
        char line[80];
        std::snprintf(line, sizeof line, "1 %d 1 %d.%02d %.3f %.3f\n", s.lane, s.value / 100, s.value % 100, s.x, s.y);
        lines += line;
    }
    TempFolder::Write("shots.txt", lines);
    RunSteps({{"shots add R1 1 shots.txt", 0, ""}});

    ProgramRun run = RunBVVis("--render 1 1 out.png --size 1280x720 --report");
    CheckRender(run, "out.png", shots, lanes, true);
    Report r = Report::Parse(run.out);
    EXPECT_NE(r.picture.find("\"Skiver\""), std::string::npos) << run.out;
    // Places are shown: four lanes ranked 1 .. 4 among themselves.
    for (int lane : lanes)
        EXPECT_GT(r.targets[lane].place, 0) << lane;

    // The colours of the blue preset: the background, the faces (the
    // first whole, in the target colour; the others zoomed into the black
    // centre), white text and the gold of first place.
    QImage image = QImage("out.png").convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(image.isNull());
    auto count = [&](const platform::Rect& area, QRgb colour) {
        int n = 0;
        for (int y = std::max(0, area.top); y < std::min(image.height(), area.bottom); ++y)
            for (int x = std::max(0, area.left); x < std::min(image.width(), area.right); ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        return n;
    };
    const platform::Rect all{0, 0, image.width(), image.height()};
    const int area = image.width() * image.height();
    EXPECT_GT(count(all, qRgb(0, 0, 0x80)), area / 10);
    EXPECT_GT(count(all, qRgb(255, 255, 255)), area / 200);
    EXPECT_GT(count(all, qRgb(0xFF, 0xC0, 0x40)), 200);
    EXPECT_EQ(r.faces[1].zoom, 1) << run.out;
    for (int lane : lanes) {
        ASSERT_EQ(r.faces.count(lane), 1u) << run.out;
        const platform::Rect& f = r.faces[lane].rect;
        const QRgb main = lane == 1 ? qRgb(0xFF, 0xFF, 0xC0) : qRgb(0, 0, 0);
        EXPECT_GT(count(f, main), f.Width() * f.Height() / 10) << lane;
    }
}

TEST_F(SetUpAndShowTest, ScreenshotsOfTheFivePages)
{
    SetUpByThePages();
    dlg->ChooseTab(Page::kProfiles);
    ClickRow(dlg->Profiles().item(CDlgProfil::IDC_PROFILES), 0);
    Screenshot("config-profiles.png");
    dlg->ChooseTab(Page::kPictures);
    ClickRow(dlg->Pictures().item(CDlgPict::IDC_LIST), 0);
    dlg->Pictures().Grid().SelectRow(1, 1);
    Screenshot("config-pictures.png");
    dlg->ChooseTab(Page::kEvents);
    ClickRow(dlg->Events().item(CDlgEvent::IDC_LIST), 0);
    Screenshot("config-events.png");
    dlg->ChooseTab(Page::kColours);
    Screenshot("config-colours.png");
    dlg->ChooseTab(Page::kUser);
    TypeAndLeave(dlg->User().item(CDlgUser::IDC_LOCAL), "C:\\Nettcast\\ut", dlg->User().item(CDlgUser::IDC_USER));
    TypeAndLeave(dlg->User().item(CDlgUser::IDC_SERVER), "ftp.skyting.no", dlg->User().item(CDlgUser::IDC_USER));
    Screenshot("config-user.png");
}

}  // namespace
}  // namespace bvtest
