#pragma once
// A small range folder for the range control's tests, made in the working
// folder: the range configuration with one line channel, a shooting program
// of two series, a competition with its active lanes, and the language file.
#include "foundation/files/BVConfig.h"
#include "foundation/settings/CompOptions.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/FileSystem.h"

#include <gtest/gtest.h>

#include <string>

namespace bvtest {

struct RangeFolderSetup {
    int competition = 1;
    int com = 1;               // 0: no line channel
    int firstLane = 1;
    int lastLane = 4;
    int resultsProgram = 0;
    bool autoSend = true;      // results go out after every shot
    std::string exchange = ".\\BV\\";
    std::string laneText;      // sent when a series is complete
    int shotsPerSeries = 5;
    bool simulation = false;
};

// The program's language file as the build made it.
inline void CopyLanguageFile()
{
    ASSERT_EQ(platform::CopyFile(std::string(BV_BINARY_DIR) + "/lang/BVRange.bvt", "BVRange.bvt"), 0);
}

inline void MakeRangeFolder(const RangeFolderSetup& s)
{
    CopyLanguageFile();
    CBVConfig range;
    range.Open(".\\BVLeder.bvc", 1);
    ASSERT_TRUE(range.IsOpen());
    if (s.com != 0)
        ASSERT_EQ(CRangeSettings::WriteChannel(range, 0, {s.com, s.firstLane, s.lastLane}), 0);
    WriteItem(range, RangeItems::kCurrentCompetition, s.competition);
    WriteItem(range, RangeItems::kResultsProgram, s.resultsProgram);
    WriteItem(range, RangeItems::kSimulation, s.simulation ? 1 : 0);
    CRangeSettings::WriteExchangeFolder(range, s.exchange);
    if (!s.exchange.empty())
        ASSERT_EQ(platform::CreateFolders(s.exchange), 0);

    // Program 1: two series of s.shotsPerSeries shots.
    CBVConfig programs;
    programs.Open(".\\Program.BVC", 1);
    ASSERT_TRUE(programs.IsOpen());
    using namespace ProgramItems;
    programs.WriteString(kProgramSection, 1, kKeyName, "Test");
    programs.WriteInt(kProgramSection, 1, kKeySerieCount, 2);
    programs.WriteInt(kProgramSection, 1, kKeySize, 10);
    for (int series = 1; series <= 2; ++series)
        programs.WriteInt(kSerieShots, 1, series + 1, s.shotsPerSeries);

    if (s.competition < 0)
        return;
    ASSERT_EQ(platform::CreateFolders(CompSettings::FolderOf(".\\", s.competition)), 0);
    CBVConfig comp;
    comp.Open(CompSettings::FileOf(".\\", s.competition), 1);
    ASSERT_TRUE(comp.IsOpen());
    WriteItem(comp, CompSettings::kName, "Test " + std::to_string(s.competition));
    WriteItem(comp, CompSettings::kProgram, 1);
    WriteItem(comp, CompSettings::kCurrentSeries, 1);
    CompOptions options;
    options.Set(CompOptions::SendResultsAutomatically, s.autoSend);
    CompSettings::WriteOptions(comp, options);
    if (!s.laneText.empty())
        WriteItem(comp, CompSettings::kLaneText, s.laneText);
    for (int lane = s.firstLane; lane <= s.lastLane; ++lane)
        WriteItem(comp, CompSettings::LaneActive(lane), 1);
}

}  // namespace bvtest
