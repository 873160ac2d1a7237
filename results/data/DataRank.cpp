#include "results/data/DataRank.h"

#include "results/data/DataFileOpen.h"

#include <cstring>

namespace results {

CDataRank::CDataRank() = default;

CDataRank::~CDataRank()
{
    if (m_open)
        m_file.Close();
}

int CDataRank::Open(const std::string& path)
{
    if (!m_open)
        m_open = OpenDataFile(m_file, path, {kRecordSize, kVersion, true, false}) == OpenOutcome::Opened;
    if (m_open)
        m_file.CacheVerify(1);
    return 0;
}

int CDataRank::FindIndex(int listKind, int list, int classNr, int32_t startNr)
{
    int count = m_open ? m_file.GetRecCount() : 0;
    for (int n = 1; n <= count; ++n) {
        if (m_file.ReadRec(n, &m_record) != 0)
            continue;
        if (m_record.listKind == static_cast<uint8_t>(listKind) && m_record.list == list &&
            m_record.classNr == static_cast<uint8_t>(classNr) && m_record.startNr == startNr)
            return n;
    }
    return 0;
}

int CDataRank::Find(int listKind, int list, int classNr, int32_t startNr, RankRecord& out)
{
    if (FindIndex(listKind, list, classNr, startNr) > 0) {
        out = m_record;
        return 0;
    }
    out = {};
    out.listKind = static_cast<uint8_t>(listKind);
    out.list = static_cast<int16_t>(list);
    out.classNr = static_cast<uint8_t>(classNr);
    out.startNr = startNr;
    return -1;
}

int CDataRank::Put(int listKind, int list, int classNr, int32_t startNr, const RankRecord& record)
{
    if (!m_open)
        return -1;
    int n = FindIndex(listKind, list, classNr, startNr);
    if (n > 0)
        return m_file.WriteRec(n, &record);
    int added = 0;
    return m_file.AddRec(added, &record);
}

int CDataRank::ClearShooter(int32_t startNr)
{
    int count = m_open ? m_file.GetRecCount() : 0;
    for (int n = 1; n <= count; ++n) {
        if (m_file.ReadRec(n, &m_record) != 0 || m_record.startNr != startNr)
            continue;
        std::memset(reinterpret_cast<char*>(&m_record) + offsetof(RankRecord, gift), 0,
                    sizeof m_record - offsetof(RankRecord, gift));
        m_file.WriteRec(n, &m_record);
    }
    return -1;
}

}  // namespace results
