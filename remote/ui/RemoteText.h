#pragma once
// The program's texts: BVRemote.bvt in the working folder, in the language
// the profile names (English when it names none).
#include "foundation/settings/LanguageTable.h"
#include "platform/files/ProfileStore.h"

#include <string>

namespace RemoteText {

inline constexpr const char* kFile = ".\\BVRemote.bvt";

// The profile in use (the user's BVRemote.ini unless a test set another).
platform::ProfileStore& Profile();
void SetProfile(platform::ProfileStore* profile);
// Context / Language, "EN" when missing or empty.
std::string LanguageCode();
// Loads the table for the profile's language (or the code given) and puts it in use.
void Load(const std::string& code = {});
CLanguageTable& Table();

}  // namespace RemoteText
