// Any items in the display's settings files and in a range folder's
// settings, loaded and followed for a few ticks: lanes, events, zoom texts,
// flags, distances and line channels of any value. Every target that shows
// data has a lane of the range, and every panel shows something.
#include "display/loop/DisplayLoop.h"
#include "foundation/comp/DataComp.h"
#include "fuzz/FuzzScratch.h"
#include "fuzz/display/NullDisplayPort.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using fuzz::Check;

struct Item {
    const char* file;
    int section, index, key;
};

// The items a fuzz input may set; the index and key of some move with a byte.
const Item kItems[] = {
    {".\\BVVis.bvc", 3, 1, 500},   {".\\BVVis.bvc", 3, 1, 570},   {".\\BVVis.bvc", 3, 1, 531},
    {".\\BVVis.bvc", 3, 1, 532},   {".\\BVVis.bvc", 3, 2, 570},   {".\\BVVis.bvc", 31, 1, 501},
    {".\\Profil.bvc", 31, 1, 531}, {".\\Profil.bvc", 500, 1, 1},  {".\\Profil.bvc", 501, 1, 1},
    {".\\Profil.bvc", 500, 1, 2},  {".\\Profil.bvc", 31, 1, 500}, {".\\Pict1.bvc", 31, 1, 2},
    {".\\Pict1.bvc", 31, 1, 530},  {".\\Pict1.bvc", 503, 1, 0},   {".\\Pict1.bvc", 502, 1, 0},
    {".\\Pict1.bvc", 500, 0, 640}, {".\\Pict1.bvc", 500, 0, 700}, {".\\Pict1.bvc", 31, 1, 531},
    {".\\Pict1.bvc", 31, 1, 532},  {".\\Pict1.bvc", 31, 1, 533},  {".\\Pict1.bvc", 31, 1, 6},
    {".\\Pict1.bvc", 31, 1, 8},    {".\\Pict1.bvc", 504, 1, 0},   {".\\Pict1.bvc", 501, 1, 570},
    {"R\\BVLeder.bvc", 1, 1, 680}, {"R\\BVLeder.bvc", 1, 1, 1},   {"R\\BVLeder.bvc", 1, 1, 530},
    {"R\\BVLeder.bvc", 1, 1, 531}, {"R\\BVLeder.bvc", 1, 1, 15},  {"R\\BVLeder.bvc", 1, 1, 570},
    {"R\\Comp1\\Comp.BVC", 2, 1, 5}, {"R\\Comp1\\Comp.BVC", 2, 1, 6}, {"R\\Comp1\\Comp.BVC", 2, 1, 13},
    {"R\\Comp1\\Comp.BVC", 2, 1, 15}, {"R\\Comp1\\Comp.BVC", 2, 1, 19}, {"R\\Comp1\\Comp.BVC", 2, 1, 1},
    {"R\\Comp1\\Comp.BVC", 630, 1, 620}, {"R\\Comp1\\Comp.BVC", 1, 0, 530},
};
constexpr size_t kItemCount = sizeof kItems / sizeof kItems[0];

void Put(const char* file, int section, int index, int key, const std::string& text)
{
    CBVConfig c;
    c.Open(file, 1);
    c.WriteString(section, index, key, text.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static const fuzz::ScratchFolder folder("fuzz-loader");
    if (chdir(folder.Path().c_str()) != 0)
        return 1;
    // A range with three shooters, one shot each.
    mkdir("R", 0755);
    mkdir("R/Comp1", 0755);
    CDataComp data;
    data.SetBasePath("R");
    data.Open(1, 1);
    for (int lane = 1; lane <= 3; ++lane) {
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = 1;
        card.lane = static_cast<int16_t>(lane);
        data.GetCard(card, 1);
        ShotRecord s;
        std::memset(&s, 0, sizeof s);
        s.state = CDataComp::kSlotShot;
        s.flags = 0x81;
        s.value = static_cast<int16_t>(800 + lane);
        s.series = 1;
        data.AddShot(1, lane, s, nullptr, 10, 0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    unlink("BVLog.txt");
    for (const char* f : {"BVVis.bvc", "Profil.bvc", "Pict1.bvc", "R/BVLeder.bvc", "R/Comp1/Comp.BVC"})
        unlink(f);
    // What a working display has, before the input changes it.
    Put(".\\BVVis.bvc", 3, 1, 570, "R");
    Put(".\\Profil.bvc", 31, 1, 531, "1");
    Put(".\\Profil.bvc", 500, 1, 1, "1");
    Put(".\\Profil.bvc", 501, 1, 1, "10");
    Put(".\\Pict1.bvc", 31, 1, 530, "2");
    Put(".\\Pict1.bvc", 503, 1, 1, "1");
    Put(".\\Pict1.bvc", 503, 1, 2, "2");
    Put(".\\Pict1.bvc", 502, 1, 1, "1");
    Put(".\\Pict1.bvc", 502, 1, 2, "1");
    Put("R\\BVLeder.bvc", 1, 1, 680, "1");
    Put("R\\Comp1\\Comp.BVC", 2, 1, 15, "0");

    // Items: item byte, number byte (index or key where the item takes one), length, text.
    size_t at = 0;
    while (at + 3 <= size) {
        const Item& item = kItems[data[at] % kItemCount];
        int n = data[at + 1];
        size_t length = data[at + 2] % 32;
        at += 3;
        if (length > size - at)
            length = size - at;
        std::string text(reinterpret_cast<const char*>(data + at), length);
        at += length;
        text = text.substr(0, std::strlen(text.c_str()));
        int index = item.index == 0 ? n % 120 : item.index;
        int key = item.key == 0 ? n % 14 : item.key;
        Put(item.file, item.section, index, key, text);
    }

    fuzz::NullDisplayPort port;
    CVisData vis;
    DisplayLoop loop(vis, port);
    loop.OnFirstFocus({1, 1, 1, 10});
    for (int tick = 0; tick < 4; ++tick) {
        loop.DisplayTick();
        if (!vis.current)
            continue;
        for (auto& t : vis.current->targets) {
            if (!t->HasError())
                Check(CDataComp::IsLane(t->lane));
            Check(t->viewFlags == 0 || DisplayLoop::NormaliseViewFlags(*t) == 0);
            Check(t->firstListShot >= 1);
        }
    }
    return 0;
}
