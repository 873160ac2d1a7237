// Any bytes as one file of a competition (its settings, the shooting
// programs, one of its record files, or a shot file of an older layout that
// is converted on the way): opening it and reading every card, its shots and
// its name never fails badly, and a shot file that opened is in today's
// layout.
#include "foundation/comp/DataComp.h"
#include "foundation/files/BVFileEx.h"
#include "fuzz/FuzzScratch.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// The files a competition has, by the name the input chooses.
const char* const kFiles[] = {"Comp1\\Comp.BVC", "Program.BVC",     "Comp1\\Card.BVD",
                              "Comp1\\Name.BVD", "Comp1\\Shot.BVD", "Comp1\\Active.BVD"};

std::string Header(int16_t size, int16_t version)
{
    std::string h(8, '\0');
    std::memcpy(h.data() + 4, &size, 2);
    std::memcpy(h.data() + 6, &version, 2);
    return h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static fuzz::ScratchFolder folder("fuzz_DamagedCompetition");
    static const std::string base = folder.Path() + "/";
    const int file = data[0] % 6;
    const int head = data[0] / 6 % 5;  // 0 the bytes alone; else a header first
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    // Headers make the interesting layouts easy to reach: today's, and the
    // two older shot layouts that are converted.
    if (head == 1 && file >= 2)
        bytes = Header(file == 2 ? CDataComp::kCardSize : file == 3 ? CDataComp::kNameSize
                       : file == 4 ? CDataComp::kShotSize : CDataComp::kActiveSize,
                       file == 2 ? CDataComp::kCardVersion : file == 3 ? CDataComp::kNameVersion
                       : file == 4 ? CDataComp::kShotVersion : CDataComp::kActiveVersion) + bytes;
    else if (head == 2 && file == 4)
        bytes = Header(10004, 1) + bytes;
    else if (head == 3 && file == 4)
        bytes = Header(13004, 2) + bytes;
    else if (head == 4 && file == 2)
        bytes = Header(50, 1) + bytes;  // the old card layout

    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path(), ec))
        std::filesystem::remove_all(entry.path(), ec);
    {
        // A whole competition with a card of some shots and a name.
        CDataComp dc;
        dc.SetBasePath(base);
        std::filesystem::create_directories(base + "Comp1");
        if (dc.Open(1, 1) != 0)
            return 0;
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = 1;
        card.lane = 3;
        card.targetType = 0;
        dc.GetCard(card, 1);
        ShotRecord shot{};
        shot.state = CDataComp::kSlotShot;
        shot.series = 1;
        shot.value = 1000;
        dc.AddShot(1, 3, shot, nullptr, CDataComp::kSlots, 0);
        NameRecord name;
        CDataComp::ClearName(name);
        std::strcpy(name.name, "Kari");
        dc.StoreName(1, 3, name);
    }
    std::string target = base + kFiles[file];
    for (char& c : target)
        if (c == '\\')
            c = '/';
    if (!fuzz::WriteWholeFile(target, bytes.data(), bytes.size()))
        return 0;

    CDataComp dc;
    dc.SetBasePath(base);
    dc.confirmConversion = [](const std::string&) { return true; };
    dc.reportIncompatible = [](const std::string&) {};
    int rc = dc.Open(1, 1);
    if (rc == 0) {
        const RecordFileHeader& h = dc.ShotFile().Header();
        fuzz::Check(h.recordSize == CDataComp::kShotSize && h.version == CDataComp::kShotVersion);
    }
    const int count = dc.CardFile().GetRecCount();
    for (int n = 1; n <= count && n <= 200; ++n) {
        CardRecord card;
        if (dc.CardFile().ReadRec(n, &card) != 0)
            continue;
        ShotListRecord list;
        dc.ReadShots(card.relay, card.lane, list);
        uint8_t order[CDataComp::kSlots];
        CDataComp::BuildShotOrder(list, order, false);
        NameRecord name;
        dc.ReadName(card, name);
        ActiveRecord active;
        dc.ReadActive(card.lane, active);
        dc.RateSensors(list, -1, card.targetType, card.sensitivity);
    }
    return 0;
}
