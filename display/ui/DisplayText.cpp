#include "display/ui/DisplayText.h"

#include "display/model/VisData.h"
#include "foundation/settings/ProgramText.h"

namespace DisplayText {
namespace {

ProgramText& Texts() { return ProgramTextOf("BVVis", kFile); }

}  // namespace

platform::ProfileStore& Profile() { return Texts().Profile(); }

void SetProfile(platform::ProfileStore* profile) { Texts().SetProfile(profile); }

std::string LanguageCode() { return Texts().LanguageCode(); }

CLanguageTable& Table() { return Texts().Table(); }

void Load(CVisData& data, const std::string& code)
{
    const std::string language = Texts().LanguageOr(code);
    // Without its language file the display shows the keys rather than nothing.
    if (Texts().LoadTable(language) >= 0)
        Texts().Use();
    data.targetTypes.SetLanguage(language.c_str());
}

}  // namespace DisplayText
