#include "display/config/UserSettings.h"

#include "display/config/LongText.h"
#include "display/settings/VisSettings.h"
#include "foundation/files/ConfigItem.h"

namespace UserSettings {
namespace {

constexpr size_t kConsidered = 320;

bool SaveFolder(CBVConfig& settings, int key, const std::string& folder)
{
    const std::string text = ConfigText::TrimBlanks(std::string_view(folder).substr(0, kConsidered));
    return settings.WriteLong(31, 1, key, text) == 1;
}

}  // namespace

int LanguageIndex(const std::string& code)
{
    if (code.empty())
        return 3;
    for (int i = 0; i < 5; ++i)
        if (code == kLanguageCodes[i])
            return i;
    return -1;
}

std::string LanguageCode(int index)
{
    return index >= 0 && index < 5 ? kLanguageCodes[index] : "EN";
}

Account Read(CBVConfig& settings)
{
    Account a;
    a.server = ReadItem(settings, VisItems::kFtpServer);
    a.user = ReadItem(settings, VisItems::kFtpUser);
    a.password = ReadItem(settings, VisItems::kFtpPassword);
    a.localFolder = VisItems::ReadLongItem(settings, 31, 1, VisItems::kNettcastFolderKey);
    a.ftpFolder = VisItems::ReadLongItem(settings, 31, 1, VisItems::kFtpFolderKey);
    return a;
}

void SaveServer(CBVConfig& settings, const std::string& server) { WriteItem(settings, VisItems::kFtpServer, server); }
void SaveUser(CBVConfig& settings, const std::string& user) { WriteItem(settings, VisItems::kFtpUser, user); }
void SavePassword(CBVConfig& settings, const std::string& password)
{
    WriteItem(settings, VisItems::kFtpPassword, password);
}

bool SaveLocalFolder(CBVConfig& settings, const std::string& folder)
{
    return SaveFolder(settings, VisItems::kNettcastFolderKey, folder);
}

bool SaveFtpFolder(CBVConfig& settings, const std::string& folder)
{
    return SaveFolder(settings, VisItems::kFtpFolderKey, folder);
}

}  // namespace UserSettings
