#include "results/data/DataShooter.h"

#include "foundation/files/BVLog.h"
#include "foundation/text/FieldText.h"
#include "foundation/text/TextUtil.h"
#include "results/data/DataFileOpen.h"

#include <cstring>

namespace results {

CDataShooter::CDataShooter() : m_file(std::make_unique<CBVFileEx>()) {}

CDataShooter::~CDataShooter() = default;

int CDataShooter::Open(const std::string& path)
{
    if (!m_open)
        m_open = OpenDataFile(*m_file, path, {kRecordSize, kVersion, true, false}, &CDataShooter::Convert) ==
                 OpenOutcome::Opened;
    if (!m_open)
        return 1;
    m_file->CacheVerify(1);
    return 0;
}

void CDataShooter::Close()
{
    m_file->Close();
    m_open = 0;
}

void CDataShooter::Convert(CBVFileEx& file)
{
    int count = file.GetRecCount();
    for (int n = 1; n <= count; ++n) {
        ShooterRecord record;
        if (file.ReadRec(n, &record) != 0)
            continue;
        std::memset(record.bib, 0, sizeof record.bib);
        file.WriteRec(n, &record);
    }
}

bool CDataShooter::Read(int32_t startNr, ShooterRecord& record)
{
    record = {};
    record.startNr = startNr;
    return m_open && startNr != 0 && m_file->ReadRecKey(&record) == 0;
}

std::string CDataShooter::GetName(int32_t startNr)
{
    ShooterRecord r;
    return Read(startNr, r) ? FieldText(r.name, sizeof r.name) : std::string();
}

std::string CDataShooter::GetText(int32_t startNr)
{
    ShooterRecord r;
    return Read(startNr, r) ? FieldText(r.category, sizeof r.category) : std::string();
}

int CDataShooter::GetClub(int32_t startNr)
{
    ShooterRecord r;
    return Read(startNr, r) ? r.club : 0;
}

int CDataShooter::GetClass(int32_t startNr)
{
    ShooterRecord r;
    return Read(startNr, r) ? r.classNr : 0;
}

std::string CDataShooter::GetBibNr(int32_t startNr)
{
    ShooterRecord r;
    if (!Read(startNr, r))
        return {};
    std::string bib = FieldText(r.bib, sizeof r.bib);
    return bib.size() <= kMaxBib ? bib : std::string();
}

int CDataShooter::Put(int32_t startNr, const std::string& bib, const std::string& name, int club, int classNr,
                      const std::string& category)
{
    if (startNr == 0)
        return 0;
    if (!m_open)
        return -1;
    if (club != 0 && !name.empty()) {
        int32_t other = FindByName(name, club);
        if (other != 0 && other != startNr)
            BV_LOG(ProgramLog(), 90, "Shooter already in DB with different startnr");
    }
    ShooterRecord r{};
    r.startNr = startNr;
    SetFieldText(r.name, sizeof r.name, name);
    r.club = static_cast<int16_t>(club);
    r.classNr = static_cast<uint8_t>(classNr);
    SetFieldText(r.category, sizeof r.category, category);
    SetFieldText(r.bib, sizeof r.bib, bib);
    return m_file->WriteRecKey(&r);
}

int32_t CDataShooter::FindByName(const std::string& name, int club)
{
    int count = m_open ? m_file->GetRecCount() : 0;
    for (int n = 1; n <= count; ++n) {
        ShooterRecord r;
        if (m_file->ReadRec(n, &r) == 0 && r.club == static_cast<int16_t>(club) &&
            CTextUtil::CompareNoCase(FieldText(r.name, sizeof r.name), name) == 0)
            return r.startNr;
    }
    return 0;
}

int CDataShooter::Search(const std::string& text, std::vector<int32_t>& numbers)
{
    numbers.clear();
    int count = m_open ? m_file->GetRecCount() : 0;
    for (int n = 1; n <= count; ++n) {
        ShooterRecord r;
        if (m_file->ReadRec(n, &r) == 0 && CTextUtil::ContainsName(text, FieldText(r.name, sizeof r.name)))
            numbers.push_back(r.startNr);
    }
    return static_cast<int>(numbers.size());
}

int CDataShooter::SortedNumbers(std::vector<uint32_t>& numbers)
{
    numbers.clear();
    int count = m_open ? m_file->GetRecCount() : 0;
    for (int n = 1; n <= count; ++n) {
        ShooterRecord r;
        if (m_file->ReadRec(n, &r) == 0 && r.startNr != 0 && r.club != 0)
            numbers.push_back(static_cast<uint32_t>(r.startNr));
    }
    std::vector<uint32_t> none;
    CTextUtil::SortDWords(numbers, none, false);
    return static_cast<int>(numbers.size());
}

}  // namespace results
