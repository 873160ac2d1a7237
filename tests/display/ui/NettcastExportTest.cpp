// The Nettcast export run by the display loop: a picture of two events and
// twelve targets written to a local folder (pictures checked by pngcheck,
// shot, index and program files byte for byte, the start page by Python's
// HTML parser), its three formats, when targets are written again, and the
// upload to a real FTP server in active mode, with what goes wrong there.
#include "NettcastFixture.h"

#include <chrono>
#include <map>
#include <sstream>

#include "RunCommand.h"
#include "platform/files/FileSystem.h"
#include "platform/system/Clock.h"

namespace bvtest {
namespace {

struct Shot {
    int value;
    int32_t x, y;
};

// The shots the fixture stored, by (event, lane).
std::map<std::pair<int, int>, std::vector<Shot>> KnownShots()
{
    return {
        {{1, 1}, {{1000, 1200, -3400}, {900, 15000, 20000}}},
        {{1, 2}, {{0, 9000000, -8400000}}},
        {{1, 5}, {{1000, -500, 700}}},
        {{2, 2}, {{800, 40000, 0}}},
    };
}

void Put16(std::string& out, int v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void Put24(std::string& out, int32_t v)
{
    const auto u = static_cast<uint32_t>(v);
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>((u >> 8) & 0xFF);
    out += static_cast<char>((u >> 16) & 0xFF);
}

// A shot file as its readers take it apart, from the shots alone.
std::string ExpectedShotFile(const std::vector<Shot>& shots, int zoom)
{
    int sum = 0;
    for (const Shot& s : shots)
        sum += s.value;
    std::string out(1, '\x61');
    Put24(out, sum);
    Put24(out, sum);
    out += static_cast<char>(zoom);
    out += static_cast<char>(shots.size());
    int n = 0;
    for (const Shot& s : shots) {
        Put16(out, ++n);
        Put16(out, s.value);
        Put24(out, s.x);
        Put24(out, s.y);
    }
    return out;
}

std::string ExpectedProgramFile(const std::vector<std::string>& names)
{
    std::string text = "[Program]\r\r\n";
    for (int i = 1; i <= 27; ++i)
        text += std::to_string(i) + "=" +
                (i <= static_cast<int>(names.size()) ? names[i - 1] : "Serie " + std::to_string(i)) + "\r\r\n";
    return text +
           "[State]\r\r\n1=Welcome\r\r\n2=Load\r\r\n3=Shoot\r\r\n4=Mark\r\r\n5=Finished\r\r\n"
           "[Total]\r\r\n1=Serie\r\r\n2=Total\r\r\n[Format]\r\r\nPrefix=Nr\r\r\nValue=DFS\r\r\n";
}

// The index lines of the fixture's twelve targets, in list order.
std::string ExpectedIndex(const std::string& relay1Lane1 = "1;1;Kari Nordmann;Brevandi;Senior;V55")
{
    std::string index;
    for (const auto& [event, lane] : kNettcastSlots) {
        std::string line = event == 1 ? "Hold 1: 50m/Fin.;" : "Bane 2;";
        if (event == 1 && lane == 1)
            line += relay1Lane1;
        else if (event == 1 && lane == 5)
            line += "1;5;Ola \xC5s;Sk\xF8yen;;";
        else if (event == 1)
            line += "1;" + std::to_string(lane) + ";;;;";
        else
            line += (lane <= 3 ? "2;" : "3;") + std::to_string(lane) + ";;;;";
        // Start score, an empty field, the target type.
        line += ";0;;1";
        index += line + "\r\r\n";
    }
    return index;
}

// The img sources of a start page as Python's HTML parser reads them.
std::vector<std::string> ImgSources(const std::string& page)
{
    TempFolder::Write("parse.py",
                      "import html.parser, sys\n"
                      "class P(html.parser.HTMLParser):\n"
                      "    def handle_starttag(self, tag, attrs):\n"
                      "        if tag == 'img':\n"
                      "            a = dict(attrs)\n"
                      "            print(a['src'], a['width'], a['height'])\n"
                      "P().feed(open(sys.argv[1], encoding='cp1252').read())\n");
    int status = -1;
    std::string out = RunCommand("/usr/bin/python3 parse.py " + page, &status);
    EXPECT_EQ(status, 0) << out;
    std::vector<std::string> lines;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

TEST_F(NettcastTest, ALocalExportOfTwoEventsAndTwelveTargets)
{
    Account("web", "", "");
    Picture(2);
    ASSERT_EQ(platform::CreateFolders("web"), 0);
    NettcastDisplay d;
    ASSERT_TRUE(d.TickUntil([&] { return d.State().exportCount >= 12; }, 60)) << d.State().status;
    EXPECT_EQ(d.State().exportCount, 12);
    // No server: the set-up counts as incomplete, the files are written all the same.
    EXPECT_LT(d.State().ftpState, 0);
    EXPECT_EQ(d.State().status, "Local web/ = 12");
    // The status line is all the window shows: black text on white, in its middle.
    QImage shown = d.window.Image();
    int dark = 0, elsewhere = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (qGray(shown.pixel(x, y)) < 128)
                ++(y > 40 && y < 80 && x > 100 && x < 380 ? dark : elsewhere);
    EXPECT_GT(dark, 50);
    EXPECT_EQ(elsewhere, 0);

    const auto shots = KnownShots();
    for (size_t k = 0; k < kNettcastSlots.size(); ++k) {
        const auto [event, lane] = kNettcastSlots[k];
        SCOPED_TRACE(TargetFile(event, lane, ""));
        int status = -1;
        const std::string check = RunCommand("pngcheck -v web/" + TargetFile(event, lane, ".png") + " 2>&1", &status);
        EXPECT_EQ(status, 0) << check;
        EXPECT_NE(check.find("240 x 180 image"), std::string::npos) << check;
        EXPECT_NE(check.find(", interlaced"), std::string::npos) << check;
        EXPECT_EQ(check.find("tRNS"), std::string::npos) << check;
        const CVisTarget& t = d.Target(static_cast<int>(k));
        const auto found = shots.find({event, lane});
        const std::vector<Shot> mine = found == shots.end() ? std::vector<Shot>{} : found->second;
        // The zoom ring the picture was drawn at.
        EXPECT_TRUE(t.zoomRing >= 0 && t.zoomRing <= 11) << t.zoomRing;
        EXPECT_EQ(TempFolder::Read("web/" + TargetFile(event, lane, ".BVD")), ExpectedShotFile(mine, t.zoomRing));
    }
    EXPECT_EQ(TempFolder::Read("web/" + TargetFile(1, 3, ".BVD")).size(), 9u);

    EXPECT_EQ(TempFolder::Read("web/index.txt"), ExpectedIndex());
    EXPECT_EQ(TempFolder::Read("web/Hold_1__50m_Fin_.TXT"), ExpectedProgramFile({"Pr\xF8ve", "Hovedskyting"}));
    EXPECT_EQ(TempFolder::Read("web/Bane_2.TXT"), ExpectedProgramFile({}));
    std::vector<std::string> imgs;
    for (const auto& [event, lane] : kNettcastSlots)
        imgs.push_back(TargetFile(event, lane, ".png") + " 240 180");
    EXPECT_EQ(ImgSources("web/default.htm"), imgs);
}

TEST_F(NettcastTest, EachTargetIsDrawnOnAWhitePictureOfItsOwn)
{
    // List rows each take a row of the picture: the picture of one row shows
    // that row and nothing of the rows drawn before it.
    Account("web", "", "");
    Picture(0, 60, 2);
    ASSERT_EQ(platform::CreateFolders("web"), 0);
    NettcastDisplay d;
    ASSERT_TRUE(d.TickUntil([&] { return d.State().exportCount >= 12; }, 60));
    for (size_t k = 0; k < kNettcastSlots.size(); ++k) {
        const auto [event, lane] = kNettcastSlots[k];
        SCOPED_TRACE(TargetFile(event, lane, ".png"));
        const platform::Rect cell = d.Target(static_cast<int>(k)).cell;
        QImage image("web/" + QString::fromStdString(TargetFile(event, lane, ".png")));
        ASSERT_EQ(image.size(), QSize(240, 180));
        int inside = 0, outside = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if ((image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                    continue;
                ++(x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom ? inside : outside);
            }
        EXPECT_GT(inside, 0);
        EXPECT_EQ(outside, 0) << cell.left << "," << cell.top << " " << cell.right << "," << cell.bottom;
    }
}

TEST_F(NettcastTest, EachFormatWritesItsFiles)
{
    struct Case {
        int format;
        bool png, bin;
    } cases[] = {{0, true, false}, {1, false, true}, {2, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const std::string local = "web" + std::to_string(c.format);
        ASSERT_EQ(platform::CreateFolders(local), 0);
        Account(local, "", "");
        Picture(c.format);
        NettcastDisplay d;
        ASSERT_TRUE(d.TickUntil([&] { return d.State().exportCount >= 12; }, 60));
        EXPECT_EQ(platform::FileExists(local + "/" + TargetFile(1, 5, ".png")), c.png);
        EXPECT_EQ(platform::FileExists(local + "/" + TargetFile(1, 5, ".BVD")), c.bin);
        EXPECT_EQ(platform::FileExists(local + "/default.htm"), c.png);
        EXPECT_EQ(platform::FileExists(local + "/Bane_2.TXT"), c.bin);
        EXPECT_EQ(TempFolder::Read(local + "/index.txt"), ExpectedIndex());
    }
}

TEST_F(NettcastTest, TargetsAreWrittenAgainWhenTheyChangeAndOnTime)
{
    Account("web", "", "");
    Picture(1, 12);
    ASSERT_EQ(platform::CreateFolders("web"), 0);
    NettcastDisplay d;
    d.Tick(2);
    // Loaded: every face is new, so every target is due within 2 s.
    for (size_t k = 0; k < kNettcastSlots.size(); ++k)
        EXPECT_LE(d.Target(static_cast<int>(k)).exportCountdown, 20);
    ASSERT_TRUE(d.TickUntil([&] { return d.State().exportCount >= 12; }, 30));
    // Then once every display time (12 s).
    CVisTarget& lane5 = d.Target(8);
    ASSERT_EQ(lane5.lane, 5);
    EXPECT_GE(lane5.exportCountdown, 118);
    EXPECT_EQ(lane5.exportNeeded, 0);
    const int before = d.State().exportCount;
    d.Tick(115);
    EXPECT_EQ(d.State().exportCount, before);
    d.Tick(6);
    EXPECT_EQ(d.State().exportCount, before + 12);

    // A new shot: that target within 2 s, the others not.
    const std::string file = "web/" + TargetFile(1, 5, ".BVD");
    StoreShot(*r1, 1, 5, 900, 3000, 3000);
    d.Tick(1);
    EXPECT_LE(lane5.exportCountdown, 20);
    ASSERT_TRUE(d.TickUntil([&] { return TempFolder::Read(file).size() == 9u + 2 * 10; }, 21));
    EXPECT_EQ(d.State().exportCount, before + 13);

    // 99 shots at once: written at the tick that reads them, not 2 s later.
    r1->Program(1, {100}, 10);
    for (int i = 0; i < 98; ++i)
        StoreShot(*r1, 1, 5, 1000, 100 * i, 0);
    d.Tick(1);
    ASSERT_EQ(lane5.currentShotCount, 100);
    // 98 new since the last export: not yet.
    EXPECT_EQ(TempFolder::Read(file).size(), 9u + 2 * 10);
    d.Tick(25);
    ASSERT_EQ(TempFolder::Read(file).size(), 9u + 100 * 10);
    r1->Card(2, 5);
    r1->Series(5, 1);
    d.Tick(25);
    ASSERT_EQ(lane5.currentShotCount, 0);
    ASSERT_EQ(TempFolder::Read(file).size(), 9u);
    for (int i = 0; i < 99; ++i)
        StoreShot(*r1, 2, 5, 1000, 100 * i, 0);
    d.Tick(1);
    ASSERT_EQ(lane5.currentShotCount, 99);
    EXPECT_EQ(TempFolder::Read(file).size(), 9u + 99 * 10);
}

TEST_F(NettcastTest, ANewRelaysShootersReachTheIndex)
{
    Account("web", "", "");
    Picture(1);
    ASSERT_EQ(platform::CreateFolders("web"), 0);
    NettcastDisplay d;
    ASSERT_TRUE(d.TickUntil([&] { return d.State().exportCount >= 12; }, 60));
    ASSERT_EQ(TempFolder::Read("web/index.txt"), ExpectedIndex());
    // The next relay on lane 1, with its shooter.
    Shooter(2, 1, 9, "Per Hansen", "Oslo", "Junior", "J");
    r1->Card(2, 1);
    r1->Series(1, 1);
    d.Tick(3);
    EXPECT_EQ(TempFolder::Read("web/index.txt"), ExpectedIndex("2;1;Per Hansen;Oslo;Junior;J"));
}

TEST_F(NettcastTest, AFileThatCannotBeWrittenIsNeitherCountedNorSent)
{
    Account("missing", "", "");
    Picture(2);
    NettcastDisplay d;
    ASSERT_TRUE(d.TickUntil([&] { return d.data.current && d.State().status.rfind("Error writing", 0) == 0; }, 60))
        << d.State().status;
    EXPECT_EQ(d.State().exportCount, 0);
    // Told once in the log, not at every tick.
    d.Tick(30);
    std::string log = TempFolder::Read("BVLog.txt");
    size_t told = 0;
    for (size_t at = log.find("Nettcast: not written"); at != std::string::npos;
         at = log.find("Nettcast: not written", at + 1))
        ++told;
    EXPECT_LE(told, 2u) << log;
    // The folder made: the next passes write.
    ASSERT_EQ(platform::CreateFolders("missing"), 0);
    d.Tick(2);
    EXPECT_EQ(TempFolder::Read("missing/index.txt"), ExpectedIndex());
}

class NettcastFtpTest : public NettcastTest {
protected:
    void SetUp() override
    {
        NettcastTest::SetUp();
        ASSERT_TRUE(server.Start(folder.File("site"), {{"range", kFtpPassword, "", kFtpAllRights},
                                                      {"guest", kFtpPassword, "", kFtpReadOnly}}))
            << server.Error();
        ASSERT_EQ(platform::CreateFolders("web"), 0);
        ASSERT_EQ(platform::CreateFolders("site/live"), 0);
    }
    std::string Served(const std::string& name) { return TempFolder::Read(folder.File("site/live/" + name)); }
    FtpServer server;
};

TEST_F(NettcastFtpTest, EveryFileArrivesInActiveMode)
{
    Account("web", "/live", server.Address());
    Picture(2);
    auto display = std::make_unique<NettcastDisplay>();
    NettcastDisplay& d = *display;
    ASSERT_TRUE(d.TickUntil([&] { return d.State().exportCount >= 12; }, 60)) << d.State().status;
    EXPECT_EQ(d.State().ftpState, 1);
    EXPECT_EQ(d.State().status, server.Address() + " = 12");
    std::vector<std::string> names = {"index.txt", "default.htm", "Hold_1__50m_Fin_.txt", "Bane_2.txt"};
    for (const auto& [event, lane] : kNettcastSlots) {
        names.push_back(TargetFile(event, lane, ".png"));
        names.push_back(TargetFile(event, lane, ".BVD"));
    }
    for (const std::string& name : names) {
        std::string local = name;
        if (name == "Hold_1__50m_Fin_.txt" || name == "Bane_2.txt")
            local = name.substr(0, name.size() - 3) + "TXT";
        const std::string bytes = TempFolder::Read("web/" + local);
        EXPECT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(Served(name), bytes) << name;
    }
    // One login; the server connected back for every transfer.
    EXPECT_EQ(server.Commands("USER").size(), 1u);
    EXPECT_EQ(server.Commands("PASV").size() + server.Commands("EPSV").size(), 0u);
    EXPECT_GE(server.Commands("PORT").size() + server.Commands("EPRT").size(), names.size());
    // The password is in no log line.
    EXPECT_EQ(TempFolder::Read("BVLog.txt").find(kFtpPassword), std::string::npos);
    EXPECT_EQ(server.Log().find(kFtpPassword), std::string::npos);
    // The display's data gone, the connection says goodbye.
    EXPECT_TRUE(server.Commands("QUIT").empty());
    display.reset();
    EXPECT_TRUE(Within([&] { return server.Commands("QUIT").size() == 1; }, 3000)) << server.Log();
}

TEST_F(NettcastFtpTest, NoServerWaitsTenSecondsBeforeTryingAgain)
{
    // Nothing listens on the server's port once it stopped.
    const std::string address = server.Address();
    server.Stop();
    Account("web", "/live", address);
    Picture(2);
    NettcastDisplay d;
    ASSERT_TRUE(d.TickUntil([&] { return d.State().ftpState < 0; }, 60));
    EXPECT_EQ(d.State().ftpState, -100);
    EXPECT_EQ(d.State().status, "FTP Failed!");
    // The target that tried waits a little longer than the connection.
    int waiting = 0;
    for (size_t k = 0; k < kNettcastSlots.size(); ++k)
        waiting += d.Target(static_cast<int>(k)).exportCountdown == 110;
    EXPECT_EQ(waiting, 1);
    // The others are written locally at the next pass.
    d.Tick(1);
    EXPECT_EQ(d.State().exportCount, 11);
    EXPECT_EQ(d.State().status, "FTP Failed!");
    // Not a password in the log.
    EXPECT_EQ(TempFolder::Read("BVLog.txt").find(kFtpPassword), std::string::npos);

    // The server back (the picture's account pointing at it): the export
    // connects again once its 100 ticks passed, not before.
    ASSERT_TRUE(server.Start(folder.File("site"), {{"range", kFtpPassword, "", kFtpAllRights}})) << server.Error();
    d.data.current->ftpServer = server.Address();
    d.Tick(97);
    EXPECT_LT(d.State().ftpState, 0);
    EXPECT_TRUE(server.Commands("USER").empty());
    ASSERT_TRUE(d.TickUntil([&] { return d.State().ftpState == 1; }, 20)) << d.State().status;
    EXPECT_EQ(server.Commands("USER").size(), 1u);
    d.Tick(2);
    EXPECT_EQ(Served("index.txt"), ExpectedIndex());
    EXPECT_FALSE(Served(TargetFile(1, 1, ".png")).empty());
}

TEST_F(NettcastFtpTest, AHungServerHoldsTheLoopForSecondsOnly)
{
    Account("web", "/live", server.Address());
    Picture(2);
    server.Freeze();
    NettcastDisplay d;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(d.TickUntil([&] { return d.State().ftpState < 0; }, 60)) << d.State().status;
    const auto held = std::chrono::steady_clock::now() - start;
    server.Thaw();
    EXPECT_EQ(d.State().status, "FTP Failed!");
    // The connection's limit here is 2 s; the loop went on well before 10.
    EXPECT_LT(held, std::chrono::seconds(10));
    d.Tick(1);
    EXPECT_EQ(d.State().exportCount, 11);
}

TEST_F(NettcastFtpTest, AnIncompleteSetupWritesLocallyOrNothing)
{
    struct Case {
        const char* local;
        const char* remote;
        bool server;
        const char* status;
    } cases[] = {
        {"web", "/live", false, "Local web/ = 12"},
        {"web", "", true, "Local web/ = 12"},
        {"", "/live", true, "No setup found!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status + std::string(" ") + c.remote);
        ASSERT_EQ(platform::CreateFolders("web"), 0);
        Account(c.local, c.remote, c.server ? server.Address() : "");
        Picture(2);
        NettcastDisplay d;
        d.Tick(30);
        EXPECT_EQ(d.State().status, c.status);
        EXPECT_GT(d.State().ftpState, -300);
        EXPECT_LT(d.State().ftpState, -270);
        EXPECT_EQ(platform::FileExists("web/index.txt"), c.local[0] != 0);
        EXPECT_TRUE(server.Commands("USER").empty());
        platform::RemoveFile("web/index.txt");
    }
}

TEST_F(NettcastFtpTest, AServerRefusingWritesTellsTransfersFailed)
{
    Account("web", "/live", server.Address(), "guest");
    Picture(2);
    NettcastDisplay d;
    ASSERT_TRUE(d.TickUntil([&] { return d.State().ftpState < 0; }, 60)) << d.State().status;
    EXPECT_EQ(d.State().ftpState, -100);
    EXPECT_EQ(d.State().status, "Error transfering files");
    EXPECT_TRUE(Served(TargetFile(1, 1, ".png")).empty());
    // Written locally all the same, and the next pass says why nothing was sent.
    EXPECT_FALSE(TempFolder::Read("web/" + TargetFile(1, 1, ".png")).empty());
    d.Tick(1);
    EXPECT_EQ(d.State().status, "FTP Failed!");
    EXPECT_EQ(TempFolder::Read("BVLog.txt").find(kFtpPassword), std::string::npos);
}

}  // namespace
}  // namespace bvtest
