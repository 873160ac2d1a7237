#pragma once
// Images made by the outside tool srec_cat from one binary, for checking the
// image reader against an S-record writer that is not ours.
#include "RunCommand.h"
#include "TempFolder.h"

#include <cstdint>
#include <string>

namespace bvtest {

// A binary of size bytes from address 0 that has every byte value, the
// escaped ones included, in no simple order.
inline std::string ImageBinary(size_t size)
{
    std::string bytes(size, '\0');
    uint32_t x = 2463534242u;
    for (size_t k = 0; k < size; ++k) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes[k] = static_cast<char>(x >> 24);
    }
    return bytes;
}

// Writes binary into image.bin and srec_cat's S2 image of it, with records
// of recordBytes data bytes, into path; srec_cat's own reading of that
// image back to a binary goes into path + ".bin". False when srec_cat failed.
inline bool MakeSrecImage(const std::string& binary, int recordBytes, const std::string& path)
{
    TempFolder::Write("image.bin", binary);
    int status = -1;
    RunCommand("srec_cat image.bin -binary -execution-start-address=0 -o " + path +
                   " -motorola -address-length=3 -disable=data-count -obs=" + std::to_string(recordBytes),
               &status);
    if (status != 0)
        return false;
    RunCommand("srec_cat " + path + " -motorola -o " + path + ".bin -binary", &status);
    return status == 0;
}

}  // namespace bvtest
