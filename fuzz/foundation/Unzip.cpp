// Any bytes as a zip archive: unpacking never crashes, never writes outside
// the folder it was given, and leaves no temporary file behind.
#include "foundation/files/Unzip.h"
#include "platform/system/Codepage.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
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

    // Every name an entry may put on disk: the parts of the entries' paths,
    // in capitals, since an existing name of another case is reused.
    auto key = [](std::string name) {
        for (char& c : name)
            c = static_cast<char>(platform::Upper1252(static_cast<unsigned char>(c)));
        return name;
    };
    std::set<std::string> names;
    {
        CUnzip zip(scratch.archive);
        zip.ExtractAll(scratch.out, flat);
        if (zip.GotoFile()) {
            ZipEntryInfo info;
            do {
                if (!zip.GetCurrentInfo(info))
                    continue;
                if (info.name.size() > CUnzip::kMaxName)
                    __builtin_trap();
                size_t start = 0;
                while (start <= info.name.size()) {
                    size_t end = info.name.find_first_of("/\\", start);
                    if (end == std::string::npos)
                        end = info.name.size();
                    std::string part = info.name.substr(start, end - start);
                    names.insert(key(part));
                    names.insert(key(platform::Utf8ToCp1252(part)));
                    start = end + 1;
                }
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
            if (e.is_regular_file() && e.path().filename().string().rfind("~bz", 0) == 0 &&
                names.count(key(platform::Utf8ToCp1252(e.path().filename().string()))) == 0)
                __builtin_trap();  // a temporary file left behind
    fs::remove_all(scratch.out, ec);
    return 0;
}
