#include "remote/ui/RemoteText.h"

#include "platform/system/TextTable.h"

namespace RemoteText {
namespace {

platform::ProfileStore* g_profile = nullptr;

}  // namespace

platform::ProfileStore& Profile()
{
    static platform::IniProfileStore user(platform::ProfilePath("BVRemote"));
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

void Load(const std::string& code)
{
    Table().Load(kFile, code.empty() ? LanguageCode() : code);
    platform::SetTextTable(&Table());
}

}  // namespace RemoteText
