// Any bytes as a target software image file: a refused file leaves no image;
// a loaded one has blocks that each stay in one 4 KB page of their sector,
// whose messages fit both carriers, and that two passes of sending and
// acknowledging carry through to the end.
#include "fuzz/FuzzScratch.h"
#include "line/SerialFrame.h"
#include "line/loader/BVSW.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

const ImageKey kKeys[] = {{2008, 0x5A}, {2010, 0xA5}};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A folder of its own, with the log off: refused files are logged.
    static const fuzz::ScratchFolder scratch("fuzz-software-image");
    if (chdir(scratch.Path().c_str()) != 0)
        std::abort();
    std::ofstream("BVLog.ini") << "[BVLog]\r\nLevel=200\r\n";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzz::WriteWholeFile("image.s28", data, size))
        return 0;
    CBVSW image;
    image.SetKeyTable(kKeys);
    int blocks = image.Load('A', "image.s28", nullptr);
    fuzz::Check((blocks > 0) == image.IsLoaded());
    if (blocks == 0) {
        fuzz::Check(image.Status() != 0 || image.TotalBlocks() == 0);
        fuzz::Check(!image.SectorExists(0));
        return 0;
    }
    fuzz::Check(image.Status() == 0 && blocks == image.TotalBlocks());
    int counted = 0;
    for (int s = 0; s < CBVSW::kSectors; ++s) {
        int n = image.GetSectorBlockCount(s);
        fuzz::Check(n <= CBVSW::kMaxBlocksPerSector);
        counted += n;
        if (s == CBVSW::kFirstPassSectors - 1)
            fuzz::Check(counted == image.FirstPassBlocks());
    }
    fuzz::Check(counted == blocks);

    fuzz::Check(image.SetTermIdRange(1, 3));
    for (int s = 0; s < CBVSW::kSectors; ++s)
        fuzz::Check(image.MapSector(s, 3));
    image.SetTerminal(1, true);
    image.SetTerminal(3, true);
    for (int b = 1; b <= blocks; ++b) {
        CBVSW::BlockView v{};
        fuzz::Check(image.GetBlock(b, v));
        fuzz::Check(v.length >= 1 && v.length <= CBVSW::kMaxData);
        uint32_t last = v.address + static_cast<uint32_t>(v.length) - 1;
        fuzz::Check(last < CBVSW::kAddressEnd && (last >> 12) == (v.address >> 12));
        fuzz::Check(v.sector == static_cast<int>(v.address / CBVSW::kSectorSize));
        fuzz::Check((b <= image.FirstPassBlocks()) == (v.sector < CBVSW::kFirstPassSectors));
    }
    // Both passes, every unit taking part acknowledging what it is sent.
    for (int pass = 1; pass <= 2; ++pass) {
        for (int next = image.NextIndex(pass); next != 0; next = image.NextIndex(pass)) {
            uint8_t m[CBVSW::kMaxMessage];
            int length = image.MakeBlockMessage(0, next, m);
            fuzz::Check(length >= 2);
            LineMessage line{};
            line.data[0] = static_cast<uint8_t>(length + 9);
            line.data[2] = 0x40;
            line.data[3] = 0x61;
            for (int k = 0; k < length + 6; ++k)
                line.data[4 + k] = m[k];
            fuzz::Check(SerialFrame::Checksum(line.data, length + 9) == m[length + 6]);
            fuzz::Check(SerialFrame::FrameLength(line) <= CBVSW::kMaxSerialFrame);
            int usb = length + 9;
            for (int k = 0; k < length + 6; ++k)
                usb += m[k] >= 0xFE;
            fuzz::Check(usb <= CBVSW::kMaxUsbLength);
            fuzz::Check(image.Acknowledge(1, next) && image.Acknowledge(3, next));
        }
        int total = pass == 1 ? image.FirstPassBlocks() : blocks;
        fuzz::Check(image.AdvanceComplete(pass) == total);
        fuzz::Check(image.NextToSend(pass) == 0);
    }
    fuzz::Check(image.Clear() == 0);
    return 0;
}
