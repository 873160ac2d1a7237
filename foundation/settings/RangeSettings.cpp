#include "foundation/settings/RangeSettings.h"

#include "platform/files/ProfileStore.h"
#include "platform/files/SystemPath.h"

#include <array>
#include <cstdio>

namespace {

struct ProfileValue {
    const char* name;
    int CRangeSettings::Profile::*member;
    bool saved;  // LastComp belongs to the competition choice
};

// The profile values with their names in section Context; the defaults are
// those of CRangeSettings::Profile.
constexpr std::array<ProfileValue, 14> kProfileValues = {{
    {"Tab", &CRangeSettings::Profile::tab, true},
    {"WindowX0", &CRangeSettings::Profile::windowX0, true},
    {"WindowX1", &CRangeSettings::Profile::windowX1, true},
    {"WindowY0", &CRangeSettings::Profile::windowY0, true},
    {"WindowY1", &CRangeSettings::Profile::windowY1, true},
    {"ToolOn", &CRangeSettings::Profile::toolOn, true},
    {"StatusOn", &CRangeSettings::Profile::statusOn, true},
    {"TabOn", &CRangeSettings::Profile::tabOn, true},
    {"CardX0", &CRangeSettings::Profile::cardX0, true},
    {"CardX1", &CRangeSettings::Profile::cardX1, true},
    {"CardY0", &CRangeSettings::Profile::cardY0, true},
    {"CardY1", &CRangeSettings::Profile::cardY1, true},
    {"LastComp", &CRangeSettings::Profile::lastComp, false},
    {"CardDetail", &CRangeSettings::Profile::cardDetail, true},
}};
constexpr const char* kLanguage = "Language";

constexpr int kLongPieces = 9;
constexpr size_t kPiece = 30;
constexpr size_t kMaxComputerName = 15;

}  // namespace

void CRangeSettings::LoadProfile(platform::ProfileStore& store)
{
    const Profile defaults;
    for (const ProfileValue& v : kProfileValues)
        profile.*v.member = store.GetInt(kProfileSection, v.name, defaults.*v.member);
    profile.language = store.GetString(kProfileSection, kLanguage, defaults.language);
}

void CRangeSettings::LoadProfile() { LoadProfile(platform::Profile()); }

void CRangeSettings::SaveProfile(platform::ProfileStore& store) const
{
    for (const ProfileValue& v : kProfileValues)
        if (v.saved)
            store.WriteInt(kProfileSection, v.name, profile.*v.member);
    store.WriteString(kProfileSection, kLanguage, profile.language);
}

void CRangeSettings::SaveProfile() const { SaveProfile(platform::Profile()); }

void CRangeSettings::OpenConfig()
{
    m_config.Open(kConfigPath, 1);
    m_currentComp = ReadItem(m_config, RangeItems::kCurrentCompetition);
}

ChannelSetting ChannelSetting::Decode(const std::string& stored)
{
    ChannelSetting s;
    if (stored.size() < 3)
        return s;
    s.type = static_cast<unsigned char>(stored[0]);
    s.firstLane = static_cast<unsigned char>(stored[1]);
    s.lastLane = static_cast<unsigned char>(stored[2]);
    if (!s.InUse())
        s = ChannelSetting{};
    return s;
}

std::string ChannelSetting::Encode() const
{
    if (!InUse() || type > 255 || firstLane > 255 || lastLane > 255 || type < 0 || firstLane < 0 || lastLane < 0)
        return {};
    return {static_cast<char>(type), static_cast<char>(firstLane), static_cast<char>(lastLane)};
}

ChannelSetting CRangeSettings::ReadChannel(CBVConfig& store, int k)
{
    return ChannelSetting::Decode(ReadItem(store, RangeItems::Channel(k)));
}

int CRangeSettings::WriteChannel(CBVConfig& store, int k, const ChannelSetting& setting)
{
    return WriteItem(store, RangeItems::Channel(k), setting.Encode());
}

std::string CRangeSettings::UsbDeviceName(int number)
{
    char name[16];
    std::snprintf(name, sizeof name, "BV1%05d", number);
    return name;
}

std::string CRangeSettings::ReadSponsor(CBVConfig& store)
{
    return ReadItem(store, RangeItems::kSponsor1) + ReadItem(store, RangeItems::kSponsor2);
}

int CRangeSettings::WriteSponsor(CBVConfig& store, const std::string& text)
{
    int rc = WriteItem(store, RangeItems::kSponsor1, text.substr(0, kPiece));
    int rc2 = WriteItem(store, RangeItems::kSponsor2, text.size() > kPiece ? text.substr(kPiece) : std::string());
    return rc != 0 ? rc : rc2;
}

std::string CRangeSettings::ReadExchangeFolder(CBVConfig& store)
{
    char buffer[kLongPieces * kPiece + 1] = {};
    store.ReadLong(1, 1, RangeItems::kExchangeFolderKey, buffer, sizeof buffer);
    return buffer;
}

std::string CRangeSettings::ExchangeFolderIn(CBVConfig& store, const std::string& rangeFolder)
{
    std::string folder = ReadExchangeFolder(store);
    const bool absolute = (!folder.empty() && (folder[0] == '\\' || folder[0] == '/')) ||
                          (folder.size() >= 2 && folder[1] == ':');
    if (absolute)
        return platform::FolderWithSeparator(folder);
    while (folder.size() >= 2 && folder[0] == '.' && (folder[1] == '\\' || folder[1] == '/'))
        folder.erase(0, 2);
    if (folder == ".")
        folder.clear();
    const std::string base = platform::FolderWithSeparator(rangeFolder);
    return folder.empty() ? base : platform::FolderWithSeparator(base + folder);
}

int CRangeSettings::WriteExchangeFolder(CBVConfig& store, const std::string& folder)
{
    // Every piece is written, the unused ones empty, so that a shorter folder
    // never ends in the tail of the one before.
    int result = 0;
    for (int k = 0; k < kLongPieces; ++k) {
        size_t from = static_cast<size_t>(k) * kPiece;
        std::string piece = from < folder.size() ? folder.substr(from, kPiece) : std::string();
        int rc = store.WriteString(1, 1, RangeItems::kExchangeFolderKey + k, piece.c_str());
        if (result == 0)
            result = rc;
    }
    return result;
}

void CRangeSettings::WriteComputerName(CBVConfig& store, const std::string& name)
{
    if (store.IsOpen())
        WriteItem(store, RangeItems::kComputerName, name.substr(0, kMaxComputerName));
}
