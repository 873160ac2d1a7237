#pragma once
// The display's texts: BVView.bvt in the working folder, in the language
// the profile names (English when it names none). The target types take the
// same language, which picks the Swedish figures.
#include <string>

#include "foundation/settings/LanguageTable.h"
#include "platform/files/ProfileStore.h"

class CVisData;

namespace DisplayText {

inline constexpr const char* kFile = ".\\BVView.bvt";

// The profile in use (the user's BVVis.ini unless a test set another).
platform::ProfileStore& Profile();
void SetProfile(platform::ProfileStore* profile);
// Context / Language, "EN" when missing or empty.
std::string LanguageCode();
// Loads the table for the profile's language (or the code given), puts it
// in use and gives the display's target types the language.
void Load(CVisData& data, const std::string& code = {});
CLanguageTable& Table();

}  // namespace DisplayText
