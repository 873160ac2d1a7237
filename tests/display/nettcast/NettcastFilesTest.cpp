// The Nettcast export's files as bytes, its file names and folders, when a
// target is due, and the status line.
#include <gtest/gtest.h>

#include <cstdio>

#include "display/nettcast/NettcastFiles.h"

namespace {

// Bytes as "0a 1b ...".
std::string Hex(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        char two[4];
        std::snprintf(two, sizeof two, "%02x", c);
        out += (out.empty() ? "" : " ") + std::string(two);
    }
    return out;
}

TEST(NettcastNamesTest, StemsAndFolders)
{
    struct Case {
        const char* event;
        const char* stem;
    } stems[] = {
        {"Hold 1: 50m/Fin.", "Hold_1__50m_Fin_"},
        {"a\\b-c*d&e=f?g", "a_b_c_d_e_f_g"},
        // What would break a file name or the start page's unquoted src.
        {"<x>\"y\"#1%2'z\x01\x7F", "_x__y__1_2_z__"},
        {"Bane \xD8st", "Bane_\xD8st"},
        {"", ""},
    };
    for (const Case& c : stems)
        EXPECT_EQ(Nettcast::Stem(c.event), c.stem) << c.event;
    // An event name is 32 characters at most.
    EXPECT_EQ(Nettcast::Stem(std::string(40, 'A')), std::string(32, 'A'));
    EXPECT_EQ(Nettcast::TargetFile("Hold_1__50m_Fin_", 5, ".png"), "Hold_1__50m_Fin__5.png");
    EXPECT_EQ(Nettcast::TargetFile("Hold_1__50m_Fin_", 5, ".BVD"), "Hold_1__50m_Fin__5.BVD");

    struct Folder {
        const char* typed;
        const char* local;
        const char* remote;
    } folders[] = {
        {"", "", ""},
        {"web", "web/", "web/"},
        {"/www/live/", "/www/live/", "/www/live/"},
        {"C:\\Nettcast\\", "C:\\Nettcast\\", "C:/Nettcast/"},
        {"web\\live", "web\\live/", "web/live/"},
    };
    for (const Folder& f : folders) {
        EXPECT_EQ(Nettcast::LocalFolder(f.typed), f.local) << f.typed;
        EXPECT_EQ(Nettcast::RemoteFolder(f.typed), f.remote) << f.typed;
    }
    EXPECT_EQ(Nettcast::TextMode("a\nb\r\n"), "a\r\nb\r\r\n");
}

TEST(NettcastNamesTest, FormatsAndCountdownAfterAnExport)
{
    EXPECT_TRUE(Nettcast::ExportsPictures(0) && !Nettcast::ExportsBinary(0));
    EXPECT_TRUE(!Nettcast::ExportsPictures(1) && Nettcast::ExportsBinary(1));
    EXPECT_TRUE(Nettcast::ExportsPictures(2) && Nettcast::ExportsBinary(2));
    EXPECT_TRUE(Nettcast::ExportsPictures(7) && Nettcast::ExportsBinary(7));
    EXPECT_EQ(Nettcast::CountdownAfterExport(12), 120);
    // No display time would never export the target again.
    EXPECT_EQ(Nettcast::CountdownAfterExport(0), 300);
}

TEST(NettcastCountdownTest, DueWhenTheCountdownRunsOutOrManyShotsCame)
{
    struct Case {
        int countdown, shots, shotsAtExport;
        bool due;
        int countdownAfter;
    } cases[] = {
        {300, 0, 0, false, 299},
        {1, 0, 0, true, 0},
        // Run out long ago: only shots make it due.
        {0, 5, 0, false, 0},
        {0, 99, 0, true, 0},
        {250, 140, 41, true, 249},
        {250, 139, 41, false, 249},
    };
    for (const Case& c : cases) {
        CVisTarget t(1);
        t.exportCountdown = c.countdown;
        t.currentShotCount = c.shots;
        t.exportShotCount = c.shotsAtExport;
        EXPECT_EQ(Nettcast::StepCountdown(t), c.due) << c.countdown << " " << c.shots;
        EXPECT_EQ(t.exportCountdown, c.countdownAfter);
    }
    // Due stays due until the export took it.
    CVisTarget t(1);
    t.exportCountdown = 1;
    ASSERT_TRUE(Nettcast::StepCountdown(t));
    EXPECT_TRUE(Nettcast::StepCountdown(t));
}

TEST(NettcastCountdownTest, ChangesBringTheNextExportNearer)
{
    struct Case {
        int countdown, mask;
        bool face, relayout;
        int after;
    } cases[] = {
        {300, 0x80, false, false, 100},
        {300, 0x10000, false, false, 20},
        {300, 0x10080, false, false, 20},
        {300, 0, true, false, 20},
        {300, 0, false, true, 20},
        {300, 0x20, false, false, 300},
        // Never later than it already was.
        {50, 0x80, false, false, 50},
        {7, 0x10000, false, false, 7},
        {0, 0x10080, true, true, 0},
    };
    for (const Case& c : cases) {
        CVisTarget t(1);
        t.exportCountdown = c.countdown;
        t.redrawMask = c.mask;
        t.faceRedraw = c.face;
        t.relayout = c.relayout;
        Nettcast::LowerCountdown(t);
        EXPECT_EQ(t.exportCountdown, c.after) << c.countdown << " " << c.mask;
    }
}

ShotRecord At(int value, int32_t x, int32_t y)
{
    ShotRecord s{};
    s.value = static_cast<int16_t>(value);
    s.x = x;
    s.y = y;
    return s;
}

TEST(NettcastShotFileTest, HeaderAndShotsAsBytes)
{
    CVisTarget t(1);
    t.lane = 5;
    // Bits above the series' five are the range control's own.
    t.active.seriesState = 0x83;
    t.values[CVisTarget::kValSeriesSum].number = 9870;
    t.values[CVisTarget::kValTotal].number = 0x1234567;
    t.zoomRing = 7;
    EXPECT_EQ(Hex(Nettcast::ShotFile(t)), "63 8e 26 00 67 45 23 07 00");

    // Shown shots in display order, whatever their slots; coordinates beyond
    // three bytes keep their low three.
    t.shots.shots[4] = At(1090, 8388608, -8388609);
    t.shots.shots[0] = At(-1, -1, 1200);
    t.shownShotMap[1] = 4;
    t.shownShotMap[2] = 0;
    t.currentShotCount = 2;
    EXPECT_EQ(Hex(Nettcast::ShotFile(t)),
              "63 8e 26 00 67 45 23 07 02 "
              "01 00 42 04 00 00 80 ff ff 7f "
              "02 00 ff ff ff ff ff b0 04 00");
}

TEST(NettcastShotFileTest, AHundredShotsAtMost)
{
    CVisTarget t(1);
    t.currentShotCount = 140;
    for (int i = 1; i <= 100; ++i)
        t.shownShotMap[i] = i;
    const std::string bytes = Nettcast::ShotFile(t);
    ASSERT_EQ(bytes.size(), 9u + 100 * 10);
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 100);
    // The last record is the hundredth shot.
    EXPECT_EQ(static_cast<unsigned char>(bytes[9 + 99 * 10]), 100);
}

TEST(NettcastTextFilesTest, IndexAndStartPageListTargetsWithALane)
{
    CVisEvent hold(1), bane(2);
    std::snprintf(hold.name, sizeof hold.name, "Hold 1: 50m/Fin.");
    std::snprintf(bane.name, sizeof bane.name, "Bane 2");
    CVisPicture pic(1);
    struct Row {
        CVisEvent* event;
        int lane, relay, startScore, type;
        const char* name;
    } rows[] = {
        {&hold, 5, 3, 0, 1, "Kari Nordmann"},
        {&bane, 0, 0, 0, 0, "no lane"},
        {&bane, 12, 1, 4750, 255, ""},
    };
    for (const Row& r : rows) {
        CVisTarget& t = pic.AddTarget(r.lane + 1);
        t.event = r.event;
        t.lane = r.lane;
        t.card.relay = static_cast<int16_t>(r.relay);
        t.card.targetType = static_cast<uint8_t>(r.type);
        t.startScore = r.startScore;
        std::snprintf(t.values[CVisTarget::kValName].text, 32, "%s", r.name);
    }
    std::snprintf(pic.targets[0]->values[CVisTarget::kValClub].text, 32, "Skytterlag");
    std::snprintf(pic.targets[0]->values[CVisTarget::kValClass].text, 32, "V55");
    std::snprintf(pic.targets[0]->values[CVisTarget::kValCategory].text, 32, "R");
    EXPECT_EQ(Nettcast::IndexText(pic),
              "Hold 1: 50m/Fin.;3;5;Kari Nordmann;Skytterlag;V55;R;0;;1\r\r\n"
              "Bane 2;1;12;;;;;4750;;255\r\r\n");
    EXPECT_EQ(Nettcast::StartPage(pic),
              "<html><head><META HTTP-EQUIV=REFRESH CONTENT=10; URL=./default.htm><meta http-equiv=Content-Type "
              "content=text/html; charset=windows-1252><title>Brevandi AS</title></head><body>\r\r\n<p>"
              "<img border=0 src=Hold_1__50m_Fin__5.png width=240 height=180>"
              "<img border=0 src=Bane_2_12.png width=240 height=180></p>\r\r\n</body></html>\r\r\n");
}

TEST(NettcastTextFilesTest, ProgramFileNamesTheSeries)
{
    // Without a program file the series have their default names.
    CVisEvent e(1);
    e.program = 3;
    std::string want = "[Program]\r\r\n";
    for (int i = 1; i <= 27; ++i)
        want += std::to_string(i) + "=Serie " + std::to_string(i) + "\r\r\n";
    want += "[State]\r\r\n1=Welcome\r\r\n2=Load\r\r\n3=Shoot\r\r\n4=Mark\r\r\n5=Finished\r\r\n"
            "[Total]\r\r\n1=Serie\r\r\n2=Total\r\r\n[Format]\r\r\nPrefix=Nr\r\r\nValue=DFS\r\r\n";
    EXPECT_EQ(Nettcast::ProgramFile(e), want);
}

TEST(NettcastStatusTest, OneLineForEveryState)
{
    using Nettcast::StatusFacts;
    auto facts = [](int state, const char* server, const char* remote, const char* local) {
        StatusFacts f;
        f.ftpState = state;
        f.exportCount = 17;
        f.server = server;
        f.ftpFolder = remote;
        f.localFolder = local;
        return f;
    };
    struct Case {
        StatusFacts facts;
        const char* line;
    } cases[] = {
        {facts(1, "ftp.club.no", "live", "C:\\Web\\"), "ftp.club.no = 17"},
        {facts(0, "ftp.club.no", "live", "C:\\Web\\"), "WEB wait to connect"},
        {facts(-99, "ftp.club.no", "live", "C:\\Web\\"), "FTP Failed!"},
        {facts(-299, "", "live", "C:\\Web\\"), "Local C:\\Web\\ = 17"},
        {facts(-299, "ftp.club.no", "", "C:\\Web\\"), "Local C:\\Web\\ = 17"},
        {facts(-299, "ftp.club.no", "live", ""), "No setup found!"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Nettcast::StatusText(c.facts), c.line);
    StatusFacts failed = facts(-100, "ftp.club.no", "live", "web/");
    failed.transferFailed = true;
    EXPECT_EQ(Nettcast::StatusText(failed), "Error transfering files");
    // A file not written says so before anything else.
    failed.writeFailed = "web/index.txt";
    EXPECT_EQ(Nettcast::StatusText(failed), "Error writing web/index.txt");
}

}  // namespace
