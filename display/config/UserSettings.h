#pragma once
// The user page's settings: the program's language and the Nettcast
// export's account and folders in BVVis.bvc.
#include <string>

class CBVConfig;

namespace UserSettings {

// The language radios in order: Norwegian, Danish, Swedish, English, German.
inline constexpr const char* kLanguageCodes[5] = {"NO", "DK", "SE", "EN", "DE"};
// The radio of a stored code: an empty code is English, an unknown one
// checks none (-1).
int LanguageIndex(const std::string& code);
// The code of a radio; English for anything that is no radio.
std::string LanguageCode(int index);

struct Account {
    std::string server;
    std::string user;
    std::string password;
    std::string localFolder;
    std::string ftpFolder;
};
Account Read(CBVConfig& settings);
void SaveServer(CBVConfig& settings, const std::string& server);
void SaveUser(CBVConfig& settings, const std::string& user);
void SavePassword(CBVConfig& settings, const std::string& password);
// A folder is trimmed of blanks (of its first 320 characters) and kept in
// nine keys; false, writing nothing, when what is left is longer than the
// 271 characters they keep.
bool SaveLocalFolder(CBVConfig& settings, const std::string& folder);
bool SaveFtpFolder(CBVConfig& settings, const std::string& folder);

}  // namespace UserSettings
