#include "results/exchange/ExchangeListing.h"

#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "platform/system/Codepage.h"

namespace results {

std::string ExchangeListing::Key(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        c = static_cast<char>(platform::Upper1252(static_cast<unsigned char>(c)));
    return key;
}

void ExchangeListing::Load(const std::string& folder, std::string_view pattern)
{
    m_folder = folder;
    m_native = platform::NativePath(folder);
    m_names.clear();
    for (std::string& name : platform::FindFiles(folder, pattern))
        m_names.emplace(Key(name), std::move(name));
}

std::string ExchangeListing::Find(std::string_view name) const
{
    auto it = m_names.find(Key(name));
    return it == m_names.end() ? std::string() : platform::JoinSystemPath(m_folder, it->second);
}

std::string ExchangeListing::PathOf(std::string_view name) const
{
    std::string found = Find(name);
    return found.empty() ? platform::JoinSystemPath(m_folder, name) : found;
}

std::string ExchangeListing::NativeFind(std::string_view name) const
{
    auto it = m_names.find(Key(name));
    return it == m_names.end() ? std::string() : m_native + "/" + platform::Cp1252ToUtf8(it->second);
}

void ExchangeListing::Add(std::string_view name) { m_names.emplace(Key(name), std::string(name)); }

void ExchangeListing::Remove(std::string_view name) { m_names.erase(Key(name)); }

}  // namespace results
