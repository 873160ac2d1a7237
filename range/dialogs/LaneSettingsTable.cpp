#include "range/dialogs/LaneSettingsTable.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/targets/TargetTypes.h"

#include <cstdio>

namespace {

uint8_t Byte(int32_t value) { return static_cast<uint8_t>(value & 0xFF); }

}  // namespace

void LaneSettingsTable::Load(const LaneTable& lanes)
{
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        const CardRecord& card = lanes[lane].card;
        LaneSettingsRow& row = m_rows[lane];
        row.targetType = card.targetType;
        row.valueSystem = card.valueSystem;
        row.sensitivity = card.sensitivity;
        row.advanceFrequency = card.band1;
        row.advanceLength = card.band2;
    }
}

void LaneSettingsTable::SetTargetType(int lane, int code, const CTargetTypes& types)
{
    LaneSettingsRow& row = At(lane);
    if (code == row.targetType)
        return;
    row.targetType = code;
    // The sensitivity first: the band advance depends on it.
    row.sensitivity = types.DefaultSensitivity(code);
    row.advanceFrequency = types.DefaultAdvanceFrequency(code, row.sensitivity);
    row.advanceLength = types.DefaultAdvanceLength(code, row.sensitivity);
    row.valueSystem = types.DefaultValueSystem(code);
}

void LaneSettingsTable::SetValueSystem(int lane, int valueSystem) { At(lane).valueSystem = valueSystem; }

void LaneSettingsTable::SetSensitivity(int lane, int sensitivity, const CTargetTypes& types)
{
    LaneSettingsRow& row = At(lane);
    row.sensitivity = sensitivity;
    row.advanceFrequency = types.DefaultAdvanceFrequency(row.targetType, sensitivity);
    row.advanceLength = types.DefaultAdvanceLength(row.targetType, sensitivity);
}

bool LaneSettingsTable::SetAdvanceLength(int lane, int value)
{
    if (value < kBandMin || value > kBandMax)
        return false;
    At(lane).advanceLength = value;
    return true;
}

bool LaneSettingsTable::SetAdvanceFrequency(int lane, int value)
{
    if (value < kBandMin || value > kBandMax)
        return false;
    At(lane).advanceFrequency = value;
    return true;
}

bool LaneSettingsTable::CopyToNext(int lane, const LaneTable& lanes)
{
    if (!LaneTable::IsLane(lane) || !LaneTable::IsLane(lane + 1) || !lanes.IsActive(lane + 1))
        return false;
    m_rows[lane + 1] = m_rows[lane];
    return true;
}

void LaneSettingsTable::CopyToAll(int lane, const LaneTable& lanes)
{
    if (!LaneTable::IsLane(lane))
        return;
    LaneSettingsRow from = m_rows[lane];
    for (int to = LaneTable::kFirstLane; to <= LaneTable::kLastLane; ++to)
        if (Keeps(lanes, to))
            m_rows[to] = from;
}

bool LaneSettingsTable::Keeps(const LaneTable& lanes, int lane)
{
    const LaneBlock& b = lanes[lane];
    return !(b.enabled != 0 && b.channelType == 0);
}

bool LaneSettingsTable::Differs(const LaneSettingsRow& row, const CardRecord& card)
{
    return Byte(row.targetType) != card.targetType || Byte(row.valueSystem) != card.valueSystem ||
           Byte(row.sensitivity) != card.sensitivity || Byte(row.advanceFrequency) != card.band1 ||
           Byte(row.advanceLength) != card.band2;
}

bool LaneSettingsTable::Differs(const LaneTable& lanes) const
{
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
        if (Keeps(lanes, lane) && Differs(m_rows[lane], lanes[lane].card))
            return true;
    return false;
}

int LaneSettingsTable::Store(LaneTable& lanes) const
{
    int stored = 0;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        if (!Keeps(lanes, lane))
            continue;
        LaneBlock& b = lanes[lane];
        const LaneSettingsRow& row = m_rows[lane];
        if (!Differs(row, b.card))
            continue;
        b.card.targetType = Byte(row.targetType);
        b.card.valueSystem = Byte(row.valueSystem);
        b.card.sensitivity = Byte(row.sensitivity);
        b.card.band1 = Byte(row.advanceFrequency);
        b.card.band2 = Byte(row.advanceLength);
        b.rowMark = 1;
        ++stored;
    }
    return stored;
}

void LaneSettingsTable::WriteDefaults(CBVConfig& range, int lane) const
{
    const LaneSettingsRow& row = Row(lane);
    WriteItem(range, RangeItems::kNewLaneTargetType, row.targetType);
    WriteItem(range, RangeItems::kNewLaneSensitivity, row.sensitivity);
    WriteItem(range, RangeItems::kNewLaneValueSystem, row.valueSystem);
    WriteItem(range, RangeItems::kNewLaneBandFrequency, row.advanceFrequency);
    WriteItem(range, RangeItems::kNewLaneBandLength, row.advanceLength);
}

const char* LaneSettingsTable::ValueSystemKey(int valueSystem)
{
    static const char* const kKeys[kValueSystems] = {
        "IDS_VALUESYS_DFS", "IDS_VALUESYS_INTEGER", "IDS_VALUESYS_DECIMAL", "IDS_VALUESYS_11",
        "IDS_VALUESYS_ELG", "IDS_VALUESYS_FELT",    "IDS_VALUESYS_100",
    };
    return valueSystem >= 0 && valueSystem < kValueSystems ? kKeys[valueSystem] : nullptr;
}

const char* LaneSettingsTable::SensitivityKey(int sensitivity)
{
    static const char* const kKeys[kSensitivities] = {
        "IDS_SENSITIVITY0", "IDS_SENSITIVITY1", "IDS_SENSITIVITY2", "IDS_SENSITIVITY3", "IDS_SENSITIVITY4",
    };
    return sensitivity >= 0 && sensitivity < kSensitivities ? kKeys[sensitivity] : nullptr;
}

std::string LaneSettingsTable::GaugeText(int code, const CTargetTypes& types, const std::string& autoText)
{
    if (code == kAutoGaugeType)
        return autoText;
    char text[32];
    std::snprintf(text, sizeof text, "%5.2fmm", 2 * types.GetBulletRadius(code));
    return text;
}
