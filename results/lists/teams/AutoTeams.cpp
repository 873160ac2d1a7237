// Automatic teams: for each definition row of a team competition, the
// row's event ranked and, key by key (club, organisation or region), the
// best shooters the row's quotas admit take the row's places of the key's
// team. The quotas come from the row's classes and its composition rules
// (a minimum or a maximum of some classes or categories).
#include "foundation/files/BVLog.h"
#include "foundation/text/FieldText.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"
#include "results/registers/DataClub.h"
#include "results/registers/RegisterRecords.h"

#include <algorithm>

namespace results {
namespace {

constexpr int kByKey = 2 * 16;
constexpr int kNoLimit = -1;

// The class numbers a text names, one character each.
bool Names(const std::string& codes, int number)
{
    return std::any_of(codes.begin(), codes.end(),
                       [number](char c) { return static_cast<uint8_t>(c) == number; });
}

}  // namespace

int32_t CDataList::TeamKeyOfClub(int club, int representing)
{
    Clubs().LoadClubs(m_comp.orgType);
    if (representing == 1)
        return m_comp.orgType;
    if (representing < 2 || representing > 4)
        return club;
    ClubRecord record{};
    // A club the register does not have belongs to no region: no team.
    if (Clubs().Get(&record, club, kByKey + CDataClub::kClubs) != 0)
        return -1;
    const uint16_t regions[] = {record.regionA, record.regionB, record.regionC};
    return regions[representing - 2];
}

std::string CDataList::AutoTeamName(int teamIndex)
{
    if (teamIndex < 0 || static_cast<size_t>(teamIndex) >= teamKeys.size())
        return {};
    const int32_t key = teamKeys[static_cast<size_t>(teamIndex)];
    const int representing = ::ReadItem(m_comp.Team(), TeamItems::Represent(request.treeSelection));
    Clubs().LoadClubs(m_comp.orgType);
    if (representing == 0) {
        ClubRecord club{};
        return Clubs().Get(&club, key, kByKey + CDataClub::kClubs) == 0 ? FieldText(club.name, sizeof club.name)
                                                                       : std::string();
    }
    OrgRecord org{};
    int request = 0;
    if (representing == 1)
        request = kByKey + kOrgName;
    else if (representing >= 2 && representing <= 4)
        request = kByKey + kRegionA + representing - 2;
    else
        return {};
    return Clubs().Get(&org, key, request) == 0 ? FieldText(org.text, sizeof org.text) : std::string();
}

int CDataList::FindTeamKey(int32_t key) const
{
    auto found = std::find(teamKeys.begin(), teamKeys.end(), key);
    return found == teamKeys.end() ? -1 : static_cast<int>(found - teamKeys.begin());
}

int CDataList::FindTeamCalcEntry(TeamCalcEntry& entry) const
{
    for (const TeamCalcEntry& e : teamLookup)
        if (e.competition == entry.competition && e.slot == entry.slot && e.team == entry.team) {
            entry.startNr = e.startNr;
            entry.event = e.event;
            return 0;
        }
    return -1;
}

int CDataList::FindCategoryIndex(char letter)
{
    const int count = ::ReadItem(m_comp.Comp(), CompItems::kCategoryCount);
    for (int i = 1; i <= count; ++i)
        if (::ReadItem(m_comp.Comp(), CompItems::CategoryLetter(i)) == std::string(1, letter))
            return i;
    return 0;
}

void CDataList::BuildTeamQuotas(int row)
{
    teamRowsA.clear();
    const int t = request.treeSelection;
    CBVConfig& settings = m_comp.Team();
    if (::ReadItem(settings, TeamItems::RowEvent(t, row)) <= 0)
        return;
    const int n = ::ReadItem(settings, TeamItems::RowOption(t, row));
    const size_t classes = static_cast<size_t>(std::max(0, ::ReadItem(m_comp.Comp(), CompItems::kClassCount))) + 1;
    const size_t categories =
        static_cast<size_t>(std::max(0, ::ReadItem(m_comp.Comp(), CompItems::kCategoryCount))) + 1;
    const std::string rowClasses = ::ReadItem(settings, TeamItems::RowCodes(t, row));

    TeamCalcRow base;
    base.classes.assign(classes, 0);
    for (size_t c = 0; c < classes; ++c)
        if (Names(rowClasses, static_cast<int>(c)))
            base.classes[c] = static_cast<int16_t>(n);
    base.categories.assign(categories, static_cast<int16_t>(n));
    teamRowsA.push_back(base);

    const int rules = ::ReadItem(settings, TeamItems::RuleCount(t));
    for (int r = 1; r <= rules; ++r) {
        if (::ReadItem(settings, TeamItems::RuleRow(t, r)) != row)
            continue;
        const std::string ruleClasses = ::ReadItem(settings, TeamItems::RuleClasses(t, r));
        const std::string ruleCategories = ::ReadItem(settings, TeamItems::RuleCategories(t, r));
        // A minimum leaves n - min places to those outside the rule; a
        // maximum gives those inside it max places.
        auto quotaRow = [&](int outside, int inside) {
            TeamCalcRow quota;
            quota.rule = r;
            if (!ruleClasses.empty()) {
                quota.classes.assign(classes, 0);
                for (size_t c = 1; c < classes; ++c)
                    if (base.classes[c] > 0)
                        quota.classes[c] = static_cast<int16_t>(outside);
                for (char c : ruleClasses)
                    if (static_cast<uint8_t>(c) < classes)
                        quota.classes[static_cast<uint8_t>(c)] = static_cast<int16_t>(inside);
            }
            if (!ruleCategories.empty()) {
                quota.categories.assign(categories, static_cast<int16_t>(outside));
                for (char letter : ruleCategories) {
                    const int k = FindCategoryIndex(letter);
                    if (k > 0 && static_cast<size_t>(k) < categories)
                        quota.categories[static_cast<size_t>(k)] = static_cast<int16_t>(inside);
                }
            }
            teamRowsA.push_back(std::move(quota));
        };
        const int least = ::ReadItem(settings, TeamItems::RuleMin(t, r));
        const int most = ::ReadItem(settings, TeamItems::RuleMax(t, r));
        if (least != kNoLimit)
            quotaRow(n - least, n);
        if (most != kNoLimit)
            quotaRow(n, most);
    }
    ResetTeamQuotas();
}

void CDataList::ResetTeamQuotas() { teamRowsB = teamRowsA; }

int CDataList::TakeTeamPlace(int row, int shooterRow)
{
    if (shooterRow < 0 || static_cast<size_t>(shooterRow) >= shooterRows.size())
        return 0;
    const ShooterRow& shooter = shooterRows[static_cast<size_t>(shooterRow)];
    const size_t classNr = shooter.classNr;
    std::vector<size_t> categories;
    for (char letter : shooter.category)
        categories.push_back(static_cast<size_t>(FindCategoryIndex(letter)));
    if (categories.empty())
        categories.push_back(0);

    for (const TeamCalcRow& quota : teamRowsB) {
        if (quota.classes.empty() && quota.categories.empty())
            continue;
        if (!quota.classes.empty() && (classNr >= quota.classes.size() || quota.classes[classNr] <= 0))
            return 0;
        for (size_t k : categories)
            if (!quota.categories.empty() && (k >= quota.categories.size() || quota.categories[k] <= 0))
                return 0;
    }

    const int t = request.treeSelection;
    CBVConfig& settings = m_comp.Team();
    auto lose = [](int16_t& places) { places = static_cast<int16_t>(std::max(0, places - 1)); };
    for (TeamCalcRow& quota : teamRowsB) {
        // Each row counts by its own rule's classes and categories; the
        // base row by the definition row's classes and no categories.
        const std::string classSet = quota.rule == 0 ? ::ReadItem(settings, TeamItems::RowCodes(t, row))
                                                     : ::ReadItem(settings, TeamItems::RuleClasses(t, quota.rule));
        if (!quota.classes.empty() && !classSet.empty()) {
            const bool inside = Names(classSet, static_cast<int>(classNr));
            for (size_t c = 0; c < quota.classes.size(); ++c)
                if (Names(classSet, static_cast<int>(c)) == inside)
                    lose(quota.classes[c]);
        }
        if (quota.categories.empty())
            continue;
        // A shooter whose letters match the rule's takes from those
        // categories; one without a match from every category.
        const std::string letters =
            quota.rule == 0 ? std::string() : ::ReadItem(settings, TeamItems::RuleCategories(t, quota.rule));
        std::vector<size_t> matched;
        for (char letter : letters) {
            const int k = FindCategoryIndex(letter);
            if (k > 0 && std::find(categories.begin(), categories.end(), static_cast<size_t>(k)) != categories.end())
                matched.push_back(static_cast<size_t>(k));
        }
        if (matched.empty()) {
            for (int16_t& places : quota.categories)
                lose(places);
        } else {
            for (size_t k : matched)
                if (k < quota.categories.size())
                    lose(quota.categories[k]);
        }
    }
    return 1;
}

int CDataList::MakeAutoTeams()
{
    const int t = request.treeSelection;
    CBVConfig& settings = m_comp.Team();
    const ListRequest saved = request;
    teamKeys.clear();
    teamWords.clear();
    teamLookup.clear();
    const int rowCount = ::ReadItem(settings, TeamItems::RowCount(t));
    const int representing = ::ReadItem(settings, TeamItems::Represent(t));
    int firstSlot = 1;
    for (int c = 1; c <= rowCount; ++c) {
        const int e = ::ReadItem(settings, TeamItems::RowEvent(t, c));
        if (e <= 0)
            continue;
        const int n = ::ReadItem(settings, TeamItems::RowOption(t, c));
        BuildTeamQuotas(c);

        // The row's event ranked over all its classes.
        CDataEvent* event = m_comp.GetEvent(e);
        request.event = static_cast<uint16_t>(e);
        request.firstTarget = static_cast<uint16_t>(::ReadItem(m_comp.Comp(), CompItems::EventFirstTarget(e)));
        request.lastTarget = static_cast<uint16_t>(::ReadItem(m_comp.Comp(), CompItems::EventLastTarget(e)));
        request.seriesFilter.assign(1, ::ReadItem(settings, TeamItems::RowSubEvent(t, c)));
        request.classFilter.clear();
        const int classCount = ::ReadItem(m_comp.Comp(), CompItems::kClassCount);
        for (int j = 1; event && j <= classCount && j < 256; ++j)
            if (::ReadItem(event->Settings(), EventItems::ClassUsed(j)) != 0)
                request.classFilter.push_back(static_cast<uint8_t>(j));
        request.letterFilter.clear();
        request.commonList = 1;
        MakeClassLists(0);
        request.treeSelection = t;

        teamWords.assign(teamKeys.size(), 0);
        auto addEntry = [&](int slot, int team, const ShooterRow& shooter) {
            TeamCalcEntry entry{};
            entry.competition = static_cast<uint8_t>(t);
            entry.slot = static_cast<uint8_t>(slot);
            entry.team = static_cast<int16_t>(team);
            entry.startNr = shooter.startNr;
            entry.event = e;
            teamLookup.push_back(entry);
        };
        for (size_t j = 0; j < resultRows.size(); ++j) {
            const int shooterRow = resultRows[j].shooterRow;
            const ShooterRow& shooter = shooterRows[static_cast<size_t>(shooterRow)];
            const int32_t key = TeamKeyOfClub(shooter.club, representing);
            if (key <= 0)
                continue;
            int index = FindTeamKey(key);
            const int taken = index >= 0 ? teamWords[static_cast<size_t>(index)] : 0;
            if (taken >= n)
                continue;
            ResetTeamQuotas();
            int k = taken + 1;
            if (!TakeTeamPlace(c, shooterRow))
                continue;  // the key stays open for its next shooter
            if (index < 0) {
                teamKeys.push_back(key);
                teamWords.push_back(0);
                index = static_cast<int>(teamKeys.size()) - 1;
            }
            uint16_t& places = teamWords[static_cast<size_t>(index)];
            ++places;
            addEntry(firstSlot - 1 + k, index + 1, shooter);
            for (size_t l = j + 1; l < resultRows.size() && k < n; ++l) {
                const int laterRow = resultRows[l].shooterRow;
                const ShooterRow& later = shooterRows[static_cast<size_t>(laterRow)];
                if (TeamKeyOfClub(later.club, representing) != key || !TakeTeamPlace(c, laterRow))
                    continue;
                ++places;
                addEntry(firstSlot - 1 + k + 1, index + 1, later);
                ++k;
            }
            if (k < n)
                places = static_cast<uint16_t>(n);
        }
        firstSlot += n;
    }
    teamRowsA.clear();
    teamRowsB.clear();
    // The ranking's event, targets and filters were the request's only for a while.
    request = saved;
    return static_cast<int>(teamKeys.size());
}

}  // namespace results
