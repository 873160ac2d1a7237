// bvtool ini: reads and writes one value of an ini text file the way the
// programs do (the exchange files, BVTekst.ini, ProgExport.ini, ...).
#include "Command.h"

#include "foundation/files/BVIniFile.h"

#include <cstdio>

namespace bvtool {
namespace {

int RunIni(const Args& args)
{
    if (args.size() == 4 && args[0] == "get") {
        std::string path = ToFile(args[1]);
        CBVIniFile ini;
        if (ini.Open(path) != 0)
            return Fail("cannot read " + args[1]);
        std::string value;
        if (!ini.Lookup(ToFile(args[2]), ToFile(args[3]), &value))
            return Fail("no key [" + args[2] + "] " + args[3] + " in " + args[1]);
        std::printf("%s\n", ToScreen(value).c_str());
        return 0;
    }
    if (args.size() == 5 && args[0] == "set") {
        if (args[2].empty() || args[3].empty() || args[3].find('=') != std::string::npos)
            return Fail("a section and a key without '=' are needed");
        CBVIniFile ini;
        ini.PutString(ToFile(args[2]), ToFile(args[3]), ToFile(args[4]));
        if (ini.Write(ToFile(args[1])) != 0)
            return Fail("cannot write " + args[1]);
        return 0;
    }
    return Fail("usage: bvtool ini get FILE SECTION KEY | bvtool ini set FILE SECTION KEY VALUE");
}

[[maybe_unused]] const bool registered = Register(
    {"ini", "bvtool ini get FILE SECTION KEY\nbvtool ini set FILE SECTION KEY VALUE",
     "reads or writes one value of an ini text file (writing merges, as the programs do)", &RunIni});

}  // namespace
}  // namespace bvtool
