#include "remote/ui/RemoteText.h"

#include "foundation/settings/ProgramText.h"

namespace RemoteText {
namespace {

ProgramText& Texts() { return ProgramTextOf("BVRemote", kFile); }

}  // namespace

platform::ProfileStore& Profile() { return Texts().Profile(); }

void SetProfile(platform::ProfileStore* profile) { Texts().SetProfile(profile); }

std::string LanguageCode() { return Texts().LanguageCode(); }

CLanguageTable& Table() { return Texts().Table(); }

void Load(const std::string& code)
{
    Texts().LoadTable(Texts().LanguageOr(code));
    Texts().Use();
}

}  // namespace RemoteText
