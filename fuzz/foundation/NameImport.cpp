// Any bytes as what names are imported from: a results program's name file
// of one start number together with the file that gives a lane's start
// number, or the card and name files of another range folder's competition.
// The import never fails badly, fills only the lanes asked for, and leaves
// every name field terminated.
#include "foundation/comp/DataComp.h"
#include "foundation/exchange/BVExch.h"
#include "fuzz/FuzzScratch.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

bool Terminated(const char* field, size_t size) { return strnlen(field, size) < size; }

const int kPrograms[] = {0, 1, 2, 6, 7, 8};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    static fuzz::ScratchFolder folder("fuzz_NameImport");
    static const std::string exchange = folder.Path() + "/BV/";
    static const std::string other = folder.Path() + "/other/";
    const int program = kPrograms[data[0] % 6];
    const bool startNumbers = (data[0] / 6) & 1;
    const size_t split = 3 + (size - 3) * data[1] / 256;  // where the second file's bytes begin
    const int lane = data[2] % 12;  // 0 every lane
    const std::string first(reinterpret_cast<const char*>(data + 3), split - 3);
    const std::string second(reinterpret_cast<const char*>(data + split), size - split);

    std::error_code ec;
    std::filesystem::remove_all(exchange, ec);
    std::filesystem::remove_all(other, ec);
    std::filesystem::create_directories(exchange);
    std::filesystem::create_directories(other + "Comp1");

    if (program == 8) {
        // Another range folder: a competition whose card and name files are
        // the input, behind the headers of their layouts.
        auto put = [](const std::string& path, int16_t recordSize, int16_t version, const std::string& body) {
            std::string bytes(8, '\0');
            std::memcpy(bytes.data() + 4, &recordSize, 2);
            std::memcpy(bytes.data() + 6, &version, 2);
            bytes += body;
            fuzz::WriteWholeFile(path, bytes.data(), bytes.size());
        };
        put(other + "Comp1/Card.BVD", CDataComp::kCardSize, CDataComp::kCardVersion, first);
        put(other + "Comp1/Name.BVD", CDataComp::kNameSize, CDataComp::kNameVersion, second);
    } else {
        // Lane 3's start number from its result file, the name from the name
        // file of that number (and of 1234, read directly with start numbers).
        fuzz::WriteWholeFile(exchange + "H1R00103.txt", first.data(), first.size());
        fuzz::WriteWholeFile(exchange + "N01234.txt", second.data(), second.size());
        for (int start = 1; start <= 9; ++start) {
            char name[32];
            std::snprintf(name, sizeof name, "N%05d.txt", start);
            fuzz::WriteWholeFile(exchange + name, second.data(), second.size());
        }
    }

    CBVExch exch;
    exch.resultsProgram = program;
    exch.prefix = "H1";
    exch.startNumbers = startNumbers;
    exch.exchangeFolder = exchange;
    for (int l = 1; l <= 10; ++l)
        exch.relays[l] = l == 5 ? -1 : startNumbers ? (l == 3 ? 1234 : l) : 1;
    fuzz::Check(exch.ImportNames(1, lane, 1, program == 8 ? other : std::string()) == 0);

    for (int l = 0; l < CBVExch::kSlots; ++l) {
        const NameRecord& n = exch.names[l];
        fuzz::Check(Terminated(n.name, sizeof n.name) && Terminated(n.club, sizeof n.club) &&
                    Terminated(n.cls, sizeof n.cls) && Terminated(n.category, sizeof n.category));
        const bool asked = exch.relays[l] >= 0 && (lane == 0 || l == lane);
        if (!asked)
            fuzz::Check(n.name[0] == '\0' && n.club[0] == '\0');
    }
    return 0;
}
