#include "platform/ui/draw/PngWriter.h"

#include <png.h>

#include <bit>
#include <cstdarg>
#include <cstring>
#include <ctime>
#include <new>
#include <vector>

namespace platform {

namespace {

PngErrorReporter g_reporter = nullptr;

void Report(const char* format, ...)
{
    if (g_reporter == nullptr)
        return;
    char message[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    g_reporter(message);
}

// libpng refuses wider or taller pictures by default; checking first keeps
// a wild header from asking for gigabytes of rows.
constexpr int64_t kLargestSide = 1000000;

int64_t Stride(int64_t bitsPerPixel, int64_t width)
{
    return (bitsPerPixel * width + 31) / 32 * 4;
}

uint32_t ReadLe32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// One channel through its colour mask, stretched to 8 bits: a 5-bit channel
// moves up by 3, an 8-bit one stays, a wider one keeps its top 8 bits.
uint8_t MaskedChannel(uint32_t pixel, uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = std::countr_zero(mask);
    int run = std::countr_one(mask >> shift);
    uint32_t value = (pixel & mask) >> shift;
    return static_cast<uint8_t>(run <= 8 ? value << (8 - run) : value >> (run - 8));
}

// Everything libpng needs, made ready before its error return is armed.
struct Prepared {
    int width = 0;
    int height = 0;
    int bitDepth = 8;
    int colourType = PNG_COLOR_TYPE_RGB;
    const png_const_bytep* rows = nullptr;
    const png_color* palette = nullptr;
    int paletteCount = 0;
    const png_byte* transparencyAlpha = nullptr;
    int transparencyCount = 0;
    const png_color_16* transparentColour = nullptr;
    png_text* texts = nullptr;
    int textCount = 0;
    bool swap16 = false;
    bool bgrx = false;  // rows of blue, green, red and a byte to drop, as a 32-bit bitmap holds them
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void WriteBytes(png_structp png, png_bytep data, size_t length)
{
    auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
    // A full disk must fail the picture, not leave a cut one behind as if
    // all went well.
    if (std::fwrite(data, 1, length, file) != length)
        png_error(png, "write failed");
}

void FlushNothing(png_structp) {}

// Kept apart from the C++ objects of the caller: libpng leaves by longjmp.
int WriteThroughLibpng(std::FILE* file, const PngJob& job, const Prepared& d)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (png == nullptr) {
        Report("Couldn't allocate enough memory");
        return 0;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        Report("Pnglib couldn't create an info structure.");
        return 0;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        Report("Pnglib error [from setjmp()].");
        return 0;
    }
    png_set_write_fn(png, file, WriteBytes, FlushNothing);
    if (job.compressionLevel != 0)
        png_set_compression_level(png, job.compressionLevel);
    if (job.unfiltered)
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, static_cast<png_uint_32>(d.width), static_cast<png_uint_32>(d.height), d.bitDepth,
                 d.colourType, job.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (d.paletteCount > 0 && d.colourType != PNG_COLOR_TYPE_GRAY && d.colourType != PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_PLTE(png, info, d.palette, d.paletteCount);
    if (job.gamma > 0)
        png_set_gAMA(png, info, job.gamma);
    if (d.textCount > 0)
        png_set_text(png, info, d.texts, d.textCount);
    if (job.timeFlag) {
        std::time_t now = std::time(nullptr);
        std::tm utc{};
        gmtime_r(&now, &utc);
        png_time modified;
        png_convert_from_struct_tm(&modified, &utc);
        png_set_tIME(png, info, &modified);
    }
    if (d.transparentColour != nullptr || (d.transparencyCount > 0 && d.transparencyAlpha != nullptr))
        png_set_tRNS(png, info, d.transparencyAlpha, d.transparencyCount, d.transparentColour);
    png_write_info(png, info);
    if (d.swap16)
        png_set_swap(png);
    if (d.bgrx) {
        png_set_bgr(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    }
    int passes = job.interlace ? png_set_interlace_handling(png) : 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < d.height; ++y)
            png_write_row(png, d.rows[y]);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return 1;
}

int Write(const PngJob& job, std::FILE* file)
{
    const BitmapInfoHeader* header = job.header;
    if (header == nullptr || job.bits == nullptr || file == nullptr) {
        Report("Invalid DIB BITMAPINFOHEADER");
        return 0;
    }
    if (header->biSize == 12) {
        Report("DIB has BITMAPCOREHEADER.\n\rUnsupported DIB type.");
        return 0;
    }
    if (header->biSize != 40 && header->biSize != 108) {
        Report("Invalid DIB BITMAPINFOHEADER");
        return 0;
    }
    uint32_t compression = header->biCompression;
    if (compression == BI_RLE8 || compression == BI_RLE4) {
        Report("DIB Compression Type: %d, not supported.", static_cast<int>(compression));
        return 0;
    }
    if (job.transparencyCount < 0 || job.transparencyCount > 256) {
        Report("Illegal # of transparent entries in palette: %d.", job.transparencyCount);
        return 0;
    }
    int64_t width = header->biWidth, height = header->biHeight;
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) {
        Report("Invalid DIB BITMAPINFOHEADER");
        return 0;
    }

    const auto* headerBytes = reinterpret_cast<const uint8_t*>(header);
    int bits = header->biBitCount;
    Prepared d;
    d.width = static_cast<int>(width);
    d.height = static_cast<int>(height);
    const uint8_t* pixels = job.bits;
    int64_t stride = Stride(bits, width);
    std::vector<uint8_t> converted;
    std::vector<png_color> palette;
    std::vector<png_byte> alpha;
    png_color_16 transparent{};

    switch (job.colourType) {
    case PNG_GREY:
        if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16) {
            Report("Bit depth of %d is invalid\nfor color type %d.", bits, job.colourType);
            return 0;
        }
        d.colourType = PNG_COLOR_TYPE_GRAY;
        d.bitDepth = bits;
        // 16-bit samples lie in the bitmap as the machine's little-endian
        // words; PNG keeps them big-endian.
        d.swap16 = bits == 16;
        break;
    case PNG_RGB: {
        if (bits != 16 && bits != 24 && bits != 32) {
            Report("Bit depth of %d is invalid\nfor color type %d.", bits, job.colourType);
            return 0;
        }
        bool masked = compression == BI_BITFIELDS;
        if ((compression != BI_RGB && !masked) || (bits == 24 && masked)) {
            Report("Invalid DIB Compression Type: %d.", static_cast<int>(compression));
            return 0;
        }
        d.colourType = PNG_COLOR_TYPE_RGB;
        d.bitDepth = 8;
        if (bits == 32 && !masked) {
            // libpng reorders and drops the spare byte itself, row by row:
            // no copy of the picture.
            d.bgrx = true;
            break;
        }
        uint32_t redMask = 0, greenMask = 0, blueMask = 0;
        if (masked) {
            redMask = ReadLe32(headerBytes + 40);
            greenMask = ReadLe32(headerBytes + 44);
            blueMask = ReadLe32(headerBytes + 48);
        }
        int64_t rgbStride = Stride(24, width);
        converted.assign(static_cast<size_t>(rgbStride * height), 0);
        for (int64_t row = 0; row < height; ++row) {
            const uint8_t* from = job.bits + row * stride;
            uint8_t* to = converted.data() + row * rgbStride;
            for (int64_t x = 0; x < width; ++x) {
                uint8_t red, green, blue;
                if (bits == 24) {
                    blue = from[3 * x];
                    green = from[3 * x + 1];
                    red = from[3 * x + 2];
                } else {
                    uint32_t pixel = bits == 16 ? static_cast<uint32_t>(from[2 * x] | (from[2 * x + 1] << 8))
                                                : ReadLe32(from + 4 * x);
                    if (masked) {
                        red = MaskedChannel(pixel, redMask);
                        green = MaskedChannel(pixel, greenMask);
                        blue = MaskedChannel(pixel, blueMask);
                    } else if (bits == 16) {
                        // 5 bits each of red, green and blue.
                        red = static_cast<uint8_t>((pixel >> 7) & 0xF8);
                        green = static_cast<uint8_t>((pixel >> 2) & 0xF8);
                        blue = static_cast<uint8_t>((pixel & 0x1F) << 3);
                    } else {
                        red = static_cast<uint8_t>(pixel >> 16);
                        green = static_cast<uint8_t>(pixel >> 8);
                        blue = static_cast<uint8_t>(pixel);
                    }
                }
                to[3 * x] = red;
                to[3 * x + 1] = green;
                to[3 * x + 2] = blue;
            }
        }
        pixels = converted.data();
        stride = rgbStride;
        break;
    }
    case PNG_PALETTE: {
        if (bits != 1 && bits != 2 && bits != 4 && bits != 8) {
            Report("Bit depth of %d is invalid\nfor color type %d.", bits, job.colourType);
            return 0;
        }
        uint32_t most = 1u << bits;
        if (header->biClrUsed > most) {
            Report("Invalid biClrUsed field value: %d", static_cast<int>(header->biClrUsed));
            return 0;
        }
        uint32_t colours = header->biClrUsed != 0 ? header->biClrUsed : most;
        const uint8_t* table = headerBytes + header->biSize;
        palette.resize(colours);
        for (uint32_t i = 0; i < colours; ++i)
            palette[i] = {table[4 * i + 2], table[4 * i + 1], table[4 * i]};
        d.colourType = PNG_COLOR_TYPE_PALETTE;
        d.bitDepth = bits;
        d.palette = palette.data();
        d.paletteCount = static_cast<int>(colours);
        if (job.transparencyCount > 0 && job.paletteTransparency != nullptr) {
            d.transparencyAlpha = job.paletteTransparency;
            d.transparencyCount = std::min(job.transparencyCount, static_cast<int>(colours));
        } else if (job.transparentColour != nullptr) {
            // A palette picture marks its transparent colour by the palette
            // entries of that colour.
            const PngColour16& c = *job.transparentColour;
            int last = -1;
            for (uint32_t i = 0; i < colours; ++i) {
                bool same = palette[i].red == c.red && palette[i].green == c.green && palette[i].blue == c.blue;
                alpha.push_back(same ? 0 : 255);
                if (same)
                    last = static_cast<int>(i);
            }
            if (last >= 0) {
                d.transparencyAlpha = alpha.data();
                d.transparencyCount = last + 1;
            }
        }
        break;
    }
    default:
        Report("Invalid color type: %d", job.colourType);
        return 0;
    }

    if (d.colourType != PNG_COLOR_TYPE_PALETTE && job.transparentColour != nullptr) {
        const PngColour16& c = *job.transparentColour;
        transparent.index = c.index;
        transparent.red = c.red;
        transparent.green = c.green;
        transparent.blue = c.blue;
        transparent.gray = c.grey;
        d.transparentColour = &transparent;
    }

    std::vector<png_text> texts;
    for (int i = 0; i < job.textCount && job.texts != nullptr; ++i) {
        png_text t{};
        t.compression = job.texts[i].compression;
        t.key = const_cast<char*>(job.texts[i].key);
        t.text = const_cast<char*>(job.texts[i].text);
        t.text_length = t.text != nullptr ? std::strlen(t.text) : 0;
        texts.push_back(t);
    }
    d.texts = texts.data();
    d.textCount = static_cast<int>(texts.size());

    // PNG row 0 is the top row, the last one of the bitmap.
    std::vector<png_const_bytep> rows(static_cast<size_t>(height));
    for (int64_t y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] = pixels + (height - 1 - y) * stride;
    d.rows = rows.data();

    return WriteThroughLibpng(file, job, d);
}

}  // namespace

int DibToPng(const PngJob& job, std::FILE* file)
{
    try {
        return Write(job, file);
    } catch (const std::bad_alloc&) {
        Report("Couldn't allocate enough memory");
        return 0;
    }
}

void SetPngErrorReporter(PngErrorReporter reporter)
{
    g_reporter = reporter;
}

}  // namespace platform
