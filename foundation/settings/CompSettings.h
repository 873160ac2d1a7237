#pragma once
// The settings of one competition of a range folder: "<base>Comp<n>\Comp.BVC",
// a configuration file (CBVConfig) of the items below. Competitions are
// numbered 1 to 99; 0 is the practice competition, with a folder and a file
// like any other. The range control, the display and the remote program all
// read these items; each reads one when it needs it, always with the default
// given here, so a value written by another program shows after the store's
// next Refresh.
#include <string>

#include "foundation/files/BVConfig.h"
#include "foundation/settings/CompOptions.h"
#include "foundation/files/ConfigItem.h"

namespace CompSettings {

// Competition-wide items, section 2 index 1, and the prefix in section 630.
inline constexpr ConfigTextItem kOptions{2, 1, 1, CompOptions::kDefault};
inline constexpr ConfigIntItem kMarkingTempo{2, 1, 2, 3};       // 0..9, of the target units
inline constexpr ConfigIntItem kSeriesMeasure{2, 1, 4, 0};      // 0 average, 1 width and height, 2 width plus height, 3 centre to centre
// Actual and simulated distance in metres; the card and final marking
// dialogs and the simulation take the card's target type's distance instead
// of 100 when the item is missing.
inline constexpr ConfigIntItem kDistance{2, 1, 5, 100};
inline constexpr ConfigIntItem kSimulatedDistance{2, 1, 6, 100};
inline constexpr ConfigIntItem kTwinLane{2, 1, 7, 0};           // 0 off, else the lane marking with the single active lane
inline constexpr ConfigIntItem kZoomMode{2, 1, 8, 1};           // 0 complete target, 1 medium, 2 best
inline constexpr ConfigIntItem kSensitivity{2, 1, 9, 0};        // 0 per lane, 1 big bore, 2 small bore, 3 air gun
inline constexpr ConfigIntItem kZoomLevel{2, 1, 10, 8};
inline constexpr ConfigIntItem kStartScore{2, 1, 13, 0};        // 0 none, 1 start score 1, 2 start score 2
inline constexpr ConfigIntItem kProgram{2, 1, 15, 0};           // shooting program 1..200, 0 none
inline constexpr ConfigIntItem kOrganisation{2, 1, 16, 0};      // CompOptions::Organisation
inline constexpr ConfigIntItem kFinalMarkType{2, 1, 17, 0};     // 0 as the display program defines, 1 single target
inline constexpr ConfigIntItem kDecimals{2, 1, 18, 1};          // digits after the point of millimetre values
inline constexpr ConfigIntItem kSuperFinal{2, 1, 19, 0};        // 0 off, else the number entered + 1
inline constexpr ConfigTextItem kLaneText{2, 1, 20, ""};        // the stop message sent to the monitors
inline constexpr ConfigTextItem kName{2, 1, 500, ""};
inline constexpr ConfigTextItem kDate{2, 1, 510, ""};           // free text, "dd.mm.yyyy" when made
inline constexpr ConfigTextItem kDescription1{2, 1, 620, ""};   // characters 1 to 30
inline constexpr ConfigTextItem kDescription2{2, 1, 621, ""};   // characters 31 to 60
inline constexpr ConfigTextItem kPrefix{630, 1, 620, "H1"};     // first part of every exchange file name
inline constexpr ConfigIntItem kCurrentSeries{2, 1, 710, 0};    // 1..28, 0 none
// The mark kind of the current series plus one (1 single shot, 2 series,
// 3 blocked); 0 or less: the shooting program's series mark decides.
inline constexpr ConfigIntItem kMarkKind{2, 1, 711, -1};

// Lane n (1..100) is active in this competition: 0 or 1.
constexpr ConfigIntItem LaneActive(int lane) { return {1, lane, 530, 0}; }

constexpr int kMaxDescription = 60;
constexpr int kMaxCompetition = 99;

CompOptions ReadOptions(CBVConfig& store);
int WriteOptions(CBVConfig& store, const CompOptions& options);

// The description is kept in two items of 30 characters; a description of 30
// characters or fewer leaves the second one empty. Longer ones are cut at 60.
std::string ReadDescription(CBVConfig& store);
int WriteDescription(CBVConfig& store, const std::string& description);

// "<base>Comp<n>" and "<base>Comp<n>\Comp.BVC"; base ends in a backslash
// (".\" for the working folder).
std::string FolderOf(const std::string& base, int competition);
std::string FileOf(const std::string& base, int competition);

// Makes competition n as a copy of the settings of the competition open now
// (current, read with the defaults above when it lacks an item): the folder
// when it is missing, then in its Comp.BVC the name "<nameText> <n>", today's
// date, and the prefix, the marking, zoom, distance, sensitivity, start
// score, series measure and twin lane items, every lane item the current
// competition has, the options, organisation, program, super final, decimals
// and the lane text. The description, the final mark type and the current
// series and its mark kind start empty. 0, -1 when the folder cannot be made,
// -2 when the file cannot be opened.
int CreateCompetition(const std::string& base, int competition, CBVConfig& current, const std::string& nameText);

}  // namespace CompSettings
