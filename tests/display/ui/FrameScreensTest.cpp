// The display's windows as the operator and the audience see them: the
// select dialog counting down, a picture full screen, an HTML picture and
// the About box, written to <build>/screens/ for the documentation.
#include <QPixmap>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "FrameFixture.h"
#include "ModalDriver.h"
#include "display/ui/VisAboutDlg.h"
#include "foundation/targets/TargetTypes.h"

namespace bvtest {
namespace {

class FrameScreensTest : public VisFrameTest {
protected:
    static std::string Screen(const std::string& name)
    {
        std::filesystem::create_directories(BV_BINARY_DIR "/screens");
        return std::string(BV_BINARY_DIR "/screens/display-") + name + ".png";
    }
    static void Save(QWidget* w, const std::string& name) { ASSERT_TRUE(w->grab().save(QString::fromStdString(Screen(name)))); }
    // Six lanes with shots spread over their faces.
    static void Shots(RangeFolder& range)
    {
        CTargetTypes types;
        for (int lane = 1; lane <= 6; ++lane) {
            range.Card(1, lane);
            for (int k = 0; k < 2 + lane % 4; ++k) {
                const double d = 8.0 * ((lane * 7 + k * 13) % 11), a = (lane * 50 + k * 97) * M_PI / 180;
                ShotRecord s;
                std::memset(&s, 0, sizeof s);
                s.state = CDataComp::kSlotShot;
                s.flags = static_cast<uint16_t>(CDataComp::kFlagFromTarget | 0x80);
                s.x = static_cast<int32_t>(std::lround(d * std::cos(a) * 1000));
                s.y = static_cast<int32_t>(std::lround(d * std::sin(a) * 1000));
                s.value = static_cast<int16_t>(types.Score(s.x / 1000.0, s.y / 1000.0, 1, types.GetBulletRadius(1)));
                s.series = 1;
                s.temperature = 12700;
                ASSERT_GT(range.data.AddShot(1, lane, s, nullptr, 100, 0), 0);
            }
        }
    }
    ModalDriver driver;
};

TEST_F(FrameScreensTest, TheDisplaysWindows)
{
    RangeFolder range("R1");
    Shots(range);
    DisplayFiles::Event(1, "Bane 1", "R1");
    std::vector<Slot> faces;
    for (int lane = 1; lane <= 6; ++lane)
        faces.push_back({lane, 1, 0});
    DisplayFiles::Picture(1, "Finale 10 m", faces, {{VisItems::kShowPlace, 1}});
    Html(2, "Velkommen", ".\\velkommen.htm");
    TempFolder::Write("velkommen.htm",
                      "<html><body style=\"background:#003070;color:white\"><h1>Velkommen til Brevandi</h1>"
                      "<p>Finale 10 m luftgevær starter kl. 14.00.</p>"
                      "<table border=\"1\" cellpadding=\"6\"><tr><th>Lag</th><th>Tid</th></tr>"
                      "<tr><td>1</td><td>12.00</td></tr><tr><td>2</td><td>13.00</td></tr></table></body></html>");
    Profiles({"Morgen", "Kveld", "Finale"}, {{1, 60}, {2, 60}});
    profile.WriteInt("LastStart", "Profile", 3);
    // The kit's own HTML pane shows the page.
    platform::SetHtmlPaneMaker(nullptr);

    driver.Next(CDlgSelect::IDD, [&](platform::Dialog& dialog) {
        auto& d = static_cast<CDlgSelect&>(dialog);
        d.resize(470, 260);
        RunUntil([&] { return d.CountdownText() == "7"; });
        Save(&d, "select");
        d.item(CDlgSelect::IDC_START).click();
    });
    Start(150);
    ASSERT_TRUE(Showing());
    driver.Next(CVisAboutDlg::IDD, [&](platform::Dialog& about) {
        RunFor(100);
        Save(&about, "about");
        about.OnOK();
    });
    frame->OnCommand(CMainFrame::kAboutCommand);
    frame->OnCommand(DisplayLoop::kFullScreenOn);
    ASSERT_TRUE(RunUntil([&] { return window->isFullScreen(); }));
    RunFor(800);
    Save(window, "fullscreen");
    frame->OnCommand(DisplayLoop::kNext);
    ASSERT_TRUE(RunUntil([&] { return frame->HtmlView() != nullptr; }));
    RunFor(500);
    Save(window, "html");
    EXPECT_TRUE(driver.Done());
}

}  // namespace
}  // namespace bvtest
