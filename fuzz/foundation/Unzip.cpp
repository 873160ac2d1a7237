// Any bytes as a zip archive: unpacking never crashes, never writes outside
// the folder it was given, and leaves no temporary file behind.
#include "foundation/Unzip.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool flat = data[0] & 1;
    ++data;
    --size;

    // One scratch folder per fuzzing process, removed when it ends. The
    // archive lies in it beside the folder "out" it is unpacked into; after
    // each run nothing else may be there.
    static const struct Scratch {
        fs::path folder = fs::temp_directory_path() / ("fuzz_unzip_" + std::to_string(getpid()));
        fs::path work = folder / "work";
        std::string archive = (work / "a.zip").string();
        std::string out = (work / "out").string();
        Scratch() { fs::create_directories(work); }
        ~Scratch()
        {
            std::error_code ec;
            fs::remove_all(folder, ec);
        }
    } scratch;

    FILE* f = std::fopen(scratch.archive.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    {
        CUnzip zip(scratch.archive);
        zip.ExtractAll(scratch.out, flat);
        if (zip.GotoFile()) {
            ZipEntryInfo info;
            do {
                if (zip.GetCurrentInfo(info) && info.name.size() > CUnzip::kMaxName)
                    __builtin_trap();
            } while (zip.FindNext());
        }
    }

    for (const auto& e : fs::directory_iterator(scratch.folder))
        if (e.path().filename() != "work")
            __builtin_trap();
    for (const auto& e : fs::directory_iterator(scratch.work)) {
        std::string name = e.path().filename().string();
        if (name != "a.zip" && name != "out")
            __builtin_trap();
    }
    std::error_code ec;
    if (fs::exists(scratch.out))
        for (const auto& e : fs::recursive_directory_iterator(scratch.out))
            if (e.path().filename().string().rfind("~bz", 0) == 0)
                __builtin_trap();
    fs::remove_all(scratch.out, ec);
    return 0;
}
