// Any messages from target units into the software loader, in any of its
// states: idle, loading an image, reading logs. Whatever a unit sends, the
// loader only touches the lanes of its range and stays in a state it knows.
//
// Input: kind, first lane, number of further lanes, what the loader is
// doing (0 idle, 1 loading, 2 reading logs), then messages: slot, target
// address, ticks to run before it (low four bits), length n, and n - 1 bytes
// from position 2 on.
#include "fuzz/FuzzScratch.h"
#include "line/loader/SoftwareLoader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

struct Texts : LoaderTexts {
    std::string GetText(const char* key) override { return key; }
};

bool KnownState(int state)
{
    if (state == 0 || state == 1 || state == 16)
        return true;
    int kind = state & 0xC0, step = state & 0x0F;
    return (kind == 0x40 || kind == 0x80) && step >= 1 && step <= 3 && (state & 0x30) <= 0x10;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static const fuzz::ScratchFolder scratch("fuzz-loader-message");
    if (chdir(scratch.Path().c_str()) != 0)
        std::abort();
    std::ofstream("BVLog.ini") << "[BVLog]\r\nLevel=200\r\n";
    // Two blocks in each pass.
    std::ofstream("image.s28") << "S214000100000102030405060708090A0B0C0D0E0F72\r\n"
                                  "S214000200202122232425262728292A2B2C2D2E2F71\r\n"
                                  "S214010000404142434445464748494A4B4C4D4E4F72\r\n"
                                  "S214010100606162636465666768696A6B6C6D6E6F71\r\n"
                                  "S804000000FB\r\n";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    Texts texts;
    SoftwareLoader loader(texts);
    int first = 1 + data[1] % 99;
    fuzz::Check(loader.SetLaneRange(first, std::min(99, first + data[2] % 12)));
    loader.SetKind(1 + data[0] % 3);
    loader.AllLanesTakePart();
    int doing = data[3] % 3;
    if (doing == 1) {
        fuzz::Check(loader.LoadImage("image.s28") == 4);
        fuzz::Check(loader.StartLoading());
    } else if (doing == 2) {
        loader.StartLogReading();
    }
    size_t at = 4;
    while (at + 4 <= size) {
        LineMessage m{};
        m.slot = data[at];
        m.targetAddress = data[at + 1];
        int ticks = data[at + 2] & 0x0F;
        int n = data[at + 3];
        at += 4;
        size_t bytes = n >= 1 ? static_cast<size_t>(n - 1) : 0;
        if (bytes > size - at)
            bytes = size - at;
        m.data[0] = static_cast<uint8_t>(n);
        for (size_t k = 0; k < bytes && k < 254; ++k)
            m.data[2 + k] = data[at + k];
        at += bytes;
        for (int k = 0; k < ticks * 10; ++k)
            loader.Tick();
        loader.HandleMessage(m);
        fuzz::Check(KnownState(loader.State()));
        fuzz::Check(loader.Pass() == 1 || loader.Pass() == 2);
    }
    for (int lane = 0; lane <= 100; ++lane)
        if (lane < loader.First() || lane > loader.Last())
            fuzz::Check(loader.Cell(lane, SoftwareLoader::kColState).empty());
    return 0;
}
