// Any bytes as the program exchange file a range officer brings from another
// range. The import makes at most one program, within the editor's limits:
// 28 series, 10 sub-sums, 20 classes, Def texts of at most 20 values each
// 0..1 or 0..7; it empties the file only when it made the program, and
// leaves the file as it was when it refused.
#include "foundation/files/BVConfig.h"
#include "foundation/settings/ProgramStore.h"
#include "fuzz/FuzzScratch.h"
#include "range/setup/ProgramExchange.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// Every character of a Def text holds a value within 0..most.
bool DefWithin(const char* def, int most)
{
    size_t n = std::strlen(def);
    if (n > CProgramStore::kDefLength)
        return false;
    for (size_t i = 0; i < n; ++i) {
        int v = static_cast<unsigned char>(def[i]) - 32;
        if (v < 0 || v > most)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::ScratchFolder folder("fuzz_ProgramImport");
    static const std::string base = folder.Path() + "/";
    std::error_code ec;
    std::filesystem::remove(base + "Program.BVC", ec);
    std::filesystem::remove(base + "Program2.BVC", ec);
    const std::string file = base + ProgramExchange::kFileName;
    fuzz::Check(fuzz::WriteWholeFile(file, data, size));

    CProgramStore store;
    store.SetBasePath(base);
    store.AllowCreate();
    store.OpenFiles(true);
    const int n = ProgramExchange::Import(store, 0, file);
    std::string after;
    {
        std::FILE* f = std::fopen(file.c_str(), "rb");
        char buffer[4096];
        size_t got;
        while (f && (got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            after.append(buffer, got);
        if (f)
            std::fclose(f);
    }
    if (n < 0) {
        fuzz::Check(n == ProgramExchange::kNoProgram);
        fuzz::Check(after == std::string(reinterpret_cast<const char*>(data), size));
        fuzz::Check(store.GetProgCount(0) == CProgramStore::kProgramsPerFile);
        return 0;
    }
    fuzz::Check(n == CProgramStore::kProgramsPerFile + 1);
    fuzz::Check(after.empty());
    const int series = store.GetSerieCount(n), subs = store.GetSubCount(n), classes = store.GetClassCount(n);
    fuzz::Check(series >= 0 && series <= 28 && subs >= 0 && subs <= 10 && classes >= 0 && classes <= 20);
    char text[CProgramStore::kNameSize];
    for (int k = 1; k <= subs; ++k)
        fuzz::Check(DefWithin(store.GetSubSumDef(k, text, n), 1));
    for (int c = 1; c <= classes; ++c)
        fuzz::Check(DefWithin(store.GetClassDef(c, text, n), 7));
    fuzz::Check(store.GetName(text, n)[0] != '\0');
    return 0;
}
