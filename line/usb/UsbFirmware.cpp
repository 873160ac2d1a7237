#include "line/usb/UsbFirmware.h"

namespace {

#ifdef BV_USB_FIRMWARE_INC
const uint8_t kFile[] = {
#include BV_USB_FIRMWARE_INC
};
#endif

}  // namespace

bool UsbFirmware::Parse(const uint8_t* data, size_t size, UsbFirmwareImage& image)
{
    if (size < 6)
        return false;
    uint32_t pages = data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
    // The page number goes in 16 bits of the half-page frame.
    if (pages == 0 || pages > 1024 || size != 6 + pages * UsbFirmwareImage::kPageSize)
        return false;
    image.pages = pages;
    image.major = data[4];
    image.minor = data[5];
    image.bytes.assign(data + 6, data + size);
    return true;
}

const UsbFirmwareImage* UsbFirmware::Carried()
{
#ifdef BV_USB_FIRMWARE_INC
    static const UsbFirmwareImage* image = [] {
        static UsbFirmwareImage parsed;
        return Parse(kFile, sizeof kFile, parsed) ? &parsed : nullptr;
    }();
    return image;
#else
    return nullptr;
#endif
}
