#include "display/ui/DisplayText.h"

#include "display/model/VisData.h"
#include "platform/system/TextTable.h"

namespace DisplayText {
namespace {

platform::ProfileStore* g_profile = nullptr;

}  // namespace

platform::ProfileStore& Profile()
{
    static platform::IniProfileStore user(platform::ProfilePath("BVVis"));
    return g_profile != nullptr ? *g_profile : user;
}

void SetProfile(platform::ProfileStore* profile) { g_profile = profile; }

std::string LanguageCode()
{
    std::string code = Profile().GetString("Context", "Language", "");
    return code.empty() ? "EN" : code;
}

CLanguageTable& Table()
{
    static CLanguageTable table;
    return table;
}

void Load(CVisData& data, const std::string& code)
{
    const std::string language = code.empty() ? LanguageCode() : code;
    // Without its language file the display shows the keys rather than nothing.
    if (Table().Load(kFile, language) >= 0)
        platform::SetTextTable(&Table());
    data.targetTypes.SetLanguage(language.c_str());
}

}  // namespace DisplayText
