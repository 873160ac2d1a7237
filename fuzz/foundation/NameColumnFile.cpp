// Any bytes as a results program's fixed-column name file: the import never
// reads or writes outside its slots, fills only the lanes asked for with the
// relay asked for, and leaves every name field terminated.
#include "foundation/exchange/BVExch.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool Terminated(const char* field, size_t size) { return strnlen(field, size) < size; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const int relay = 1 + data[0] % 3;
    const int lane = data[1] % (CDataComp::kMaxLane + 2);  // 0 (all) to 101 (none)
    const int program = 3 + data[2] % 3;
    data += 3;
    size -= 3;

    // One scratch exchange folder per fuzzing process, removed when it ends.
    static const struct Scratch {
        fs::path folder = fs::temp_directory_path() / ("fuzz_names_" + std::to_string(getpid()));
        Scratch() { fs::create_directories(folder); }
        ~Scratch()
        {
            std::error_code ec;
            fs::remove_all(folder, ec);
        }
    } scratch;
    char name[32];
    std::snprintf(name, sizeof name, "H1-XX-s.%03d", relay);
    FILE* f = std::fopen((scratch.folder / name).c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    CBVExch exch;
    exch.resultsProgram = program;
    exch.prefix = "H1";
    exch.exchangeFolder = scratch.folder.string();
    for (int l = 1; l <= CDataComp::kMaxLane; ++l)
        exch.relays[l] = l % 3 == 0 ? -1 : l % 3 == 1 ? relay : relay + 1;
    if (exch.ImportNames(relay, lane, 1, "") != 0)
        __builtin_trap();

    for (int l = 0; l < CBVExch::kSlots; ++l) {
        const NameRecord& n = exch.names[l];
        if (!Terminated(n.name, sizeof n.name) || !Terminated(n.club, sizeof n.club) ||
            !Terminated(n.cls, sizeof n.cls) || !Terminated(n.category, sizeof n.category))
            __builtin_trap();
        const bool taken = n.startNumber > 0;
        if (taken && (n.startNumber != l + relay * 100 || !CDataComp::IsLane(l) || exch.relays[l] != relay ||
                      (lane != 0 && l != lane)))
            __builtin_trap();
        if (!taken && (n.name[0] || n.club[0] || n.cls[0] || n.startScore != 0))
            __builtin_trap();
        if (exch.relays[l] < 0 && n.startNumber != -1)
            __builtin_trap();
    }
    return 0;
}
