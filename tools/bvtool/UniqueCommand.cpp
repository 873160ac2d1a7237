// bvtool unique: draws the next number of a start-number sequence file (such
// as a competition's StartNr.bvd), exactly as the results program does.
#include "Command.h"

#include "foundation/files/BVFileEx.h"

#include <cstdio>

namespace bvtool {
namespace {

int RunUnique(const Args& args)
{
    if (args.size() != 1)
        return Fail("usage: bvtool unique FILE");
    CBVFileEx file;
    int rc = file.Open(ToFile(args[0]), 4, 1, 1, CBVFileEx::kUpdated | CBVFileEx::kWritable);
    if (rc == -99)
        return Fail(args[0] + " is not a start-number file (record size " + std::to_string(file.Header().recordSize) +
                    ", version " + std::to_string(file.GetVersion()) + ")");
    if (rc != 0)
        return Fail("cannot open or create " + args[0] + " (" + std::to_string(rc) + ")");
    int32_t number = file.GetUnique();
    if (number == 0)
        return Fail("no number drawn: " + args[0] + " is locked by another program or cannot be written");
    std::printf("%d\n", number);
    return 0;
}

[[maybe_unused]] const bool registered = Register(
    {"unique", "bvtool unique FILE",
     "draws the next number from a start-number sequence file (made when missing) and prints it", &RunUnique});

}  // namespace
}  // namespace bvtool
