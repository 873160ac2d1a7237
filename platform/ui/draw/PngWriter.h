#pragma once
// The PNG writer of the off-screen pictures: a device-independent bitmap (a
// DIB: header, colour table or masks, pixel rows bottom up, each row padded
// to 4 bytes) and the wishes of a PngJob become a PNG file through libpng.
#include <cstdint>
#include <cstdio>

namespace platform {

// The 40-byte DIB header, field for field.
struct BitmapInfoHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;  // rows, stored bottom up
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;  // 0 plain, 1 and 2 run-length, 3 colour masks
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

enum DibCompression : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

// PNG colour types the writer makes.
enum PngColourType : int { PNG_GREY = 0, PNG_RGB = 2, PNG_PALETTE = 3 };

struct PngText {
    int compression = -1;  // -1: stored as plain text
    const char* key = nullptr;
    const char* text = nullptr;
};

// A colour of 16 bits a channel, as the transparency chunk holds it.
struct PngColour16 {
    uint8_t index = 0;
    uint16_t red = 0;
    uint16_t green = 0;
    uint16_t blue = 0;
    uint16_t grey = 0;
};

// What to write. The caller owns everything it points to. The header is
// followed in memory by its colour table (palette pictures) or by three
// 32-bit colour masks red, green, blue (compression 3).
struct PngJob {
    const BitmapInfoHeader* header = nullptr;
    const uint8_t* bits = nullptr;
    int colourType = PNG_RGB;
    int interlace = 0;                 // nonzero: Adam7
    double gamma = -1.0;               // above 0: written
    int textCount = 0;
    const PngText* texts = nullptr;
    int timeFlag = 0;                  // nonzero: the time of writing, in UTC
    const uint8_t* paletteTransparency = nullptr;  // alpha per palette entry
    int transparencyCount = 0;         // 0 .. 256
    const PngColour16* transparentColour = nullptr;
    int compressionLevel = 0;          // nonzero: the compression library's level
    int unfiltered = 0;                // nonzero: rows without a filter (quicker to pack, a little larger)
};

// Writes the picture to the open file: 1 when written, 0 when it failed (the
// reason goes to the error reporter). A file that fails to take the bytes
// fails the job.
int DibToPng(const PngJob& job, std::FILE* file);

// Where the writer's messages go; by default nowhere. nullptr restores that.
using PngErrorReporter = void (*)(const char* message);
void SetPngErrorReporter(PngErrorReporter reporter);

}  // namespace platform
