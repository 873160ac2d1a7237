#include "results/registers/DataClub.h"

#include "foundation/text/FieldText.h"
#include "foundation/text/TextUtil.h"
#include "platform/files/SystemPath.h"
#include "results/data/DataFileOpen.h"

#include <cstring>

namespace results {
namespace {

bool OpenRegister(CBVFileEx& file, const std::string& path, int16_t recordSize)
{
    const DataFileLayout layout{recordSize, CDataClub::kVersion, true, false};
    OpenOutcome outcome = OpenDataFile(file, path, layout);
    if (outcome == OpenOutcome::Converted)
        outcome = OpenDataFile(file, path, layout);
    return outcome == OpenOutcome::Opened;
}

}  // namespace

CDataClub::CDataClub(std::string folder)
    : m_folder(std::move(folder)), m_clubFile(std::make_unique<CBVFileEx>()), m_orgFile(std::make_unique<CBVFileEx>())
{
}

CDataClub::~CDataClub() = default;

bool CDataClub::OpenClubs()
{
    if (!m_clubOpen)
        m_clubOpen = OpenRegister(*m_clubFile, platform::JoinSystemPath(m_folder, "Club.BVD"), kClubRecordSize);
    return m_clubOpen;
}

bool CDataClub::OpenOrgs()
{
    if (!m_orgOpen)
        m_orgOpen = OpenRegister(*m_orgFile, platform::JoinSystemPath(m_folder, "Org.BVD"), kOrgRecordSize);
    return m_orgOpen;
}

std::shared_ptr<const CDataClub::ClubIndexes> CDataClub::Clubs() const
{
    std::lock_guard lock(m_indexes);
    return m_clubs;
}

std::shared_ptr<const CDataClub::OrgIndexes> CDataClub::Orgs() const
{
    std::lock_guard lock(m_indexes);
    return m_orgs;
}

int CDataClub::ClubOrg() const { return Clubs()->org; }
int CDataClub::OrgOrg() const { return Orgs()->org; }
std::string CDataClub::Caption(int level) const
{
    return level >= 0 && level < 3 ? Orgs()->captions[static_cast<size_t>(level)] : std::string();
}

int CDataClub::LoadClubs(int org)
{
    std::lock_guard files(m_files);
    if (!OpenClubs())
        return 0;
    int changed = m_clubFile->CacheVerify(1);
    // Our own writes move the file's counter in our cache too: they count as changes.
    if (m_clubsWritten.exchange(false))
        changed = 1;
    int rebuilt = 0;
    if (changed != 0 || org != ClubOrg()) {
        auto fresh = std::make_shared<ClubIndexes>();
        fresh->org = org;
        std::vector<uint32_t> numbers;
        std::vector<CTextUtil::Text32> names;
        int count = m_clubFile->GetRecCount();
        for (int r = 1; r <= count; ++r) {
            ClubRecord c;
            if (m_clubFile->ReadRec(r, &c) != 0 || c.org != org)
                continue;
            fresh->byName.push_back(static_cast<uint32_t>(r));
            fresh->byNumber.push_back(static_cast<uint32_t>(r));
            numbers.push_back(c.number);
            CTextUtil::Text32 name{};
            std::memcpy(name.data(), c.name, sizeof c.name - 1);
            names.push_back(name);
        }
        if (!names.empty()) {
            CTextUtil::SortStrings(names, fresh->byName, false);
            CTextUtil::SortDWords(numbers, fresh->byNumber, false);
        }
        std::lock_guard lock(m_indexes);
        m_clubs = std::move(fresh);
        rebuilt = 1;
    }
    // The regions and captions follow the clubs' organisation.
    if (org != OrgOrg())
        rebuilt |= LoadOrg(org);
    return rebuilt;
}

int CDataClub::LoadOrg(int org)
{
    std::lock_guard files(m_files);
    if (!OpenOrgs())
        return 0;
    int changed = m_orgFile->CacheVerify(1);
    if (m_orgsWritten.exchange(false))
        changed = 1;
    if (changed == 0 && org == OrgOrg())
        return 0;
    auto fresh = std::make_shared<OrgIndexes>();
    fresh->org = org;
    std::vector<uint32_t> orgKeys;
    std::array<std::vector<uint32_t>, 3> regionKeys;
    int count = m_orgFile->GetRecCount();
    for (int r = 1; r <= count; ++r) {
        OrgRecord o;
        if (m_orgFile->ReadRec(r, &o) != 0)
            continue;
        if (o.kind == kOrgName) {
            fresh->orgs.push_back(static_cast<uint32_t>(r));
            orgKeys.push_back(o.org);
            continue;
        }
        if (o.org != org)
            continue;
        if (o.kind >= kCaptionA && o.kind <= kCaptionC) {
            fresh->captions[o.kind - kCaptionA] = FieldText(o.text, sizeof o.text);
        } else if (o.kind >= kRegionA && o.kind <= kRegionC) {
            fresh->regions[o.kind - kRegionA].push_back(static_cast<uint32_t>(r));
            regionKeys[o.kind - kRegionA].push_back(o.item);
        }
    }
    CTextUtil::SortDWords(orgKeys, fresh->orgs, false);
    for (size_t i = 0; i < 3; ++i)
        CTextUtil::SortDWords(regionKeys[i], fresh->regions[i], false);
    std::lock_guard lock(m_indexes);
    m_orgs = std::move(fresh);
    return 1;
}

int CDataClub::Count(int list) const
{
    if (list == 1)
        return static_cast<int>(Orgs()->orgs.size());
    if (list >= kRegionA && list <= kRegionC)
        return static_cast<int>(Orgs()->regions[static_cast<size_t>(list - kRegionA)].size());
    if (list == kClubs)
        return static_cast<int>(Clubs()->byName.size());
    return 0;
}

int CDataClub::ReadIndexed(CBVFileEx& file, const std::vector<uint32_t>& index, int n, void* buffer, int outside)
{
    if (n < 0 || n >= static_cast<int>(index.size()))
        return outside;
    return file.ReadRec(static_cast<int>(index[static_cast<size_t>(n)]), buffer);
}

int CDataClub::Get(void* buffer, int n, int request)
{
    std::lock_guard files(m_files);
    const int form = request / 16;
    const int kind = request % 16;
    if (form == 0 && kind >= kCaptionA && kind <= kCaptionC) {
        SetFieldText(static_cast<OrgRecord*>(buffer)->text, sizeof(OrgRecord::text),
                     Orgs()->captions[static_cast<size_t>(kind - kCaptionA)]);
        return 0;
    }
    const bool club = kind == kClubs;
    const bool orgKind = kind == kOrgName || (kind >= kRegionA && kind <= kRegionC);
    if (!club && !orgKind)
        return -2;
    if (club ? !OpenClubs() : !OpenOrgs())
        return -1;
    CBVFileEx& file = club ? *m_clubFile : *m_orgFile;
    switch (form) {
    case 1:  // by record number
        if (n < 1 || n > file.GetRecCount())
            return -1;
        return file.ReadRec(n, buffer);
    case 2: {  // by key
        if (club) {
            ClubRecord key{};
            key.org = static_cast<uint8_t>(ClubOrg());
            key.number = static_cast<uint16_t>(n);
            std::memcpy(buffer, &key, 4);
        } else {
            OrgRecord key{};
            key.org = static_cast<uint8_t>(kind == kOrgName ? n : OrgOrg());
            key.kind = static_cast<uint8_t>(kind);
            key.item = static_cast<uint16_t>(kind == kOrgName ? 0 : n);
            std::memcpy(buffer, &key, 4);
        }
        return file.ReadRecKey(buffer);
    }
    case 3:  // by name (clubs only)
        if (!club)
            return -2;
        return ReadIndexed(file, Clubs()->byName, n, buffer, -1);
    case 4:  // by number
        if (club)
            return ReadIndexed(file, Clubs()->byNumber, n, buffer, -1);
        if (kind == kOrgName)
            return ReadIndexed(file, Orgs()->orgs, n, buffer, 1);
        return ReadIndexed(file, Orgs()->regions[static_cast<size_t>(kind - kRegionA)], n, buffer, -1);
    default:
        return -2;
    }
}

int CDataClub::Put(const void* record, int value, int kind)
{
    std::lock_guard files(m_files);
    kind &= 0x0F;
    if (kind == kClubs) {
        if (!OpenClubs())
            return -1;
        ClubRecord c;
        std::memcpy(&c, record, sizeof c);
        c.org = static_cast<uint8_t>(ClubOrg());
        c.zero = 0;
        c.number = static_cast<uint16_t>(value);
        m_clubsWritten = true;
        return m_clubFile->WriteRecKey(&c);
    }
    if (kind < kOrgName || kind > kRegionC)
        return kNotTaken;
    if (!OpenOrgs())
        return -1;
    OrgRecord o;
    std::memcpy(&o, record, sizeof o);
    o.org = static_cast<uint8_t>(kind == kOrgName ? value : OrgOrg());
    o.kind = static_cast<uint8_t>(kind);
    o.item = static_cast<uint16_t>(kind == kOrgName ? 0 : value);
    m_orgsWritten = true;
    return m_orgFile->WriteRecKey(&o);
}

}  // namespace results
