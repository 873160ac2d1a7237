#pragma once
// The firmware of the USB line adapters that the program carries and loads
// into an adapter of another version. It comes from the file given to the
// build (cmake -DBV_USB_FIRMWARE=file), whose layout is:
//   page count (32 bits, low byte first), major, minor, the pages (64 bytes each)
// A build without that file carries none, and the adapters then keep the
// firmware they have: only the maker's image may ever reach an adapter.
#include <cstddef>
#include <cstdint>
#include <vector>

struct UsbFirmwareImage {
    static constexpr size_t kPageSize = 64;
    uint32_t pages = 0;
    uint8_t major = 0;
    uint8_t minor = 0;
    std::vector<uint8_t> bytes;  // pages * 64
};

class UsbFirmware {
public:
    // The image this build carries, or null.
    static const UsbFirmwareImage* Carried();
    // Reads an image file's bytes; false when they do not hold a whole image.
    static bool Parse(const uint8_t* data, size_t size, UsbFirmwareImage& image);
};
