#include "results/data/DataReg.h"

#include "results/data/DataFileOpen.h"

namespace results {

CDataReg::CDataReg() : m_file(std::make_unique<CBVFileEx>()) {}

CDataReg::~CDataReg() = default;

int CDataReg::Open(const std::string& path)
{
    if (!m_open)
        m_open = OpenDataFile(*m_file, path, {kRecordSize, kVersion, true, true}) == OpenOutcome::Opened;
    return m_open ? m_file->CacheVerify(1) : -1;
}

int CDataReg::NextEntry(int32_t startNr, int& relay, int& target, int& classNr)
{
    int count = m_open ? m_file->GetRecCount() : 0;
    for (int n = 1; n <= count; ++n) {
        if (m_file->ReadRec(n, &m_record) != 0 || m_record.startNr != startNr)
            continue;
        if (m_record.relay > relay || (m_record.relay == relay && m_record.target > target)) {
            relay = m_record.relay;
            target = m_record.target;
            classNr = m_record.classNr;
            return 0;
        }
    }
    return 1;
}

int CDataReg::FindShooter(int32_t startNr, int& relay, int& target)
{
    int count = m_open ? m_file->GetRecCount() : 0;
    for (int n = 1; n <= count; ++n) {
        if (m_file->ReadRec(n, &m_record) == 0 && m_record.startNr == startNr) {
            relay = m_record.relay;
            target = m_record.target;
            return 0;
        }
    }
    return 1;
}

int CDataReg::GetStartScore(int32_t startNr)
{
    int relay = 0, target = 0;
    return FindShooter(startNr, relay, target) == 0 ? m_record.startScore : 0;
}

bool CDataReg::Read(int relay, int target, RegRecord& record)
{
    record = {};
    record.relay = static_cast<int16_t>(relay);
    record.target = static_cast<int16_t>(target);
    return m_open && m_file->ReadRecKey(&record) == 0;
}

}  // namespace results
