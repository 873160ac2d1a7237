// The Nettcast export end to end: BVVis --render runs a Nettcast profile
// against a real FTP server while bvtool stores shots and a new relay comes
// up; and the start page shown by headless Chromium, each picture in its
// place.
#include "ScopedEnv.h"
#include "NettcastFixture.h"
#include "RenderFixture.h"

#include <QImage>

#include <cstdlib>
#include <functional>

#include "RunCommand.h"
#include "platform/files/FileSystem.h"
#include "platform/system/Clock.h"

namespace bvtest {
namespace {

class NettcastRenderTest : public NettcastTest {
protected:
    // The display\'s own profile (its language) stays in the test\'s folder.
    bvtest::ScopedEnv configHome{"XDG_CONFIG_HOME", folder.Path()};
    void SetUp() override
    {
        NettcastTest::SetUp();
        ASSERT_EQ(platform::CopyFile(std::string(BV_BINARY_DIR) + "/lang/BVView.bvt", "BVView.bvt"), 0);
        // Every look at the range a tick.
        TempFolder::Write("BVVis.ini", "[BVVis]\r\nConfig=100\r\nName=100\r\nShot=100\r\nPict=10000\r\n");
    }
};

TEST_F(NettcastRenderTest, FollowsALiveRangeOntoTheServer)
{
    FtpServer server;
    ASSERT_TRUE(server.Start(folder.File("site"), {{"range", kFtpPassword, "", kFtpAllRights}})) << server.Error();
    ASSERT_EQ(platform::CreateFolders("site/live"), 0);
    ASSERT_EQ(platform::CreateFolders("web"), 0);
    Account("web", "live", server.Address());
    Picture(2);
    auto served = [&](const std::string& name) { return TempFolder::Read(folder.File("site/live/" + name)); };
    const std::string lane3 = TargetFile(1, 3, ".BVD");

    // Long enough for every step below on a loaded machine; each wait ends
    // as soon as what it waits for is on the server.
    Background run("--render 1 1 status.png --seconds 40 --report --size 480x120", "nettcast");
    // The first export of every target.
    ASSERT_TRUE(Within([&] { return served(lane3).size() == 9; }, 20000)) << TempFolder::Read("nettcast.err");
    // Shots stored by bvtool reach the server with the target's next export.
    TempFolder::Write("shots.txt", "1 3 1 10.0 1.000 2.000\n1 3 1 9.0 -6.500 4.000\n");
    RunSteps({{"shots add R1 1 shots.txt", 0, ""}});
    EXPECT_TRUE(Within([&] { return served(lane3).size() == 9 + 2 * 10; }, 15000)) << served(lane3).size();
    // A new relay on lane 4: its shooter reaches the index on the server.
    Shooter(2, 4, 11, "Nina Berg", "Troms\xF8", "Junior", "J");
    r1->Card(2, 4);
    r1->Series(4, 1);
    EXPECT_TRUE(Within([&] { return served("index.txt").find("Hold 1: 50m/Fin.;2;4;Nina Berg;") != std::string::npos; },
                       15000))
        << served("index.txt");
    TempFolder::Write("shots.txt", "1 3 1 8.0 20.000 -30.000\n");
    RunSteps({{"shots add R1 1 shots.txt", 0, ""}});
    EXPECT_TRUE(Within([&] { return served(lane3).size() == 9 + 3 * 10; }, 15000)) << served(lane3).size();

    ProgramRun r = run.Finish();
    ASSERT_EQ(r.status, 0) << r.err;
    // What the server holds is what the display wrote last.
    EXPECT_EQ(served(lane3), TempFolder::Read("web/" + lane3));
    EXPECT_EQ(served("index.txt"), TempFolder::Read("web/index.txt"));
    std::string exportLine;
    for (size_t at = r.out.find("export "); at != std::string::npos; at = std::string::npos)
        exportLine = r.out.substr(at, r.out.find('\n', at) - at);
    int state = 0, count = 0;
    char status[128] = {};
    ASSERT_EQ(std::sscanf(exportLine.c_str(), "export %d %d \"%127[^\"]\"", &state, &count, status), 3) << r.out;
    EXPECT_EQ(state, 1);
    EXPECT_GE(count, 12 + 1 + 1 + 1);
    EXPECT_EQ(status, server.Address() + " = " + std::to_string(count));
    // The window showed the status line and nothing else.
    QImage shown("status.png");
    ASSERT_EQ(shown.size(), QSize(480, 120));
    int dark = 0, elsewhere = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (qGray(shown.pixel(x, y)) < 128)
                ++(y > 40 && y < 80 ? dark : elsewhere);
    EXPECT_GT(dark, 50);
    EXPECT_EQ(elsewhere, 0);
    const std::string screens = std::string(BV_BINARY_DIR) + "/screens";
    ASSERT_EQ(platform::CreateFolders(screens), 0);
    EXPECT_EQ(platform::CopyFile("status.png", screens + "/display-nettcast-status.png"), 0);
    EXPECT_EQ(server.Log().find(kFtpPassword), std::string::npos);
    EXPECT_EQ(TempFolder::Read("BVLog.txt").find(kFtpPassword), std::string::npos);
}

// How far a picture placed at (left, top) of the screenshot is off the PNG:
// the share of its pixels (every step-th of each line and column) that
// differ by more than a little.
double Mismatch(const QImage& shot, const QImage& picture, int left, int top, int step = 4)
{
    int samples = 0, off = 0;
    for (int y = step / 2; y < picture.height(); y += step)
        for (int x = step / 2; x < picture.width(); x += step) {
            ++samples;
            if (left + x >= shot.width() || top + y >= shot.height()) {
                ++off;
                continue;
            }
            const QRgb a = shot.pixel(left + x, top + y), b = picture.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > 12 || std::abs(qGreen(a) - qGreen(b)) > 12 ||
                std::abs(qBlue(a) - qBlue(b)) > 12)
                ++off;
        }
    return static_cast<double>(off) / samples;
}

TEST_F(NettcastTest, TheStartPageInABrowserShowsEveryPictureInItsPlace)
{
    int found = -1;
    RunCommand("command -v chromium", &found);
    if (found != 0)
        GTEST_SKIP() << "chromium is not installed (scripts/deps.sh)";
    Account("web", "", "");
    Picture(2);
    ASSERT_EQ(platform::CreateFolders("web"), 0);
    NettcastDisplay d;
    ASSERT_TRUE(d.TickUntil([&] { return d.State().exportCount >= 12; }, 60));

    // Four pictures a row in a window 1000 pixels wide.
    const std::string screens = std::string(BV_BINARY_DIR) + "/screens";
    ASSERT_EQ(platform::CreateFolders(screens), 0);
    const std::string shotPath = screens + "/display-nettcast-page.png";
    int status = -1;
    const std::string out = RunCommand("chromium --headless --no-sandbox --disable-gpu --hide-scrollbars "
                                       "--window-size=1000,620 --screenshot=" +
                                           shotPath + " file://" + folder.File("web/default.htm") + " 2>&1",
                                       &status);
    ASSERT_EQ(status, 0) << out;
    QImage shot(QString::fromStdString(shotPath));
    ASSERT_FALSE(shot.isNull()) << out;
    // The page's margins put the first row a little below the top; each row
    // is a picture high and a few pixels more (the line's descent).
    int top = 0;
    for (size_t k = 0; k < kNettcastSlots.size(); ++k) {
        const auto [event, lane] = kNettcastSlots[k];
        SCOPED_TRACE(TargetFile(event, lane, ".png"));
        QImage picture(QString::fromStdString(folder.File("web/" + TargetFile(event, lane, ".png"))));
        ASSERT_EQ(picture.size(), QSize(240, 180));
        const int column = static_cast<int>(k % 4), row = static_cast<int>(k / 4);
        const int left = 8 + 240 * column;
        if (column == 0) {
            // The row's top: where the first picture of the row fits best.
            double best = 2;
            const int from = row == 0 ? 0 : top + 180;
            for (int y = from; y < from + 40; ++y) {
                const double m = Mismatch(shot, picture, left, y);
                if (m < best) {
                    best = m;
                    top = y;
                }
            }
        }
        // Every pixel in its place.
        const double pixels = 240.0 * 180.0;
        EXPECT_LE(Mismatch(shot, picture, left, top, 1) * pixels, 5) << "at " << left << "," << top;
        // The neighbour's picture does not fit there: the comparison tells
        // pictures apart that differ in a lane number only.
        if (k + 1 < kNettcastSlots.size()) {
            const auto [e2, l2] = kNettcastSlots[k + 1];
            QImage other(QString::fromStdString(folder.File("web/" + TargetFile(e2, l2, ".png"))));
            EXPECT_GT(Mismatch(shot, other, left, top, 1) * pixels, 20);
        }
    }
}

}  // namespace
}  // namespace bvtest
