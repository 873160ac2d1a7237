#include "line/UnitModels.h"

namespace {

const char* const kHardwareModels[11] = {
    "BV-T1", "BV-T2", "BV-T3", "BV-T4", "BV-T5", "BV-T6", "BV-T7", "BV-T8", "BV-T9", "BV-T10", "BV-T11",
};

}  // namespace

const UnitType kUnitTypes[15] = {
    {1, "BV-T1"},       {17, "BV-T1 fall figure"}, {2, "BV-T2"},   {3, "BV-T3"},  {4, "BV-T4"},
    {5, "BV-T5"},       {6, "BV-T6"},              {7, "BV-T7"},   {8, "BV-T8"},  {24, "BV-T8 air"},
    {9, "BV-T9"},       {25, "BV-T9 air"},         {10, "BV-T10"}, {26, "BV-T10 air"}, {11, "BV-T11"},
};

const char* HardwareModelName(int hardwareType)
{
    if (hardwareType < 1 || hardwareType > 11)
        return nullptr;
    return kHardwareModels[hardwareType - 1];
}
