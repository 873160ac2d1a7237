#include "results/exchange/ExchangeListing.h"

#include "platform/files/FileSystem.h"
#include "platform/system/Codepage.h"

namespace results {

void ExchangeListing::Load(const std::string& folder, std::string_view pattern)
{
    m_kept.reset();  // the old listing leaves before the new one is made
    m_folder = folder;
    m_pattern = pattern;
    m_kept = std::make_unique<platform::KeptListing>(folder);
}

std::string ExchangeListing::OnDisk(std::string_view name) const
{
    if (!m_kept || !platform::MatchesPattern(name, m_pattern))
        return {};
    return m_kept->Find(name);
}

std::string ExchangeListing::Find(std::string_view name) const
{
    std::string found = OnDisk(name);
    return found.empty() ? found : platform::JoinSystemPath(m_folder, platform::Utf8ToCp1252(found));
}

std::string ExchangeListing::PathOf(std::string_view name) const
{
    std::string found = Find(name);
    return found.empty() ? platform::JoinSystemPath(m_folder, name) : found;
}

std::string ExchangeListing::NativeFind(std::string_view name) const
{
    std::string found = OnDisk(name);
    return found.empty() ? found : m_kept->NativeFolder() + "/" + found;
}

// The platform's writers tell the listing of the files they make and remove;
// these are for changes made some other way.
void ExchangeListing::Add(std::string_view name)
{
    if (m_kept && !m_kept->Knows(name))
        m_kept->Added(platform::Cp1252ToUtf8(name), false);
}

void ExchangeListing::Remove(std::string_view name)
{
    if (m_kept && m_kept->Knows(name))
        m_kept->Removed(platform::Cp1252ToUtf8(name), false);
}

}  // namespace results
