// Any bytes as a language file: loading and looking up never fail, and every
// text stays within its 250 characters.
#include "foundation/settings/LanguageTable.h"
#include "fuzz/FuzzScratch.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One scratch folder per fuzzing process, removed when it ends.
    static const fuzz::ScratchFolder scratch("fuzz-language");
    const std::string path = scratch.File("f.bvt");
    if (!fuzz::WriteWholeFile(path, data, size))
        return 0;

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
