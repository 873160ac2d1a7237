// bvtool res zip|clubs|org|orgs|persons: the zip backup and the registers
// that all of BVRes's competitions share in .\Common.
#include "ResCommands.h"

#include "results/backup/Zip.h"

#include <cstdio>

namespace bvtool::res {

int RunZip(const Args& args)
{
    std::string error;
    Options options;
    std::vector<std::string> files;
    std::string archive;
    const char* base = nullptr;
    std::string baseText;
    bool append = false;
    bool flat = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--base" && i + 1 < args.size()) {
            baseText = ToFile(args[++i]);
            base = baseText.c_str();
        } else if (args[i] == "--append") {
            append = true;
        } else if (args[i] == "--flat") {
            flat = true;
        } else if (archive.empty()) {
            archive = ToFile(args[i]);
        } else {
            files.push_back(args[i]);
        }
    }
    if (archive.empty() || files.empty())
        return Fail("usage: bvtool res zip ARCHIVE [--base FOLDER] [--append] [--flat] FILE..");
    results::CZip zip;
    if (!zip.Open(archive, base, append))
        return Fail("cannot open " + args[1] + " to write");
    bool all = true;
    for (const std::string& file : files) {
        const std::string path = ToFile(file);
        const std::string name = zip.EntryName(path, flat);
        if (zip.AddFile(path, flat)) {
            std::printf("added %s\n", ToScreen(name).c_str());
        } else {
            std::printf("refused %s\n", file.c_str());
            all = false;
        }
    }
    if (!zip.Close())
        return Fail("cannot finish " + args[1]);
    return all ? 0 : 1;
}

}  // namespace bvtool::res
