#include "remote/settings/RemoteSettings.h"

#include "platform/files/PrivateProfile.h"

#include <algorithm>

using namespace RemoteItems;

std::string WithBackslash(const std::string& folder)
{
    if (folder.empty() || folder.back() == '\\')
        return folder;
    return folder + '\\';
}

bool RemoteSettings::Open(const std::string& path)
{
    m_writable = true;
    m_store.Open(path, 1);
    if (!m_store.IsOpen()) {
        m_store.Open(path, 0);
        m_writable = false;
    }
    return m_store.IsOpen();
}

bool RemoteSettings::OpenReadOnly(const std::string& path)
{
    m_writable = false;
    m_store.Open(path, 0);
    return m_store.IsOpen();
}

int RemoteSettings::EventCount() { return std::max(0, ReadItem(m_store, kEventCount)); }

bool RemoteSettings::InUse(int e) { return ReadItem(m_store, EventInUse(e)) != 0; }

std::vector<int> RemoteSettings::Events()
{
    std::vector<int> events;
    int n = std::min(EventCount(), 999);
    for (int e = 1; e <= n; ++e)
        if (InUse(e))
            events.push_back(e);
    return events;
}

std::string RemoteSettings::EventName(int e)
{
    std::string name = std::to_string(e);
    char buffer[CBVConfig::kValueSize];
    return m_store.ReadString(3, e, 500, name.c_str(), buffer, sizeof buffer);
}

std::string RemoteSettings::EventFolder(int e)
{
    std::string folder;
    char buffer[CBVConfig::kValueSize];
    for (int i = 0; i < kFolderPieces; ++i)
        folder += m_store.ReadString(3, e, kFolderKey + i, "", buffer, sizeof buffer);
    return folder;
}

std::string RemoteSettings::RangeFolder(int e) { return WithBackslash(EventFolder(e)); }

int RemoteSettings::Write(const ConfigIntItem& item, int value)
{
    return m_writable ? WriteItem(m_store, item, value) : 0;
}

int RemoteSettings::Write(const ConfigTextItem& item, const std::string& text)
{
    return m_writable ? WriteItem(m_store, item, text) : 0;
}

int RemoteSettings::AddEvent()
{
    if (!m_writable)
        return 0;
    int n = EventCount() + 1;
    Write(kEventCount, n);
    Write(EventInUse(n), 1);
    return n;
}

void RemoteSettings::DeleteEvent(int e) { Write(EventInUse(e), 0); }

void RemoteSettings::SetEventName(int e, const std::string& name) { Write(RemoteItems::EventName(e), name); }

std::vector<std::string> RemoteSettings::FolderPieces(const std::string& folder)
{
    std::vector<std::string> pieces;
    std::string cut = folder.substr(0, kMaxFolder);
    for (int i = 0; i < kFolderPieces; ++i) {
        size_t at = static_cast<size_t>(i) * kPieceSize;
        pieces.push_back(at < cut.size() ? cut.substr(at, kPieceSize) : std::string());
    }
    return pieces;
}

void RemoteSettings::SetEventFolder(int e, const std::string& folder)
{
    std::vector<std::string> pieces = FolderPieces(folder);
    for (int i = 0; i < kFolderPieces; ++i)
        Write(ConfigTextItem{3, e, kFolderKey + i, ""}, pieces[static_cast<size_t>(i)]);
}

int RemoteSettings::RememberedEvent() { return ReadItem(m_store, kChosenEvent); }

int RemoteSettings::RememberedComp(int e) { return e > 0 ? ReadItem(m_store, ChosenComp(e)) : 0; }

void RemoteSettings::RememberEvent(int e)
{
    if (m_store.ReadInt(kChosenEvent.section, kChosenEvent.index, kChosenEvent.key, -1) != e)
        Write(kChosenEvent, e);
}

void RemoteSettings::RememberComp(int e, int comp)
{
    if (e <= 0)
        return;
    ConfigIntItem item = ChosenComp(e);
    if (m_store.ReadInt(item.section, item.index, item.key, -1) != comp)
        Write(item, comp);
}

SecondCompetition SecondCompetition::Read(const std::string& iniPath)
{
    SecondCompetition second;
    second.folder = WithBackslash(platform::GetPrivateProfileString("BVRemote", "Path", "", iniPath));
    second.comp = platform::GetPrivateProfileInt("BVRemote", "Comp", -1, iniPath);
    return second;
}
