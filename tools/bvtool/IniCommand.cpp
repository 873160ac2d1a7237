// bvtool ini: reads and writes one value of an ini text file the way the
// programs do (the exchange files, BVTekst.ini, ProgExport.ini, ...).
#include "Command.h"

#include "foundation/files/BVIniFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

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
        // Such a name would end its line early, or read back as another.
        auto badName = [](const std::string& name) {
            return name.empty() || name.find_first_of("]=\r\n") != std::string::npos;
        };
        if (badName(args[2]) || badName(args[3]))
            return Fail("a section and a key are needed, without ']', '=' or a line break");
        if (args[4].find_first_of("\r\n") != std::string::npos)
            return Fail("a value is one line");
        // A file with zero bytes is a record file or another binary one: it
        // is not rewritten as text.
        std::error_code ec;
        if (std::filesystem::is_directory(args[1], ec))
            return Fail(args[1] + " is a folder, not an ini file");
        if (std::filesystem::exists(args[1], ec)) {
            std::ifstream in(args[1], std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (!in.eof() && in.fail())
                return Fail("cannot read " + args[1]);
            if (bytes.find('\0') != std::string::npos)
                return Fail(args[1] + " is not an ini file");
        }
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
