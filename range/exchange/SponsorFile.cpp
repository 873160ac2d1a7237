#include "range/exchange/SponsorFile.h"

std::string SponsorFile::PathIn(const std::string& exchangeFolder)
{
    std::string folder = exchangeFolder.empty() ? ".\\" : exchangeFolder;
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder + "Sponsor.txt";
}

void SponsorFile::Load(const std::string& exchangeFolder)
{
    m_loaded = m_file.OpenRead(PathIn(exchangeFolder)) == 0;
}

std::string SponsorFile::LaneText(const std::string& prefix, int lane) const
{
    if (!m_loaded)
        return {};
    return m_file.GetString(prefix, "Lane" + std::to_string(lane));
}
