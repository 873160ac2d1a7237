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
    do {
        ZipEntryInfo info;
        if (!zip.GetCurrentInfo(info))
            return Fail("refused: an entry name is too long or unreadable; nothing was written");
        if (!CUnzip::IsSafeEntryName(info.name))
            return Fail("refused: unsafe entry name '" + ToScreen(info.name) + "'; nothing was written");
    } while (zip.FindNext());
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
