// Automatic teams: for each definition row of a team competition, the
// row's event ranked and, key by key (club, organisation or region), the
// best shooters the row's quotas admit take the row's places of the key's
// team. The quotas come from the row's classes and its composition rules
// (a minimum or a maximum of some classes or categories).
#include "results/lists/teams/AutoTeams.h"

#include "foundation/text/FieldText.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/classlists/ClassLists.h"
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

int32_t AutoTeams::KeyOfClub(int club, int representing)
{
    m_list.Clubs().LoadClubs(m_comp.orgType);
    if (representing == 1)
        return m_comp.orgType;
    if (representing < 2 || representing > 4)
        return club;
    ClubRecord record{};
    // A club the register does not have belongs to no region: no team.
    if (m_list.Clubs().Get(&record, club, kByKey + CDataClub::kClubs) != 0)
        return -1;
    const uint16_t regions[] = {record.regionA, record.regionB, record.regionC};
    return regions[representing - 2];
}

int32_t AutoTeams::Key(int teamIndex) const
{
    return teamIndex >= 0 && static_cast<size_t>(teamIndex) < m_keys.size() ? m_keys[static_cast<size_t>(teamIndex)]
                                                                             : 0;
}

std::string AutoTeams::Name(int teamIndex)
{
    if (teamIndex < 0 || static_cast<size_t>(teamIndex) >= m_keys.size())
        return {};
    const int32_t key = m_keys[static_cast<size_t>(teamIndex)];
    const int representing = ::ReadItem(m_comp.Team(), TeamItems::Represent(m_request.treeSelection));
    m_list.Clubs().LoadClubs(m_comp.orgType);
    if (representing == 0) {
        ClubRecord club{};
        return m_list.Clubs().Get(&club, key, kByKey + CDataClub::kClubs) == 0 ? FieldText(club.name, sizeof club.name)
                                                                       : std::string();
    }
    OrgRecord org{};
    int lookup = 0;
    if (representing == 1)
        lookup = kByKey + kOrgName;
    else if (representing >= 2 && representing <= 4)
        lookup = kByKey + kRegionA + representing - 2;
    else
        return {};
    return m_list.Clubs().Get(&org, key, lookup) == 0 ? FieldText(org.text, sizeof org.text) : std::string();
}

int AutoTeams::FindKey(int32_t key) const
{
    auto found = std::find(m_keys.begin(), m_keys.end(), key);
    return found == m_keys.end() ? -1 : static_cast<int>(found - m_keys.begin());
}

int AutoTeams::FindMember(TeamMemberRecord& entry) const
{
    for (const TeamMemberRecord& e : m_members)
        if (e.competition == entry.competition && e.slot == entry.slot && e.team == entry.team) {
            entry.startNr = e.startNr;
            entry.event = e.event;
            return 0;
        }
    return -1;
}

int AutoTeams::FindCategoryIndex(char letter)
{
    const int count = ::ReadItem(m_comp.Comp(), CompItems::kCategoryCount);
    for (int i = 1; i <= count; ++i)
        if (::ReadItem(m_comp.Comp(), CompItems::CategoryLetter(i)) == std::string(1, letter))
            return i;
    return 0;
}

void AutoTeams::BuildQuotas(int row)
{
    m_quotasBuilt.clear();
    const int t = m_request.treeSelection;
    CBVConfig& settings = m_comp.Team();
    if (::ReadItem(settings, TeamItems::RowEvent(t, row)) <= 0)
        return;
    const int n = ::ReadItem(settings, TeamItems::RowOption(t, row));
    const size_t classes = static_cast<size_t>(std::max(0, ::ReadItem(m_comp.Comp(), CompItems::kClassCount))) + 1;
    const size_t categories =
        static_cast<size_t>(std::max(0, ::ReadItem(m_comp.Comp(), CompItems::kCategoryCount))) + 1;
    const std::string rowClasses = ::ReadItem(settings, TeamItems::RowCodes(t, row));

    TeamQuotaRow base;
    base.classes.assign(classes, 0);
    for (size_t c = 0; c < classes; ++c)
        if (Names(rowClasses, static_cast<int>(c)))
            base.classes[c] = static_cast<int16_t>(n);
    base.categories.assign(categories, static_cast<int16_t>(n));
    m_quotasBuilt.push_back(base);

    const int rules = ::ReadItem(settings, TeamItems::RuleCount(t));
    for (int r = 1; r <= rules; ++r) {
        if (::ReadItem(settings, TeamItems::RuleRow(t, r)) != row)
            continue;
        const std::string ruleClasses = ::ReadItem(settings, TeamItems::RuleClasses(t, r));
        const std::string ruleCategories = ::ReadItem(settings, TeamItems::RuleCategories(t, r));
        // A minimum leaves n - min places to those outside the rule; a
        // maximum gives those inside it max places.
        auto quotaRow = [&](int outside, int inside) {
            TeamQuotaRow quota;
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
            m_quotasBuilt.push_back(std::move(quota));
        };
        const int least = ::ReadItem(settings, TeamItems::RuleMin(t, r));
        const int most = ::ReadItem(settings, TeamItems::RuleMax(t, r));
        if (least != kNoLimit)
            quotaRow(n - least, n);
        if (most != kNoLimit)
            quotaRow(n, most);
    }
    ResetQuotas();
}

void AutoTeams::ResetQuotas() { m_quotas = m_quotasBuilt; }

int AutoTeams::TakePlace(int row, int shooterRow)
{
    if (shooterRow < 0 || static_cast<size_t>(shooterRow) >= m_list.shooterRows.size())
        return 0;
    const ShooterRow& shooter = m_list.shooterRows[static_cast<size_t>(shooterRow)];
    const size_t classNr = shooter.classNr;
    std::vector<size_t> categories;
    for (char letter : shooter.category)
        categories.push_back(static_cast<size_t>(FindCategoryIndex(letter)));
    if (categories.empty())
        categories.push_back(0);

    for (const TeamQuotaRow& quota : m_quotas) {
        if (quota.classes.empty() && quota.categories.empty())
            continue;
        if (!quota.classes.empty() && (classNr >= quota.classes.size() || quota.classes[classNr] <= 0))
            return 0;
        for (size_t k : categories)
            if (!quota.categories.empty() && (k >= quota.categories.size() || quota.categories[k] <= 0))
                return 0;
    }

    const int t = m_request.treeSelection;
    CBVConfig& settings = m_comp.Team();
    auto lose = [](int16_t& places) { places = static_cast<int16_t>(std::max(0, places - 1)); };
    for (TeamQuotaRow& quota : m_quotas) {
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

int AutoTeams::Make()
{
    const int t = m_request.treeSelection;
    CBVConfig& settings = m_comp.Team();
    const ListRequest saved = m_request;
    m_keys.clear();
    m_taken.clear();
    m_members.clear();
    const int rowCount = ::ReadItem(settings, TeamItems::RowCount(t));
    const int representing = ::ReadItem(settings, TeamItems::Represent(t));
    int firstSlot = 1;
    for (int c = 1; c <= rowCount; ++c) {
        const int e = ::ReadItem(settings, TeamItems::RowEvent(t, c));
        if (e <= 0)
            continue;
        const int n = ::ReadItem(settings, TeamItems::RowOption(t, c));
        BuildQuotas(c);

        // The row's event ranked over all its classes.
        CDataEvent* event = m_comp.GetEvent(e);
        m_request.event = static_cast<uint16_t>(e);
        m_request.firstTarget = static_cast<uint16_t>(::ReadItem(m_comp.Comp(), CompItems::EventFirstTarget(e)));
        m_request.lastTarget = static_cast<uint16_t>(::ReadItem(m_comp.Comp(), CompItems::EventLastTarget(e)));
        m_request.seriesFilter.assign(1, ::ReadItem(settings, TeamItems::RowSubEvent(t, c)));
        m_request.classFilter.clear();
        const int classCount = ::ReadItem(m_comp.Comp(), CompItems::kClassCount);
        for (int j = 1; event && j <= classCount && j < 256; ++j)
            if (::ReadItem(event->Settings(), EventItems::ClassUsed(j)) != 0)
                m_request.classFilter.push_back(static_cast<uint8_t>(j));
        m_request.letterFilter.clear();
        m_request.commonList = 1;
        ClassLists(m_list).Make(false);
        m_request.treeSelection = t;

        m_taken.assign(m_keys.size(), 0);
        auto addEntry = [&](int slot, int team, const ShooterRow& shooter) {
            TeamMemberRecord entry{};
            entry.competition = static_cast<uint8_t>(t);
            entry.slot = static_cast<uint8_t>(slot);
            entry.team = static_cast<int16_t>(team);
            entry.startNr = shooter.startNr;
            entry.event = e;
            m_members.push_back(entry);
        };
        for (size_t j = 0; j < m_list.resultRows.size(); ++j) {
            const int shooterRow = m_list.resultRows[j].shooterRow;
            const ShooterRow& shooter = m_list.shooterRows[static_cast<size_t>(shooterRow)];
            const int32_t key = KeyOfClub(shooter.club, representing);
            if (key <= 0)
                continue;
            int index = FindKey(key);
            const int taken = index >= 0 ? m_taken[static_cast<size_t>(index)] : 0;
            if (taken >= n)
                continue;
            ResetQuotas();
            int k = taken + 1;
            if (!TakePlace(c, shooterRow))
                continue;  // the key stays open for its next shooter
            if (index < 0) {
                m_keys.push_back(key);
                m_taken.push_back(0);
                index = static_cast<int>(m_keys.size()) - 1;
            }
            uint16_t& places = m_taken[static_cast<size_t>(index)];
            ++places;
            addEntry(firstSlot - 1 + k, index + 1, shooter);
            for (size_t l = j + 1; l < m_list.resultRows.size() && k < n; ++l) {
                const int laterRow = m_list.resultRows[l].shooterRow;
                const ShooterRow& later = m_list.shooterRows[static_cast<size_t>(laterRow)];
                if (KeyOfClub(later.club, representing) != key || !TakePlace(c, laterRow))
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
    m_quotasBuilt.clear();
    m_quotas.clear();
    // The ranking's event, targets and filters were the request's only for a while.
    m_request = saved;
    return static_cast<int>(m_keys.size());
}

}  // namespace results
