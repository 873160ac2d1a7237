#pragma once
// Automatic teams of a team competition (the request's treeSelection): for
// each definition row, the row's event ranked with the class lists'
// producer and, key by key (club, organisation or region), the best
// shooters the row's quotas admit take the row's places of the key's team.
// The quotas come from the row's classes and its composition rules (a
// minimum or a maximum of some classes or categories); each quota row
// counts by its own rule's classes and categories.
#include "results/data/DataTeam.h"
#include "results/lists/ListProducer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace results {

// A quota row of automatic teams: the places left per category and per
// class (index 0 included) of a definition row (rule 0) or of one of its
// composition rules. An empty array sets no quota.
struct TeamQuotaRow {
    int32_t rule = 0;
    std::vector<int16_t> categories;
    std::vector<int16_t> classes;
};

class AutoTeams : ListProducer {
public:
    explicit AutoTeams(CDataList& list) : ListProducer(list) {}

    // Makes the teams; their number. The request comes back as it was.
    int Make();
    // Team index i (from 0): its key (a club, organisation or region
    // number, 0 beyond the teams) and its name from the club register.
    int32_t Key(int teamIndex) const;
    std::string Name(int teamIndex);
    const std::vector<int32_t>& Keys() const { return m_keys; }
    // A member as Team.bvd would hold it: 0 with the entry's start number
    // and event filled, -1 when the slot of that team has none.
    int FindMember(TeamMemberRecord& entry) const;

    // The quotas of definition row `row` as built, and taken from as a team
    // fills up: 1 when they admit the shooter of the shooter row (whose
    // places are then taken), 0 when not. ResetQuotas starts the next team.
    void BuildQuotas(int row);
    void ResetQuotas();
    int TakePlace(int row, int shooterRow);
    const std::vector<TeamQuotaRow>& BuiltQuotas() const { return m_quotasBuilt; }
    // The category with this letter, from 1; 0 when none.
    int FindCategoryIndex(char letter);

private:
    int32_t KeyOfClub(int club, int representing);
    int FindKey(int32_t key) const;

    std::vector<int32_t> m_keys;            // index + 1 is the automatic team's number
    std::vector<uint16_t> m_taken;          // places each key took in the current row
    std::vector<TeamMemberRecord> m_members;
    std::vector<TeamQuotaRow> m_quotasBuilt;
    std::vector<TeamQuotaRow> m_quotas;     // as the team being filled takes them
};

}  // namespace results
