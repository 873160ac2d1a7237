#pragma once
// The members of the entered teams of every team competition of a
// competition, Team.bvd, keyed by (team competition, slot, team).
#include "foundation/files/BVFileEx.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CBVConfig;

namespace results {

#pragma pack(push, 1)
struct TeamMemberRecord {
    uint8_t competition;  // team competition t of Team.bvc
    uint8_t slot;         // 1..TeamSize; kTeamSlot for the entered team itself
    int16_t team;         // entered team j
    int32_t startNr;      // 0 = empty slot; in kTeamSlot the team's shoot-off value
    int32_t event;        // the event in which the member's result counts
};
#pragma pack(pop)
static_assert(sizeof(TeamMemberRecord) == 12);
static_assert(offsetof(TeamMemberRecord, slot) == 1 && offsetof(TeamMemberRecord, team) == 2);
static_assert(offsetof(TeamMemberRecord, startNr) == 4 && offsetof(TeamMemberRecord, event) == 8);

class CDataTeam {
public:
    static constexpr int16_t kRecordSize = sizeof(TeamMemberRecord);
    static constexpr int16_t kVersion = 1;
    static constexpr uint8_t kTeamSlot = 101;
    static constexpr int kMaxMembers = 20;

    CDataTeam();
    virtual ~CDataTeam();
    CDataTeam(const CDataTeam&) = delete;
    CDataTeam& operator=(const CDataTeam&) = delete;

    // Opens once (a file of any other version is not touched), then
    // refreshes the cache; 0.
    int Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_open != 0; }
    CBVFileEx& File() { return m_file; }

    // Team sizes come from Team.bvc.
    void SetSettings(CBVConfig* teamSettings) { m_settings = teamSettings; }

    // Members of team j of team competition t in slots 1..min(TeamSize, 20).
    int CountMembers(int t, int j);
    // 1 empty, 2 few, 3 half, 4 nearly full, 5 full: the team's mark in the screens.
    int FillState(int t, int j);

private:
    int Size(int t);

    uint8_t m_open = 0;
    CBVFileEx m_file;
    TeamMemberRecord m_record{};
    CBVConfig* m_settings = nullptr;
};

}  // namespace results
