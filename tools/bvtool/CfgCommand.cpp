// bvtool cfg: reads and writes one item of a keyed configuration file (.bvc)
// the way the programs do: BVLeder.bvc, Comp.BVC, Program.BVC, Event1.bvc ...
#include "Command.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/BVFileEx.h"
#include "foundation/text/FieldText.h"

#include <cstdio>

namespace bvtool {
namespace {

bool ParseAddress(const Args& args, int& section, int& index, int& key)
{
    long s = 0, i = 0, k = 0;
    if (!ParseInt(args[2], s) || !ParseInt(args[3], i) || !ParseInt(args[4], k))
        return false;
    section = static_cast<int>(s);
    index = static_cast<int>(i);
    key = static_cast<int>(k);
    return s >= 1 && s <= 999 && i >= 1 && i <= 999 && k >= 1 && k <= 999;
}

int Get(const Args& args, int section, int index, int key)
{
    CBVFileEx file;
    int rc = file.Open(ToFile(args[1]), CBVConfig::kRecordSize, CBVConfig::kVersion, 0,
                       CBVFileEx::kUpdated | CBVFileEx::kCached);
    if (rc == -99)
        return Fail(args[1] + " is not a configuration file (record size " + std::to_string(file.Header().recordSize) +
                    ", version " + std::to_string(file.GetVersion()) + ")");
    if (rc != 0)
        return Fail("cannot open " + args[1]);
    ConfigRecord record{};
    record.key = CBVConfig::MakeKey(section, index, key);
    if (file.ReadRecKey(&record) != 0)
        return Fail("no item " + args[2] + " " + args[3] + " " + args[4] + " in " + args[1]);
    std::printf("%s\n", ToScreen(FieldText(record.value, sizeof record.value)).c_str());
    return 0;
}

int Set(const Args& args, int section, int index, int key)
{
    std::string text = ToFile(args[5]);
    if (ToScreen(text) != args[5])
        return Fail("the text has a character that Windows-1252 does not have");
    if (text.size() > CBVConfig::kValueSize - 1)
        return Fail("the text is longer than 31 characters");
    CBVConfig cfg;
    cfg.Open(ToFile(args[1]), 1);
    if (!cfg.IsOpen())
        return Fail("cannot open or create " + args[1] + " as a configuration file");
    if (cfg.WriteString(section, index, key, text.c_str()) != 0)
        return Fail("cannot write " + args[1]);
    return 0;
}

int RunCfg(const Args& args)
{
    int section = 0, index = 0, key = 0;
    bool get = args.size() == 5 && args[0] == "get";
    bool set = args.size() == 6 && args[0] == "set";
    if (!get && !set)
        return Fail("usage: bvtool cfg get FILE SECTION INDEX KEY | bvtool cfg set FILE SECTION INDEX KEY TEXT");
    if (!ParseAddress(args, section, index, key))
        return Fail("SECTION, INDEX and KEY are numbers from 1 to 999");
    return get ? Get(args, section, index, key) : Set(args, section, index, key);
}

[[maybe_unused]] const bool registered = Register(
    {"cfg", "bvtool cfg get FILE SECTION INDEX KEY\nbvtool cfg set FILE SECTION INDEX KEY TEXT",
     "reads or writes one item of a configuration file (.bvc); set creates the file when missing", &RunCfg});

}  // namespace
}  // namespace bvtool
