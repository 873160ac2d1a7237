// bvtool lang: the text of one key in one language of a language file.
#include "Command.h"

#include "foundation/settings/LanguageTable.h"
#include "platform/files/FileSystem.h"

#include <cstdio>

namespace bvtool {
namespace {

int RunLang(const Args& args)
{
    if (args.size() != 3)
        return Fail("usage: bvtool lang FILE CODE KEY");
    std::string path = ToFile(args[0]);
    if (CLanguageTable::ColumnOf(args[1]) < 0)
        return Fail("unknown language code '" + args[1] + "' (NO, DK, SE, EN, US, DE)");
    if (!platform::FileExists(path))
        return Fail("no file " + args[0]);
    CLanguageTable table;
    if (table.Load(path, args[1]) < 0)
        return Fail("cannot read " + args[0]);
    if (!table.Contains(args[2]))
        return Fail("no text for " + args[2] + " in " + args[1]);
    std::printf("%s\n", ToScreen(table.GetText(args[2])).c_str());
    return 0;
}

[[maybe_unused]] const bool registered = Register(
    {"lang", "bvtool lang FILE CODE KEY", "the text of a key in one language (NO, DK, SE, EN, DE) of a .bvt file",
     &RunLang});

}  // namespace
}  // namespace bvtool
