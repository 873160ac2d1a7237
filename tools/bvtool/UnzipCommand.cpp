// bvtool unzip: unpacks a zip archive (a software package, a backup) the way
// the programs do, refusing archives with unsafe entry names.
#include "Command.h"

#include "foundation/files/Unzip.h"

namespace bvtool {
namespace {

int RunUnzip(const Args& args)
{
    if (args.size() != 2 || args[1].empty())
        return Fail("usage: bvtool unzip ARCHIVE FOLDER");
    CUnzip zip;
    if (!zip.Open(ToFile(args[0])))
        return Fail("cannot open " + args[0] + " as a zip archive");
    if (zip.GetEntryCount() == 0 || !zip.GotoFile())
        return Fail(args[0] + " holds no entries");
    // Every name is checked before anything is written.
    std::string name, earlier;
    switch (zip.CheckEntries(name, earlier)) {
    case CUnzip::EntryCheck::Ok:
        break;
    case CUnzip::EntryCheck::Unreadable:
        return Fail("refused: an entry name is too long or unreadable; nothing was written");
    case CUnzip::EntryCheck::Unsafe:
        return Fail("refused: unsafe entry name '" + ToScreen(name) + "'; nothing was written");
    case CUnzip::EntryCheck::SameFile:
        return Fail("refused: entry names '" + ToScreen(earlier) + "' and '" + ToScreen(name) +
                    "' name one file; nothing was written");
    }
    const std::string folder = ToFile(args[1]);
    zip.GotoFile();
    do {
        ZipEntryInfo info;
        zip.GetCurrentInfo(info);
        if (!zip.ExtractCurrent(folder))
            return Fail("cannot unpack '" + ToScreen(info.name) + "' (damaged entry or folder not writable)");
    } while (zip.FindNext());
    return 0;
}

[[maybe_unused]] const bool registered = Register(
    {"unzip", "bvtool unzip ARCHIVE FOLDER",
     "unpacks a zip archive into FOLDER with its folders and file times; refuses unsafe names", &RunUnzip});

}  // namespace
}  // namespace bvtool
