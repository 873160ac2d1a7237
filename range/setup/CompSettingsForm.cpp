#include "range/setup/CompSettingsForm.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/ProgramStore.h"

#include <algorithm>
#include <cstdlib>

namespace {

using namespace CompSettings;

unsigned AtMost(unsigned value, unsigned most) { return std::min(value, most); }

// Distances of 0 are no distance at all: the targets take 1 metre.
unsigned Distance(unsigned value) { return std::clamp(value, 1u, static_cast<unsigned>(CompSettingsForm::kMaxDistance)); }

int LeadingNumber(const std::string& text) { return std::atoi(text.c_str()); }

}  // namespace

void CompSettingsForm::ListLanes(const std::function<bool(int)>& hasChannel)
{
    lanes.clear();
    for (int lane = 1; lane <= kMaxLane; ++lane)
        if (hasChannel(lane))
            lanes.push_back({lane, false});
}

void CompSettingsForm::Load(CBVConfig& comp)
{
    name = ReadItem(comp, kName);
    date = ReadItem(comp, kDate);
    prefix = ReadItem(comp, kPrefix);
    description = ReadDescription(comp);
    zoomLevel = static_cast<unsigned>(ReadItem(comp, kZoomLevel));
    tempo = static_cast<unsigned>(ReadItem(comp, kMarkingTempo));
    distance = static_cast<unsigned>(ReadItem(comp, kDistance));
    simulatedDistance = static_cast<unsigned>(ReadItem(comp, kSimulatedDistance));
    decimals = static_cast<unsigned>(ReadItem(comp, kDecimals));
    zoomMode = ReadItem(comp, kZoomMode);
    sensitivity = ReadItem(comp, kSensitivity);
    startScore = ReadItem(comp, kStartScore);
    seriesMeasure = ReadItem(comp, kSeriesMeasure);
    for (Lane& row : lanes)
        row.ticked = ReadItem(comp, LaneActive(row.lane)) != 0;
    CompOptions stored = ReadOptions(comp);
    options = CompOptions::AllOff();
    for (const CompOptions::Info& info : CompOptions::Table())
        options.Set(info.position, stored.IsOn(info.position));
    int superFinal = ReadItem(comp, kSuperFinal);
    superFinalBox = superFinal != 0 ? 1 : 0;
    if (superFinal != 0)
        superFinalNumber = std::to_string(superFinal - 1);
    int twin = ReadItem(comp, kTwinLane);
    twinBox = twin != 0 ? 1 : 0;
    twinLane = twin;
    organisation = ReadItem(comp, kOrganisation);
    program = ReadItem(comp, kProgram);
    laneText = ReadItem(comp, kLaneText);
}

bool CompSettingsForm::ValidPrefix(const std::string& prefix)
{
    if (prefix.size() != 2)
        return false;
    char letter = static_cast<char>(prefix[0] >= 'a' && prefix[0] <= 'z' ? prefix[0] - 'a' + 'A' : prefix[0]);
    return letter >= 'A' && letter <= 'Z' && prefix[1] >= '1' && prefix[1] <= '9';
}

const char* CompSettingsForm::Check(const std::function<bool(int)>& hasChannel) const
{
    if (!ValidPrefix(prefix))
        return "IDS_DEFCOMP_WRNPREFIX";
    if (twinBox != 0) {
        int ticked = 0;
        int tickedLane = 0;
        for (const Lane& row : lanes)
            if (row.ticked) {
                ++ticked;
                tickedLane = row.lane;
            }
        // The twin lane shows the one lane that shoots; it must be another
        // lane the range control reaches.
        bool valid = twinLane >= 1 && twinLane <= kMaxLane && ticked == 1 && lanes.size() >= 2 &&
                     twinLane != tickedLane && hasChannel(twinLane);
        if (!valid)
            return "IDS_DEFCOMP_WRNTWIN";
    }
    return nullptr;
}

bool CompSettingsForm::Write(CBVConfig& comp, bool startNumbersAtLoad) const
{
    bool reload = false;
    WriteItem(comp, kTwinLane, twinBox != 0 ? twinLane : 0);
    WriteItem(comp, kName, name);
    WriteItem(comp, kDate, date);
    WriteItem(comp, kPrefix, prefix);
    WriteDescription(comp, description);
    for (const Lane& row : lanes) {
        int stored = ReadItem(comp, LaneActive(row.lane));
        // A lane that joins needs its card and set-up; one that leaves does not.
        if (stored == 0 && row.ticked)
            reload = true;
        if (stored != (row.ticked ? 1 : 0))
            WriteItem(comp, LaneActive(row.lane), row.ticked ? 1 : 0);
    }
    WriteItem(comp, kZoomLevel, static_cast<int>(AtMost(zoomLevel, kMaxZoomLevel)));
    WriteItem(comp, kMarkingTempo, static_cast<int>(AtMost(tempo, kMaxTempo)));
    WriteItem(comp, kDistance, static_cast<int>(Distance(distance)));
    WriteItem(comp, kSimulatedDistance, static_cast<int>(Distance(simulatedDistance)));
    WriteItem(comp, kDecimals, static_cast<int>(AtMost(decimals, kMaxDecimals)));
    WriteItem(comp, kZoomMode, zoomMode);
    WriteItem(comp, kSensitivity, sensitivity);
    WriteItem(comp, kStartScore, startScore);
    WriteItem(comp, kSeriesMeasure, seriesMeasure);
    WriteItem(comp, kLaneText, laneText);
    WriteItem(comp, kSuperFinal, superFinalBox != 0 ? LeadingNumber(superFinalNumber) + 1 : 0);
    WriteOptions(comp, options);
    WriteItem(comp, kProgram, program);
    WriteItem(comp, kOrganisation, organisation);
    if (options.IsOn(CompOptions::StartNumbers) != startNumbersAtLoad)
        reload = true;
    return reload;
}

void CompSettingsForm::ApplyDefault()
{
    options.ApplyDefaultButton(organisation);
    switch (organisation) {
    case CompOptions::NSF:
    case CompOptions::FSR: laneText = "FERDIG"; break;
    case CompOptions::ISSF: laneText = "FINISHED"; break;
    default: laneText.clear(); break;
    }
    decimals = 1;
}

std::vector<CompSettingsForm::ProgramEntry> CompSettingsForm::ProgramsOf(int organisation, CProgramStore& programs)
{
    std::vector<ProgramEntry> out;
    // Programs above 100 name no organisation and are the range's own.
    bool privateOnes = organisation == CompOptions::Private;
    int first = privateOnes ? CProgramStore::kProgramsPerFile + 1 : 1;
    int last = privateOnes ? programs.GetProgCount(0) : programs.GetProgCount(1);
    last = std::min(last, privateOnes ? CProgramStore::kMaxProgram : CProgramStore::kProgramsPerFile);
    for (int n = first; n <= last; ++n) {
        char name[CProgramStore::kNameSize];
        programs.GetName(name, n);
        if (name[0] == '\0')
            continue;
        if (!privateOnes && programs.GetOrganisation(n) != organisation)
            continue;
        out.push_back({n, name});
    }
    return out;
}
