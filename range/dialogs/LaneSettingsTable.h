#pragma once
// The lane settings the range officer edits in one table: for each lane its
// target type, sensitivity, value system and the two band-advance values.
// The table is a working copy of the lanes' card images; only Store writes it
// back. Every edit also leaves the edited lane's five values in the range
// configuration as the defaults for lanes that become active later.
#include "range/base/LaneTable.h"

#include <array>
#include <cstdint>
#include <string>

class CBVConfig;
class CTargetTypes;

struct LaneSettingsRow {
    int32_t targetType = 0;
    int32_t sensitivity = 0;
    int32_t valueSystem = 0;
    int32_t advanceLength = 0;     // the card's second band-advance byte
    int32_t advanceFrequency = 0;  // the first
    bool operator==(const LaneSettingsRow&) const = default;
};

class LaneSettingsTable {
public:
    static constexpr int kValueSystems = 7;   // 0 DFS .. 6 hundredths
    static constexpr int kSensitivities = 5;  // 0 (none) .. 4
    // What a card byte can hold of a typed band-advance value.
    static constexpr int kBandMin = 0;
    static constexpr int kBandMax = 255;

    // Every lane row zero.
    LaneSettingsTable() = default;

    const LaneSettingsRow& Row(int lane) const { return m_rows[Index(lane)]; }

    // The rows of lanes 1..100 from the lanes' card images.
    void Load(const LaneTable& lanes);

    // A new target type; only a type other than the lane's own brings that
    // type's sensitivity, band advance and value system with it.
    void SetTargetType(int lane, int code, const CTargetTypes& types);
    void SetValueSystem(int lane, int valueSystem);
    // A new sensitivity brings the type's band advance for it; the value
    // system stays.
    void SetSensitivity(int lane, int sensitivity, const CTargetTypes& types);
    // A typed band-advance value; false (nothing changes) outside what the
    // card keeps.
    bool SetAdvanceLength(int lane, int value);
    bool SetAdvanceFrequency(int lane, int value);

    // The lane's five values to the next lane, when that lane is active;
    // whether they were copied.
    bool CopyToNext(int lane, const LaneTable& lanes);
    // The lane's five values to every lane that keeps its settings (Keeps).
    void CopyToAll(int lane, const LaneTable& lanes);

    // Lanes whose card images the table stands for: all but the lanes that
    // are enabled without a channel.
    static bool Keeps(const LaneTable& lanes, int lane);
    // Whether any such lane's row differs from its card image.
    bool Differs(const LaneTable& lanes) const;
    // Writes the rows that differ into the card images (a byte each) and
    // marks their lanes' rows to be drawn again; the lanes written.
    int Store(LaneTable& lanes) const;

    // The lane's five values as the defaults of new lanes.
    void WriteDefaults(CBVConfig& range, int lane) const;

    // Texts of the cells: the language key of a value system or a
    // sensitivity (nullptr for a value that has none), the gauge of a type.
    static const char* ValueSystemKey(int valueSystem);
    static const char* SensitivityKey(int sensitivity);
    // Twice the bullet radius as "%5.2fmm", or autoText for the type whose
    // gauge changes by series.
    static std::string GaugeText(int code, const CTargetTypes& types, const std::string& autoText);
    static constexpr int kAutoGaugeType = 29;

private:
    static int Index(int lane) { return LaneTable::IsLane(lane) ? lane : 0; }
    LaneSettingsRow& At(int lane) { return m_rows[Index(lane)]; }
    static bool Differs(const LaneSettingsRow& row, const CardRecord& card);

    // Index 0 is no lane.
    std::array<LaneSettingsRow, 101> m_rows{};
};
