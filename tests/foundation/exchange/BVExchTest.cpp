// Results to the results programs, in each program's format, and names back.
#include "foundation/files/BVConfig.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/exchange/BVExch.h"
#include "foundation/files/BVIniFile.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/ArchiveFlag.h"
#include "platform/system/Codepage.h"
#include "platform/files/FileSystem.h"
#include "tests/foundation/comp/RangeFixture.h"
#include "RunCommand.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <sys/stat.h>

using namespace ProgramItems;

namespace {

namespace fs = std::filesystem;
using bvtest::MakeCard;
using bvtest::MakeShot;
using bvtest::TempFolder;

// A range folder with its exchange folder .\BV, line channel 1 serving lanes
// 1 to 100, shooting program 1 (series 1: five shots, exchanged as series 1;
// series 2: two shots, exchanged as series 5; two shots a line) and
// competition 1 on it with lanes 3 and 100 active, shot at 100 m on 200 m
// targets. Relay 1 has shot on lanes 3, 100 and the inactive lane 7.
class ExchTest : public bvtest::RangeTest {
protected:
    void SetUp() override
    {
        RangeTest::SetUp();
        ASSERT_EQ(platform::CreateFolders("BV"), 0);
        {
            CBVConfig range;
            range.Open(".\\BVLeder.bvc", 1);
            CRangeSettings::WriteChannel(range, 0, ChannelSetting{3, 1, 100});
            CRangeSettings::WriteExchangeFolder(range, ".\\BV");
        }
        {
            CBVConfig prog;
            prog.Open(".\\Program.BVC", 1);
            prog.WriteString(kProgramSection, 1, kKeyName, "Test");
            prog.WriteInt(kProgramSection, 1, kKeySerieCount, 2);
            prog.WriteInt(kProgramSection, 1, kKeySize, 2);
            prog.WriteInt(kSerieShots, 1, 2, 5);
            prog.WriteInt(kSerieExch, 1, 2, 1);
            prog.WriteInt(kSerieShots, 1, 3, 2);
            prog.WriteInt(kSerieExch, 1, 3, 5);
        }
        CDataComp dc;
        OpenComp(dc);
        CBVConfig& comp = dc.CompConfig();
        comp.WriteInt(2, 1, 15, 1);
        comp.WriteInt(1, 3, 530, 1);
        comp.WriteInt(1, 100, 530, 1);
        comp.WriteInt(2, 1, 5, 200);
        comp.WriteInt(2, 1, 6, 100);

        CardRecord card = MakeCard(1, 3, 1, 1);
        card.resultState = 2;
        ASSERT_EQ(dc.GetCard(card, 1), 1);
        struct Shot {
            int series, value, x, y, at;
            uint16_t flags;
        } shots[] = {
            {1, 1090, 12345, -2050, 101, 1}, {1, 1000, -4999, 150, 102, 1}, {1, 950, 0, 0, 103, 1 | 4},
            {1, 1150, 250, -250, 104, 1},    {1, 870, 30001, 1, 105, 1},    {2, 1000, 0, 0, 201, 1},
            {2, 1000, 0, 0, 202, 1},
        };
        for (const Shot& s : shots) {
            ShotRecord r = MakeShot(s.series, s.value, s.x, s.y);
            r.shotAt = s.at;
            r.flags = s.flags;
            ASSERT_GT(dc.AddShot(1, 3, r, nullptr, 5, 0), 0);
        }
        ShotListRecord list;
        ASSERT_EQ(dc.ReadShots(1, 3, list), 0);
        std::strcpy(list.comment, ("Skive byttet\r\nbane 3 " + platform::Ansi("ø")).c_str());
        ASSERT_GT(dc.WriteShots(1, 3, list), 0);

        for (int lane : {100, 7}) {
            CardRecord other = MakeCard(1, lane, 40, 1);
            ASSERT_EQ(dc.GetCard(other, 1), 1);
            ShotRecord r = MakeShot(1, 1000, 0, 0);
            r.shotAt = 7;
            ASSERT_GT(dc.AddShot(1, lane, r, nullptr, 5, 0), 0);
        }
    }

    static void SetRange(int section, int index, int key, int value)
    {
        CBVConfig range;
        range.Open(".\\BVLeder.bvc", 1);
        range.WriteInt(section, index, key, value);
    }

    static void SetComp(int section, int index, int key, const std::string& value)
    {
        CBVConfig comp;
        comp.Open(".\\Comp1\\Comp.BVC", 1);
        comp.WriteString(section, index, key, value.c_str());
    }

    // Every file of the exchange folder with its bytes.
    static std::map<std::string, std::string> Exchanged()
    {
        std::map<std::string, std::string> files;
        for (const std::string& name : platform::FindFiles(".\\BV", "*"))
            files[name] = TempFolder::Read("BV/" + name);
        return files;
    }

    static int Export(int firstRelay = 0, int lastRelay = 0)
    {
        CBVExch exch;
        return exch.ExportResults(1, firstRelay, lastRelay, 0, 0, "");
    }
};

const std::string kLane3 =
    "[Def]\r\nTarget=DFS 200m\r\nTargetID=1\r\n"
    "[Res]\r\n"
    "Ser1= 109 100\r\nX1= 62 -25\r\nY1= -10 1\r\nT1= 101 102\r\n"
    "Ser2= 95 115\r\nX2= 0 1\r\nY2= 0 -1\r\nT2= 103 104\r\n"
    "Ser3= 87\r\nX3= 150\r\nY3= 0\r\nT3=\r\n"
    "Ser5= 100 100\r\nX5= 0 0\r\nY5= 0 0\r\nT5=\r\n"
    "[Notes]\r\nState=2\r\nComments=Skive byttet\\|bane 3 \xF8\r\n";
const std::string kLane100 =
    "[Def]\r\nTarget=Nordisk r\xE5" "dyr\r\nTargetID=40\r\n"
    "[Res]\r\nSer1= 100\r\nX1= 0\r\nY1= 0\r\nT1=\r\n"
    "[Notes]\r\nState=0\r\nComments=\r\n";

TEST_F(ExchTest, GoldenFilesForEveryResultsProgram)
{
    const std::map<std::string, std::string> shooterFiles{{"H1R00103.txt", kLane3}, {"H1R001100.txt", kLane100}};
    const std::map<std::string, std::string> lineFile{{"H1-01-5.001", " 3: XX9*8XX\r\n100: X??????\r\n"}};
    const std::map<std::string, std::string> csvFile{
        {"H1ISSF001.CSV", " 3: 100 100  90 100  80 100 100 \r\n100: 100   0   0   0   0   0   0 \r\n"}};
    struct Case {
        int program;
        int result;
        std::map<std::string, std::string> files;
    } cases[] = {
        {0, 0, shooterFiles}, {1, 0, shooterFiles}, {2, 0, shooterFiles}, {3, 0, lineFile},     {4, 0, lineFile},
        {5, 0, lineFile},     {6, 0, shooterFiles}, {7, 0, csvFile},      {8, -1, {}},          {9, 0, shooterFiles},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("results program " + std::to_string(c.program));
        fs::remove_all("BV");
        fs::create_directories("BV");
        SetRange(1, 1, 15, c.program);
        EXPECT_EQ(Export(1, 1), c.result);
        EXPECT_EQ(Exchanged(), c.files);
    }
    // The unknown program was written in the system's own format, and said so.
    EXPECT_NE(TempFolder::Read("BVLog.txt").find("Ukjent resultatprogram valgt (9) - bruker BVRes format"),
              std::string::npos);
}

TEST_F(ExchTest, PythonsConfigparserReadsTheResultFiles)
{
    ASSERT_EQ(Export(), 0);  // relay 0: the relay now on each lane
    TempFolder::Write("read.py",
                      "import configparser, sys\n"
                      "cp = configparser.ConfigParser(interpolation=None)\n"
                      "cp.optionxform = str\n"
                      "with open(sys.argv[1], encoding='cp1252', newline='') as f:\n"
                      "    cp.read_file(f)\n"
                      "out = open('parsed.txt', 'w', encoding='utf-8')\n"
                      "for s in cp.sections():\n"
                      "    for k, v in cp.items(s):\n"
                      "        out.write(s + '.' + k + '=' + v + '\\n')\n");
    ASSERT_EQ(std::system("python3 read.py BV/H1R00103.txt"), 0);
    EXPECT_EQ(TempFolder::Read("parsed.txt"),
              "Def.Target=DFS 200m\nDef.TargetID=1\n"
              "Res.Ser1=109 100\nRes.X1=62 -25\nRes.Y1=-10 1\nRes.T1=101 102\n"
              "Res.Ser2=95 115\nRes.X2=0 1\nRes.Y2=0 -1\nRes.T2=103 104\n"
              "Res.Ser3=87\nRes.X3=150\nRes.Y3=0\nRes.T3=\n"
              "Res.Ser5=100 100\nRes.X5=0 0\nRes.Y5=0 0\nRes.T5=\n"
              "Notes.State=2\nNotes.Comments=Skive byttet\\|bane 3 ø\n");
    // Written since the results program last read it.
    EXPECT_TRUE(platform::TestAndClearArchiveFlag("BV\\H1R00103.txt"));
}

TEST_F(ExchTest, ARewrittenCardLeavesNoStaleSeriesAndTheStartNumberStays)
{
    ASSERT_EQ(Export(), 0);
    // The results program has put its start number into the file.
    CBVIniFile results;
    results.PutInt("Def", "StartNr", 1234);
    ASSERT_EQ(results.Write(".\\BV\\H1R00103.txt"), 0);

    // The card is shot again with a single shot.
    CDataComp dc;
    OpenComp(dc);
    ASSERT_GT(dc.DeleteShots(1, 3), 0);
    ShotRecord r = MakeShot(1, 990, 0, 0);
    ASSERT_GT(dc.AddShot(1, 3, r, nullptr, 5, 0), 0);
    ASSERT_EQ(Export(), 0);
    EXPECT_EQ(TempFolder::Read("BV/H1R00103.txt"),
              "[Def]\r\nTarget=DFS 200m\r\nTargetID=1\r\nStartNr=1234\r\n"
              "[Res]\r\nSer1= 99\r\nX1= 0\r\nY1= 0\r\nT1=\r\n"
              "[Notes]\r\nState=2\r\nComments=\r\n");
}

TEST_F(ExchTest, TheDistanceScaleNeverDividesByNothing)
{
    // A missing, zero or unreadable distance is the target type's own
    // (200 m): the scale is simulated over that.
    struct Case {
        const char* actual;
        const char* simulated;
        const char* x1;
    } cases[] = {
        {"0", "100", " 62 -25"},     // 100 / 200
        {"abc", "200", " 123 -50"},  // 200 / 200
        {"200", "0", " 123 -50"},    // 200 / 200
        {"-5", "400", " 247 -100"},  // 400 / 200
    };
    for (const Case& c : cases) {
        SetComp(2, 1, 5, c.actual);
        SetComp(2, 1, 6, c.simulated);
        ASSERT_EQ(Export(), 0) << c.actual;
        CBVIniFile ini;
        ASSERT_EQ(ini.Open(".\\BV\\H1R00103.txt"), 0);
        EXPECT_EQ(" " + ini.GetString("Res", "X1"), c.x1) << c.actual << "/" << c.simulated;
    }
}

TEST_F(ExchTest, TurningTargetsCountMarkedShotsAsZeroAndSendEveryTime)
{
    SetRange(1, 1, 1, 1);  // turning targets
    ASSERT_EQ(Export(), 0);
    CBVIniFile ini;
    ASSERT_EQ(ini.Open(".\\BV\\H1R00103.txt"), 0);
    EXPECT_EQ(ini.GetString("Res", "Ser2"), "0 115");
    EXPECT_EQ(ini.GetString("Res", "T3"), "105");
    EXPECT_EQ(ini.GetString("Res", "T5"), "201 202");
}

TEST_F(ExchTest, FailuresAreReportedByTheirCodes)
{
    CBVExch exch;
    EXPECT_EQ(exch.ExportResults(0, 0, 0, 0, 0, ""), CBVExch::kPracticeCompetition);
    EXPECT_EQ(exch.ExportResults(5, 0, 0, 0, 0, ""), CBVExch::kPracticeCompetition);  // no such competition
    EXPECT_EQ(exch.ExportResults(1, 0, 0, 0, 0, ".\\NoSuchFolder"), CBVExch::kFolderNotWritable);
    EXPECT_EQ(exch.FailedFolder(), ".\\NoSuchFolder\\");

    struct Prefix {
        const char* prefix;
        int result;
    } prefixes[] = {{"h1", 0}, {"Z9", 0}, {"H12", -4}, {"1H", -4}, {"", -4}, {"H", -4}, {"HH", -4}};
    for (const Prefix& p : prefixes) {
        SetComp(630, 1, 620, p.prefix);
        EXPECT_EQ(exch.ExportResults(1, 0, 0, 0, 0, ""), p.result) << p.prefix;
    }
    EXPECT_EQ(exch.prefix, "HH");  // the refused prefix, for the message
    SetComp(630, 1, 620, "H1");

    SetRange(1, 1, 15, 3);
    EXPECT_EQ(exch.ExportResults(1, 0, 0, 0, 0, ""), CBVExch::kNoRelayRange);
    EXPECT_EQ(exch.ExportResults(1, 1, 0, 0, 0, ""), CBVExch::kNoRelayRange);
    fs::create_directories("BV/H1-01-5.002");  // a folder where the file should go
    EXPECT_EQ(exch.ExportResults(1, 1, 2, 0, 0, ""), CBVExch::kFileNotCreated);
    EXPECT_EQ(exch.FailedFile(), ".\\BV\\H1-01-5.002");
    EXPECT_TRUE(fs::exists("BV/H1-01-5.001"));
}

// A card or shot file that cannot be read sends nothing for its lanes: an
// empty result file would tell the results program the shots were deleted.
TEST_F(ExchTest, ACardThatCannotBeReadIsNotSentAsACleared)
{
    struct Case {
        const char* file;
        int resultsProgram;
    } cases[] = {{"Comp1/Shot.BVD", 0}, {"Comp1/Card.BVD", 0}, {"Comp1/Shot.BVD", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.resultsProgram));
        SetRange(1, 1, 15, c.resultsProgram);
        std::string kept = TempFolder::Read(c.file);
        TempFolder::Write(c.file, kept.substr(0, 5));
        fs::remove_all("BV");
        fs::create_directories("BV");
        fs::remove("BVLog.txt");
        CBVExch exch;
        EXPECT_EQ(exch.ExportResults(1, 1, 1, 0, 0, ""), 0);
        if (c.resultsProgram == 0) {
            EXPECT_TRUE(Exchanged().empty());
        } else {
            // The relay's line file leaves the lanes out.
            EXPECT_EQ(TempFolder::Read("BV/H1-01-5.001"), "");
        }
        std::string log = TempFolder::Read("BVLog.txt");
        EXPECT_NE(log.find("Card 1:3 unreadable - not sent"), std::string::npos) << log;
        EXPECT_NE(log.find("Card 1:100 unreadable - not sent"), std::string::npos) << log;
        TempFolder::Write(c.file, kept);
    }
}

TEST_F(ExchTest, LanesFromTheFirstOneAndAtMostSoManyShooters)
{
    CBVExch exch;
    EXPECT_EQ(exch.ExportResults(1, 0, 0, 4, 0, ""), 0);
    EXPECT_EQ(Exchanged().size(), 1u);  // lane 100 only
    EXPECT_TRUE(Exchanged().count("H1R001100.txt"));
    fs::remove_all("BV");
    fs::create_directories("BV");
    EXPECT_EQ(exch.ExportResults(1, 0, 0, 0, 1, ""), 0);
    EXPECT_EQ(Exchanged().size(), 1u);  // lane 3 only
    EXPECT_TRUE(Exchanged().count("H1R00103.txt"));
    // A lane no line channel serves is not exported.
    CBVConfig range;
    range.Open(".\\BVLeder.bvc", 1);
    CRangeSettings::WriteChannel(range, 0, ChannelSetting{3, 1, 99});
    fs::remove_all("BV");
    fs::create_directories("BV");
    EXPECT_EQ(exch.ExportResults(1, 0, 0, 0, 0, ""), 0);
    EXPECT_EQ(Exchanged().size(), 1u);
}

// The range keeps one export object for the export after every stored shot,
// with the competition's files open from one export to the next: each export
// still writes what a fresh object writes, after shots and after changes of
// the settings, and touches only the shooting lane's file.
TEST_F(ExchTest, AKeptExportFollowsShotsAndSettingsAndWritesOnlyItsLane)
{
    ASSERT_EQ(Export(), 0);
    struct stat before;
    ASSERT_EQ(stat("BV/H1R001100.txt", &before), 0);
    const std::string lane100 = TempFolder::Read("BV/H1R001100.txt");

    auto addShot = [&](int value, int x) {
        CDataComp dc;
        OpenComp(dc);
        ShotRecord r = MakeShot(2, value, x, 0);
        ASSERT_GT(dc.AddShot(1, 3, r, nullptr, 5, 0), 0);
    };
    struct Step {
        const char* what;
        std::function<void()> change;
    } steps[] = {
        {"nothing new", [] {}},
        {"a shot", [&] { addShot(1010, 100); }},
        {"two shots", [&] { addShot(990, -200), addShot(1090, 300); }},
        {"the program's exchange numbers",
         [] {
             CBVConfig prog;
             prog.Open(".\\Program.BVC", 1);
             prog.WriteInt(kSerieExch, 1, 3, 6);
         }},
        {"the real distance", [] { SetComp(2, 1, 6, "50"); }},
        {"the card shot again",
         [&] {
             CDataComp dc;
             OpenComp(dc);
             ASSERT_GT(dc.DeleteShots(1, 3), 0);
             addShot(870, 0);
         }},
    };
    CBVExch kept;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        ASSERT_EQ(kept.ExportResults(1, 1, 1, 3, 1, ""), 0);
        const std::string got = TempFolder::Read("BV/H1R00103.txt");
        fs::remove("BV/H1R00103.txt");
        CBVExch fresh;
        ASSERT_EQ(fresh.ExportResults(1, 1, 1, 3, 1, ""), 0);
        EXPECT_EQ(got, TempFolder::Read("BV/H1R00103.txt"));
        EXPECT_EQ(Exchanged().size(), 2u);
    }
    struct stat after;
    ASSERT_EQ(stat("BV/H1R001100.txt", &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(TempFolder::Read("BV/H1R001100.txt"), lane100);
}

TEST_F(ExchTest, StartNumberModeNamesFilesByStartNumber)
{
    {
        CDataComp dc;
        OpenComp(dc);
        CompOptions options;
        options.Set(CompOptions::StartNumbers, true);
        CompSettings::WriteOptions(dc.CompConfig(), options);
        dc.Open(1, 1);
        CardRecord card = MakeCard(1234, 3, 1, 1);
        ASSERT_EQ(dc.GetCard(card, 1), 1);
        ShotRecord r = MakeShot(1, 1000, 0, 0);
        ASSERT_GT(dc.AddShot(1234, 3, r, nullptr, 5, 0), 0);
    }
    fs::remove_all("BV");
    fs::create_directories("BV");
    ASSERT_EQ(Export(), 0);
    EXPECT_EQ(Exchanged().count("H1R01234.txt"), 1u);
}

TEST_F(ExchTest, TheMixedPistolTargetIsToldByItsSeries)
{
    // Target type 29: series with Target 2 (q) and others (r).
    struct Case {
        int targetOfSeries1, targetOfSeries2, sensitivity;
        int id, def;
    } cases[] = {
        {2, -1, 2, 29, 1}, {2, -1, 0, 29, 129}, {2, 2, 2, 21, 0}, {2, 2, 1, 22, 0}, {-1, -1, 2, 19, 0}, {-1, 5, 1, 20, 0},
    };
    for (const Case& c : cases) {
        {
            CBVConfig prog;
            prog.Open(".\\Program.BVC", 1);
            prog.WriteInt(kSerieTarget, 1, 2, c.targetOfSeries1);
            prog.WriteInt(kSerieTarget, 1, 3, c.targetOfSeries2);
            CDataComp dc;
            OpenComp(dc);
            CardRecord card = MakeCard(1, 3);
            ASSERT_EQ(dc.GetCard(card, 0), 0);
            card.targetType = 29;
            card.sensitivity = static_cast<uint8_t>(c.sensitivity);
            ASSERT_EQ(dc.CardFile().WriteRec(1, &card), 0);
        }
        ASSERT_EQ(Export(), 0);
        CBVIniFile ini;
        ASSERT_EQ(ini.Open(".\\BV\\H1R00103.txt"), 0);
        EXPECT_EQ(ini.GetInt("Def", "TargetID", -1), c.id);
        EXPECT_EQ(ini.GetInt("Def", "TargetIDDef", -1), c.def);
    }
    // Another type again: the pistol's second key goes.
    {
        CDataComp dc;
        OpenComp(dc);
        CardRecord card = MakeCard(1, 3);
        ASSERT_EQ(dc.GetCard(card, 0), 0);
        card.targetType = 1;
        ASSERT_EQ(dc.CardFile().WriteRec(1, &card), 0);
    }
    ASSERT_EQ(Export(), 0);
    CBVIniFile ini;
    ASSERT_EQ(ini.Open(".\\BV\\H1R00103.txt"), 0);
    EXPECT_FALSE(ini.Lookup("Def", "TargetIDDef"));
}

// --- Names ---

class NameImportTest : public ExchTest {
protected:
    // Makes an import object ask relay `relay` on every lane listed.
    static void Ask(CBVExch& exch, int program, int relay, std::initializer_list<int> lanes)
    {
        exch.resultsProgram = program;
        exch.prefix = "H1";
        exch.exchangeFolder = ".\\BV";
        for (int lane : lanes)
            exch.relays[lane] = relay;
    }
};

// Some results programs write their column files in the Nordic DOS code page,
// others in Windows-1252: the names of both read right.
TEST_F(NameImportTest, ColumnFilesInTheDosPageAndInWindows1252BothGiveTheirNames)
{
    struct Case {
        const char* page;
        std::string utf8Name, utf8Club;
    };
    const Case cases[] = {
        {"CP865", "Åse Ærø Bjørnsen", "Øvre Åsen Skyttarlag"},
        {"CP1252", "Åse Sjöberg Ærø", "Müller Bjørkelangen"},  // æ ø ö stay as they are
    };
    for (const auto& [page, utf8Name, utf8Club] : cases) {
        SCOPED_TRACE(page);
        // Columns are counted in bytes of the file: pad after converting.
        TempFolder::Write("utf8.txt", utf8Name + "\n" + utf8Club + "\n");
        std::string converted = bvtest::RunCommand(std::string("iconv -f UTF-8 -t ") + page + " utf8.txt");
        size_t cut = converted.find('\n');
        ASSERT_NE(cut, std::string::npos);
        std::string name = converted.substr(0, cut), club = converted.substr(cut + 1, converted.size() - cut - 2);
        std::string line = "7";
        line.resize(12, ' ');
        line += "V55 " + name;
        line.resize(37, ' ');
        line += club;
        line.resize(58, ' ');
        TempFolder::Write("BV/H1-XX-s.003", line + "12\r\n");
        CBVExch exch;
        Ask(exch, 3, 3, {7});
        ASSERT_EQ(exch.ImportNames(3, 0, 1, ""), 0);
        EXPECT_EQ(std::string(exch.names[7].name), platform::Ansi(utf8Name));
        EXPECT_EQ(std::string(exch.names[7].club), platform::Ansi(utf8Club));
    }
}

TEST_F(NameImportTest, TheColumnFileByLane)
{
    // Columns: lane, class at 12, name at 16, club at 37, start score at 58;
    // the file is in the Nordic DOS code page (0x9B is ø there).
    auto line = [](const std::string& lane, const std::string& cls, const std::string& name, const std::string& club,
                   const std::string& score) {
        std::string l = lane;
        l.resize(12, ' ');
        l += cls;
        l.resize(16, ' ');
        l += name;
        l.resize(37, ' ');
        l += club;
        l.resize(58, ' ');
        return l + score + "\r\n";
    };
    TempFolder::Write("BV/H1-XX-s.003", line("7", "V55", "Kari Nordmann", "Bj\x9Brkelangen", "98.5") +
                                            line("8", "Sr", "Annen Stafett", "X", "1") +
                                            line("100", "Jr", "Per Hundre", "Y", "100,5") +
                                            line("0", "A", "Lane Null", "Z", "1") +
                                            line("101", "A", "Lane Over", "Z", "1") +
                                            line("4294967303", "A", "Wrapped", "Z", "1") +
                                            line("-7", "A", "Negative", "Z", "1") +
                                            line("abc", "A", "No Lane", "Z", "1"));
    CBVExch exch;
    Ask(exch, 3, 3, {7, 100, 9});
    exch.relays[8] = 4;  // lane 8 shoots another relay
    EXPECT_EQ(exch.ImportNames(3, 0, 1, ""), 0);
    EXPECT_STREQ(exch.names[7].name, "Kari Nordmann");
    EXPECT_STREQ(exch.names[7].club, platform::Ansi("Bjørkelangen").c_str());
    EXPECT_STREQ(exch.names[7].cls, "V55");
    EXPECT_EQ(+exch.names[7].startScore, 9850);
    EXPECT_EQ(+exch.names[7].startNumber, 307);
    EXPECT_STREQ(exch.names[100].name, "Per Hundre");
    EXPECT_EQ(+exch.names[100].startNumber, 400);
    EXPECT_EQ(+exch.names[100].startScore, 10050);
    EXPECT_STREQ(exch.names[8].name, "");  // another relay
    EXPECT_EQ(+exch.names[8].startNumber, -1);
    EXPECT_EQ(+exch.names[9].startNumber, -1);  // asked, not in the file: keeps its name
    EXPECT_EQ(+exch.names[1].startNumber, -1);  // not asked
    for (int lane = 0; lane < CBVExch::kSlots; ++lane)
        EXPECT_STRNE(exch.names[lane].name, "Lane Null") << lane;

    // One lane only.
    CBVExch one;
    Ask(one, 4, 3, {7, 100});
    EXPECT_EQ(one.ImportNames(3, 100, 1, ""), 0);
    EXPECT_STREQ(one.names[100].name, "Per Hundre");
    EXPECT_STREQ(one.names[7].name, "");
}

TEST_F(NameImportTest, NameFilesThroughTheStartNumber)
{
    CBVIniFile r;
    r.PutInt("Def", "StartNr", 1234);
    ASSERT_EQ(r.Write(".\\BV\\H1R00103.txt"), 0);
    CBVIniFile zero;
    zero.PutInt("Def", "StartNr", 0);
    ASSERT_EQ(zero.Write(".\\BV\\H1R001100.txt"), 0);
    CBVIniFile n;
    n.PutString("Shooter", "Name", std::string(45, 'N'));
    n.PutString("Shooter", "Club", "Bygdelaget");
    n.PutString("H1", "Class", "Klasse V55 lang");
    n.PutString("H1", "Cat", "Jr");
    n.PutString("H1", "Start", "97,5");
    ASSERT_EQ(n.Write(".\\BV\\N01234.txt"), 0);

    CBVExch exch;
    Ask(exch, 0, 1, {3, 100, 5});
    EXPECT_EQ(exch.ImportNames(1, 0, 1, ""), 0);
    EXPECT_EQ(std::string(exch.names[3].name), std::string(31, 'N'));
    EXPECT_STREQ(exch.names[3].club, "Bygdelaget");
    EXPECT_STREQ(exch.names[3].cls, "Klasse V55");
    EXPECT_STREQ(exch.names[3].category, "Jr");
    EXPECT_EQ(+exch.names[3].startScore, 9750);
    EXPECT_EQ(+exch.names[3].startNumber, 1234);
    EXPECT_EQ(+exch.names[100].startNumber, 0);  // StartNr 0
    EXPECT_EQ(+exch.names[5].startNumber, -1);   // no result file

    // In start-number mode the slot holds the start number itself.
    CBVExch numbers;
    Ask(numbers, 7, 1234, {6});
    numbers.startNumbers = true;
    EXPECT_EQ(numbers.ImportNames(0, 6, 1, ""), 0);
    EXPECT_EQ(+numbers.names[6].startNumber, 1234);
    EXPECT_STREQ(numbers.names[6].club, "Bygdelaget");

    CBVExch unknown;
    Ask(unknown, 9, 1, {3});
    EXPECT_EQ(unknown.ImportNames(1, 0, 1, ""), CBVExch::kUnknownResultsProgram);
    EXPECT_EQ(+unknown.names[3].startNumber, -1);  // untouched
}

TEST_F(NameImportTest, NamesOfAnotherRangeFolder)
{
    {
        CDataComp dc;
        OpenComp(dc);
        NameRecord name;
        CDataComp::ClearName(name);
        std::strcpy(name.name, "Hundre");
        ASSERT_EQ(dc.StoreName(1, 100, name), 0);
        // Another program filled every text of lane 3's name to its last byte.
        std::memset(name.name, 'N', sizeof name.name);
        std::memset(name.club, 'C', sizeof name.club);
        std::memset(name.cls, 'K', sizeof name.cls);
        std::memset(name.category, 'A', sizeof name.category);
        ASSERT_EQ(dc.StoreName(1, 3, name), 0);
    }
    fs::create_directories("Other");
    fs::rename("Comp1", "Other/Comp1");
    CBVExch exch;
    Ask(exch, 8, 1, {3, 100, 50});
    EXPECT_EQ(exch.ImportNames(1, 0, 1, ".\\Other"), 0);
    EXPECT_STREQ(exch.names[100].name, "Hundre");
    EXPECT_EQ(+exch.names[100].startNumber, 200);
    // Full texts arrive cut to end in a zero, as the cards and the export
    // read them.
    EXPECT_EQ(std::string(exch.names[3].name), std::string(31, 'N'));
    EXPECT_EQ(std::string(exch.names[3].club), std::string(31, 'C'));
    EXPECT_EQ(std::string(exch.names[3].cls), std::string(10, 'K'));
    EXPECT_EQ(std::string(exch.names[3].category), std::string(10, 'A'));
    EXPECT_EQ(+exch.names[3].startNumber, 103);
    EXPECT_EQ(+exch.names[50].startNumber, -1);   // no card
}

}  // namespace
