// bvtool print on a small competition made here: the cards and a lane's shot
// log in PDF files, checked with pdfinfo and pdftotext.
#include "foundation/files/BVConfig.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/cards/CardFill.h"
#include "foundation/cards/CardLayout.h"
#include "foundation/comp/DataComp.h"
#include "platform/system/Codepage.h"
#include "platform/files/FileSystem.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <optional>
#include <vector>

using namespace ProgramItems;

namespace {

int PdfPages(const std::string& path)
{
    std::string info = bvtest::RunCommand("pdfinfo '" + path + "' 2>&1");
    size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

std::string PdfText(const std::string& path) { return bvtest::RunCommand("pdftotext -layout '" + path + "' -"); }

// The environment of a shell without a screen, for the length of a test:
// bvtool makes its own way to draw.
class NoScreen {
public:
    NoScreen()
    {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            m_saved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    ~NoScreen()
    {
        for (size_t i = 0; i < m_saved.size(); ++i)
            if (m_saved[i])
                setenv(kNames[i], m_saved[i]->c_str(), 1);
    }

private:
    static constexpr const char* kNames[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    std::vector<std::optional<std::string>> m_saved;
};

ShotRecord Shot(int series, int value, double x, double y)
{
    ShotRecord shot;
    std::memset(&shot, 0, sizeof shot);
    shot.state = CDataComp::kSlotShot;
    shot.flags = CDataComp::kFlagFromTarget;
    shot.x = static_cast<int32_t>(x * 1000);
    shot.y = static_cast<int32_t>(y * 1000);
    shot.radius = static_cast<int32_t>(std::hypot(x, y) * 1000);
    shot.value = static_cast<int16_t>(value);
    shot.temperature = 12700;
    shot.series = static_cast<uint8_t>(series);
    shot.sensorA = shot.sensorB = shot.sensorC = shot.sensorD = 255;
    shot.century = 20, shot.year = 26, shot.month = 12, shot.day = 10;
    return shot;
}

// Range folder "Range": program 1 of seven series of ten shots; competition
// 1 shot with it on the 50 m rifle face; print settings of six series a sheet.
// Lane 1 shot 7 series of 5, lane 2 three series, lane 3 all 70 shots.
class BvtoolPrintTest : public bvtest::InTempFolder {
protected:
    BvtoolPrintTest()
    {
        EXPECT_EQ(platform::CreateFolder("Range"), 0);
        EXPECT_EQ(platform::CreateFolder("Range/Comp1"), 0);
        {
            CBVConfig range;
            range.Open(".\\Range\\BVLeder.bvc", 1);
            WriteItem(range, RangeItems::kUserName, "Brevandi SKL");
            WriteItem(range, RangeItems::kRangeName, "Innebanen");
            WriteItem(range, RangeItems::kPrintSeriesPerPage, 6);
            CBVConfig program;
            program.Open(".\\Range\\Program.BVC", 1);
            program.WriteInt(kProgramSection, 1, kKeySerieCount, 7);
            program.WriteInt(kProgramSection, 1, kKeySize, 10);
            for (int s = 1; s <= 7; ++s) {
                program.WriteInt(kSerieShots, 1, s + 1, 10);
                program.WriteString(kSerieName, 1, s + 1, ("Serie " + std::to_string(s)).c_str());
            }
        }
        CDataComp data;
        data.SetBasePath(".\\Range\\");
        EXPECT_EQ(data.Open(1, 1), 0);
        WriteItem(data.CompConfig(), CompSettings::kName, platform::Ansi("Julestevne på bane"));
        WriteItem(data.CompConfig(), CompSettings::kDate, "10.12.2026");
        WriteItem(data.CompConfig(), CompSettings::kProgram, 1);
        AddCard(data, 1, platform::Ansi("Kari Nordmann"), 7, 5);
        AddCard(data, 2, "Ola Normann", 3, 10);
        AddCard(data, 3, "Per Hansen", 7, 10);
    }

    NoScreen noScreen;

    static void AddCard(CDataComp& data, int lane, const std::string& shooter, int series, int shots)
    {
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = 1;
        card.lane = static_cast<int16_t>(lane);
        card.targetType = 18;
        card.valueSystem = 1;
        card.sensitivity = 2;
        ASSERT_EQ(data.GetCard(card, 1), 1);
        NameRecord name;
        CDataComp::ClearName(name);
        std::strcpy(name.name, shooter.c_str());
        std::strcpy(name.club, "Brevandi Skytterlag");
        ASSERT_EQ(data.StoreName(1, lane, name), 0);
        for (int s = 1; s <= series; ++s)
            for (int i = 0; i < shots; ++i) {
                // The first shot of every series an inner ten with five tenths.
                int value = i == 0 ? 1150 : 1000 - 10 * i;
                ShotRecord shot = Shot(s, value, 0.5 * i, -0.3 * s);
                ASSERT_GT(data.AddShot(1, lane, shot, nullptr, 10, 0), 0);
            }
    }
};

TEST_F(BvtoolPrintTest, TheCardsOfACompetitionTakeTheSheetsCountSheetsPredicts)
{
    bvtest::ToolRun run = bvtest::RunTool("print cards Range 1 cards.pdf");
    ASSERT_EQ(run.status, 0) << run.err;

    // The same cards as the printer sees them: 7 series at 6 a sheet give 2
    // sheets, 3 series 1 sheet.
    CDataComp data;
    data.SetBasePath(".\\Range\\");
    data.Open(1, 0);
    CBVConfig range;
    range.Open(".\\Range\\BVLeder.bvc", 0);
    CardFill::Options options = CardFill::ReadOptions(range, data.CompConfig());
    CProgramStore programs;
    programs.SetBasePath(".\\Range\\");
    CTargetTypes types;
    int sheets = 0;
    for (int n = 1; n <= data.CardFile().GetRecCount(); ++n) {
        CardRecord card;
        ASSERT_EQ(data.CardFile().ReadRec(n, &card), 0);
        ShotListRecord shots;
        ASSERT_EQ(data.ShotFile().ReadRecDirect(card.shotRec, &shots), 0);
        PrintCard print;
        CardFill::Fill(card, nullptr, shots, programs, types, options, print);
        sheets += CardLayout::CountSheets(print, 6).count;
    }
    EXPECT_EQ(sheets, 2 + 1 + 2);
    EXPECT_EQ(run.out, "cards: 3\npages: " + std::to_string(sheets) + "\n");
    EXPECT_EQ(PdfPages(folder.File("cards.pdf")), sheets);

    std::string text = PdfText(folder.File("cards.pdf"));
    for (const char* expected : {"Kari Nordmann", "Ola Normann", "Per Hansen", "Brevandi Skytterlag", "Brevandi SKL",
                                 "Innebanen", "10.12.2026", "Julestevne på bane", "Serie 7", "10,5*", "9,9", "Serie",
                                 "Sum", "Lag", "Skive", "46,0", "91,0", "322,0", "637,0"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
}

TEST_F(BvtoolPrintTest, TheShotLogOfASeventyShotCardFillsTwoPortraitPages)
{
    bvtest::ToolRun run = bvtest::RunTool("print log Range 1 3 log.pdf");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "pages: 2\n");
    EXPECT_EQ(PdfPages(folder.File("log.pdf")), 2);
    std::string text = PdfText(folder.File("log.pdf"));
    for (const char* expected : {"Julestevne på bane", "Innebanen", "Serie 1", "Serie 7", "*10,5", "9,9", "[X]",
                                 "2026.12.10"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
}

TEST_F(BvtoolPrintTest, WhatCannotBePrintedIsSaidInOneLine)
{
    struct Case {
        const char* args;
        const char* message;
    };
    const Case cases[] = {
        {"print cards Nowhere 1 x.pdf", "bvtool: no folder Nowhere\n"},
        {"print cards Range 2 x.pdf", "bvtool: no competition 2 in Range\n"},
        {"print cards Range 100 x.pdf", "bvtool: a competition is 0 to 99\n"},
        {"print log Range 1 9 x.pdf", "bvtool: lane 9 has no card\n"},
        {"print log Range 1 101 x.pdf", "bvtool: a lane is 1 to 100\n"},
        {"print cards Range 1 'no such folder/x.pdf'", "bvtool: cannot print into no such folder/x.pdf\n"},
        {"print sheets Range 1 x.pdf", nullptr},
    };
    for (const Case& c : cases) {
        bvtest::ToolRun run = bvtest::RunTool(c.args);
        EXPECT_NE(run.status, 0) << c.args;
        // The first line; a sanitizer's report may follow in test builds.
        std::string line = run.err.substr(0, run.err.find('\n') + 1);
        if (c.message != nullptr)
            EXPECT_EQ(line, c.message) << c.args;
        else
            EXPECT_EQ(line.rfind("bvtool: usage: ", 0), 0u) << run.err;
    }
    EXPECT_FALSE(platform::FileExists("x.pdf"));
}

}  // namespace
