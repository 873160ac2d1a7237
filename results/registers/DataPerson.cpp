#include "results/registers/DataPerson.h"

#include "foundation/files/BVLog.h"
#include "foundation/text/FieldText.h"
#include "foundation/text/TextUtil.h"
#include "platform/system/Clock.h"
#include "results/data/DataFileOpen.h"

#include <algorithm>
#include <cstring>

namespace results {

CDataPerson::CDataPerson(std::string path) : m_path(std::move(path)), m_file(std::make_unique<CBVFileEx>()) {}

CDataPerson::~CDataPerson() = default;

void CDataPerson::Convert(CBVFileEx& file)
{
    int count = file.GetRecCount();
    for (int n = 1; n <= count; ++n) {
        PersonRecord record;
        if (file.ReadRec(n, &record) != 0)
            continue;
        std::memset(record.bib, 0, sizeof record.bib);
        file.WriteRec(n, &record);
    }
}

int CDataPerson::Load(uint8_t org, int /*rebuild*/)
{
    if (!m_open) {
        OpenOutcome outcome = OpenDataFile(*m_file, m_path, {kRecordSize, kVersion, true, false}, &CDataPerson::Convert);
        if (outcome == OpenOutcome::Converted)
            outcome = OpenDataFile(*m_file, m_path, {kRecordSize, kVersion, true, false}, &CDataPerson::Convert);
        m_open = outcome == OpenOutcome::Opened;
        if (!m_open)
            return 1;
    }
    m_file->CacheVerify(1);
    std::vector<CTextUtil::Text32> names;
    std::vector<uint32_t> index;
    int count = m_file->GetRecCount();
    for (int r = 1; r <= count; ++r) {
        PersonRecord p;
        if (m_file->ReadRec(r, &p) != 0 || p.org != org)
            continue;
        std::string name = FieldText(p.name, sizeof p.name);
        if (name.size() > kMaxName)
            BV_LOG(ProgramLog(), 90, "For langt navn i navnebasen !!!");
        CTextUtil::Text32 text{};
        std::memcpy(text.data(), name.data(), std::min(name.size(), text.size() - 1));
        names.push_back(text);
        index.push_back(static_cast<uint32_t>(r));
    }
    // A stable sort gives the order of CTextUtil::SortStrings (equal names in
    // record order) without its quadratic time over tens of thousands of persons.
    std::vector<size_t> order(index.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&names](size_t a, size_t b) {
        return CTextUtil::CompareNoCase(names[a].data(), names[b].data()) < 0;
    });
    m_index.clear();
    for (size_t i : order)
        m_index.push_back(index[i]);
    return 0;
}

int CDataPerson::Refresh() { return m_open ? m_file->CacheVerify(1) : -1; }

bool CDataPerson::ReadAt(int position, PersonRecord& out)
{
    out = {};
    if (!m_open || position < 0 || position >= Count() || m_index[position] == 0)
        return false;
    return m_file->ReadRec(static_cast<int>(m_index[position]), &out) == 0;
}

int CDataPerson::Get(int position, PersonRecord& out)
{
    return ReadAt(position, out) ? static_cast<int>(m_index[position]) : 0;
}

int CDataPerson::Find(const std::string& name, int16_t club)
{
    // Any index that holds a person is searched, a single one too.
    if (m_index.empty())
        return 0;
    auto nameOf = [](const PersonRecord& p) { return FieldText(p.name, sizeof p.name); };
    int lo = 0;
    int hi = Count() - 1;
    int mid = -1;
    PersonRecord p;
    while (lo <= hi) {
        mid = (lo + hi) / 2;
        if (!ReadAt(mid, p))
            return 0;
        int c = CTextUtil::CompareNoCase(nameOf(p), name);
        if (c < 0)
            lo = mid + 1;
        else if (c > 0)
            hi = mid - 1;
        else
            break;
    }
    if (lo > hi)
        return 0;
    // Equal names stand together: look both ways for the club.
    for (int step : {0, 1, -1}) {
        for (int i = mid + step; i >= 0 && i < Count(); i += (step == 0 ? Count() : step)) {
            PersonRecord q;
            if (!ReadAt(i, q) || CTextUtil::CompareNoCase(nameOf(q), name) != 0)
                break;
            if (q.club == club)
                return static_cast<int>(m_index[i]);
            if (step == 0)
                break;
        }
    }
    return 0;
}

void CDataPerson::StampDate(PersonRecord& record)
{
    platform::LocalTime now = platform::Now();
    record.century = static_cast<uint8_t>(now.year / 100);
    record.year = static_cast<uint8_t>(now.year % 100);
    record.month = static_cast<uint8_t>(now.month);
    record.day = static_cast<uint8_t>(now.day);
}

int CDataPerson::Put(const PersonRecord& record)
{
    if (!m_open || m_file->CheckOpen() != 0)
        return 0;
    int written = 0;
    // The register is shared by every computer of the range: wait out a
    // busy writer for up to ten seconds.
    if (m_file->WaitLock(10, 1000) == 0) {
        // Read afresh under the lock: another computer may just have taken a free record.
        m_file->CacheVerify(1);
        int count = m_file->GetRecCount();
        int free = 0;
        for (int r = 1; r <= count && free == 0; ++r) {
            PersonRecord p;
            if (m_file->ReadRecDirect(r, &p) == 0 && p.club == 0)
                free = r;
        }
        if (free != 0) {
            if (m_file->WriteRec(free, &record) == 0)
                written = free;
        } else {
            int n = 0;
            if (m_file->AddRec(n, &record) == 0)
                written = n;
        }
        m_file->Unlock();
    }
    m_file->CheckClose(0);
    return written;
}

void CDataPerson::Free(PersonRecord& record)
{
    record.org = 0;
    record.club = 0;
    std::memset(record.name, 0, sizeof record.name);
    std::memset(record.className, 0, sizeof record.className);
    StampDate(record);
}

void CDataPerson::MergeDuplicates(bool merge, bool removeOld, int year)
{
    const int n = Count();
    if (n < 2)
        return;
    if (removeOld) {
        for (int i = 0; i < n; ++i) {
            PersonRecord p;
            if (ReadAt(i, p) && p.century * 100 + p.year < year) {
                Free(p);
                m_file->WriteRec(static_cast<int>(m_index[i]), &p);
            }
        }
    }
    if (!merge)
        return;
    for (int i = 0; i + 1 < n; ++i) {
        PersonRecord a;
        if (!ReadAt(i, a) || a.club == 0)
            continue;
        uint32_t keep = m_index[i];
        std::string name = FieldText(a.name, sizeof a.name);
        std::string collapsed = name;
        CTextUtil::CollapseDoubles(collapsed, " ");
        if (collapsed != name) {
            SetFieldText(a.name, sizeof a.name, collapsed);
            m_file->WriteRec(static_cast<int>(keep), &a);
        }
        for (int j = i + 1; j < n; ++j) {
            PersonRecord b;
            if (!ReadAt(j, b) || b.club == 0)
                continue;
            if (CTextUtil::CompareNames(FieldText(b.name, sizeof b.name), FieldText(a.name, sizeof a.name)) != 0 ||
                b.club != a.club)
                continue;
            if (PersonDate(b) > PersonDate(a)) {
                Free(a);
                m_file->WriteRec(static_cast<int>(keep), &a);
                a = b;
                keep = m_index[j];
            } else {
                Free(b);
                m_file->WriteRec(static_cast<int>(m_index[j]), &b);
            }
        }
    }
}

}  // namespace results
