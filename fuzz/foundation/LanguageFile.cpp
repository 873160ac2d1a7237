// Any bytes as a language file: loading and looking up never fail, and every
// text stays within its 250 characters.
#include "foundation/LanguageTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One scratch file per fuzzing process, removed when it ends.
    static const struct Scratch {
        std::string path = "/tmp/fuzz_language_" + std::to_string(getpid()) + ".bvt";
        ~Scratch() { unlink(path.c_str()); }
    } scratch;
    const std::string& path = scratch.path;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    CLanguageTable table;
    for (const char* code : {"NO", "EN", "DE"}) {
        if (table.Load(path, code) < 0)
            continue;
        for (const char* key : {"IDS_A", "A", "", "IDS_COMP_NAME"})
            if (table.GetText(key).size() > CLanguageTable::kMaxText)
                __builtin_trap();
    }
    return 0;
}
