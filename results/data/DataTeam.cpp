#include "results/data/DataTeam.h"

#include "results/data/CompetitionItems.h"
#include "results/data/DataFileOpen.h"

#include <algorithm>

namespace results {

CDataTeam::CDataTeam() = default;

CDataTeam::~CDataTeam() { Close(); }

void CDataTeam::Close()
{
    if (m_open)
        m_file.Close();
    m_open = 0;
}

int CDataTeam::Open(const std::string& path)
{
    if (!m_open)
        m_open = OpenDataFile(m_file, path, {kRecordSize, kVersion, false, false}) == OpenOutcome::Opened;
    if (m_open)
        m_file.CacheVerify(1);
    return 0;
}

int CDataTeam::Size(int t)
{
    int size = m_settings ? ::ReadItem(*m_settings, TeamItems::Size(t)) : 0;
    return std::min(size, kMaxMembers);
}

int CDataTeam::CountMembers(int t, int j)
{
    int present = 0;
    int n = Size(t);
    for (int s = 1; m_open && s <= n; ++s) {
        m_record = {};
        m_record.competition = static_cast<uint8_t>(t);
        m_record.slot = static_cast<uint8_t>(s);
        m_record.team = static_cast<int16_t>(j);
        if (m_file.ReadRecKey(&m_record) == 0 && m_record.startNr != 0)
            ++present;
    }
    return present;
}

int CDataTeam::FillState(int t, int j)
{
    int n = Size(t);
    int present = CountMembers(t, j);
    int d = n <= 4 ? 1 : 2;
    if (present <= 0)
        return 1;
    if (present >= n)
        return 5;
    if (present <= d)
        return 2;
    if (present >= n - d)
        return 4;
    return 3;
}

}  // namespace results
