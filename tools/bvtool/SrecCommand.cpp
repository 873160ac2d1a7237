// bvtool srec: a target software image as the software loader reads it, to
// see before a load how a file will be cut into blocks, and why one is
// refused.
#include "Command.h"

#include "line/loader/BVSW.h"

#include <cstdio>

namespace bvtool {
namespace {

int RunSrec(const Args& args)
{
    if (args.empty() || args.size() > 2 || (args.size() == 2 && args[1] != "A" && args[1] != "B"))
        return Fail("usage: bvtool srec FILE [A|B]");
    uint8_t model = args.size() == 2 ? static_cast<uint8_t>(args[1][0]) : 'B';
    CBVSW image;
    try {
        if (image.Load(model, ToFile(args[0]), nullptr) == 0)
            return Fail("status " + std::to_string(image.Status()));
    } catch (const ImageFileError& e) {
        return Fail(e.what());
    }
    std::printf("year %d\n", static_cast<int>(image.Year()));
    const auto& v = image.Version();
    std::printf("version %02X %02X %02X %02X %02X %02X\n", v[0], v[1], v[2], v[3], v[4], v[5]);
    std::printf("blocks %d %d\n", image.FirstPassBlocks(), image.TotalBlocks());
    for (int b = 1; b <= image.TotalBlocks(); ++b) {
        CBVSW::BlockView block{};
        if (!image.GetBlock(b, block))
            return Fail("block " + std::to_string(b) + " is missing");
        std::printf("%d %d %05X %d\n", b, block.sector, static_cast<unsigned>(block.address), block.length);
    }
    return 0;
}

[[maybe_unused]] const bool registered = Register(
    {"srec", "bvtool srec FILE [A|B]",
     "a target software image (.s28) as the loader cuts it: year, version, block totals, then NUMBER SECTOR ADDRESS "
     "LENGTH per block",
     &RunSrec});

}  // namespace
}  // namespace bvtool
