#include "range/exchange/ExportTriggers.h"

#include <array>

namespace ExportTriggers {

bool OneRelayPerFile(int resultsProgram)
{
    return resultsProgram == 3 || resultsProgram == 4 || resultsProgram == 5 || resultsProgram == 7;
}

Relays OfficeRelays(int resultsProgram, int firstLaneRelay)
{
    if (OneRelayPerFile(resultsProgram))
        return {firstLaneRelay, firstLaneRelay};
    return {0, 0};
}

namespace {

// The results of an export. A failure never stops the storing of shots, so
// none of them stops the range with a message box, except the refusal of the
// practice competition, which only comes from a command.
constexpr std::array<Outcome, 6> kOutcomes = {{
    {0, 0, nullptr, nullptr, false, nullptr, true},
    {-2, 0, nullptr, nullptr, false, "IDS_WRN_COMPTRAIN", false},
    {-3, 0, nullptr, "IDS_WRN_FAIL_PATH", true, nullptr, false},
    {-4, 80, "Illegal prefix (%s)!", "IDS_WRN_PREFIX", false, nullptr, true},
    {-5, 0, nullptr, "IDS_WRN_FAIL_SEND_ACTIVE", false, nullptr, true},
    {-6, 90, "Unable to open file for exchange (%s)", "IDS_WRN_FAIL_SEND", false, nullptr, true},
}};

}  // namespace

const Outcome* OutcomeOf(int result)
{
    for (const Outcome& o : kOutcomes)
        if (o.result == result)
            return &o;
    return nullptr;
}

}  // namespace ExportTriggers
