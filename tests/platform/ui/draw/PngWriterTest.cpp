// The PNG writer on bitmaps made by hand: every pixel format it takes comes
// out with the right colours, every bad header is refused with its message,
// and the options become the chunks pngcheck sees.
#include "platform/ui/draw/PngWriter.h"

#include "tests/platform/ui/DrawTestSupport.h"
#include "QtApp.h"
#include "TempFolder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace platform;

std::vector<std::string> g_messages;
void Collect(const char* message) { g_messages.emplace_back(message); }

// A bitmap in memory: header (with colour table or masks after it) and
// pixel rows, built from rows given top down.
struct Dib {
    std::vector<uint8_t> header;
    std::vector<uint8_t> bits;
    BitmapInfoHeader* Header() { return reinterpret_cast<BitmapInfoHeader*>(header.data()); }
};

void PutLe(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

// Pixels are palette indexes, grey levels, 16-bit words, 0xRRGGBB (24 bits)
// or 32-bit words, by the depth.
Dib MakeDib(int bits, const std::vector<std::vector<uint32_t>>& topDown, uint32_t compression = BI_RGB,
            const std::vector<uint32_t>& after = {}, uint32_t coloursUsed = 0)
{
    Dib dib;
    int width = static_cast<int>(topDown.at(0).size());
    int height = static_cast<int>(topDown.size());
    dib.header.assign(sizeof(BitmapInfoHeader) + 4 * after.size(), 0);
    BitmapInfoHeader h;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = static_cast<uint16_t>(bits);
    h.biCompression = compression;
    h.biClrUsed = coloursUsed;
    std::memcpy(dib.header.data(), &h, sizeof h);
    for (size_t i = 0; i < after.size(); ++i)
        PutLe(dib.header, sizeof h + 4 * i, after[i], 4);

    size_t stride = (static_cast<size_t>(bits) * static_cast<size_t>(width) + 31) / 32 * 4;
    dib.bits.assign(stride * static_cast<size_t>(height), 0xEE);  // padding that must not show
    for (int row = 0; row < height; ++row) {
        size_t base = stride * static_cast<size_t>(height - 1 - row);
        for (size_t x = 0; x < static_cast<size_t>(width); ++x) {
            uint32_t v = topDown[static_cast<size_t>(row)][x];
            if (bits < 8) {
                size_t bit = x * static_cast<size_t>(bits);
                uint8_t& byte = dib.bits[base + bit / 8];
                int shift = 8 - bits - static_cast<int>(bit % 8);
                uint8_t mask = static_cast<uint8_t>(((1 << bits) - 1) << shift);
                byte = static_cast<uint8_t>((byte & ~mask) | ((v << shift) & mask));
            } else if (bits == 24) {
                dib.bits[base + 3 * x] = static_cast<uint8_t>(v);
                dib.bits[base + 3 * x + 1] = static_cast<uint8_t>(v >> 8);
                dib.bits[base + 3 * x + 2] = static_cast<uint8_t>(v >> 16);
            } else {
                PutLe(dib.bits, base + x * static_cast<size_t>(bits / 8), v, bits / 8);
            }
        }
    }
    return dib;
}

PngJob JobFor(Dib& dib, int colourType)
{
    PngJob job;
    job.header = dib.Header();
    job.bits = dib.bits.data();
    job.colourType = colourType;
    return job;
}

class PngWriterTest : public bvtest::InTempFolder {
protected:
    static void SetUpTestSuite() { bvtest::QtApp(); }
    void SetUp() override
    {
        g_messages.clear();
        SetPngErrorReporter(Collect);
    }
    void TearDown() override { SetPngErrorReporter(nullptr); }

    int Write(const PngJob& job, const std::string& name)
    {
        std::FILE* file = std::fopen(folder.File(name).c_str(), "wb");
        int rc = DibToPng(job, file);
        std::fclose(file);
        return rc;
    }
    std::string Check(const std::string& name, int* exitCode)
    {
        return bvtest::RunCommand("pngcheck -v '" + folder.File(name) + "' 2>&1", exitCode);
    }
};

TEST_F(PngWriterTest, EveryPixelFormatKeepsItsColours)
{
    struct Case {
        const char* name;
        int bits;
        uint32_t compression;
        std::vector<uint32_t> after;  // colour table or masks
        uint32_t coloursUsed;
        int colourType;
        std::vector<std::vector<uint32_t>> pixels;
        std::vector<std::vector<QRgb>> expected;
    };
    const std::vector<Case> cases = {
        {"16 bits, 5-5-5", 16, BI_RGB, {}, 0, PNG_RGB,
         {{0x7C00, 0x03E0, 0x001F}, {0x7FFF, 0x0000, 0x4210}},
         {{qRgb(0xF8, 0, 0), qRgb(0, 0xF8, 0), qRgb(0, 0, 0xF8)},
          {qRgb(0xF8, 0xF8, 0xF8), qRgb(0, 0, 0), qRgb(0x80, 0x80, 0x80)}}},
        {"16 bits, 5-6-5 masks", 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, 0, PNG_RGB,
         {{0xF800, 0x07E0, 0x001F}, {0xFFFF, 0x0000, 0x8410}},
         {{qRgb(0xF8, 0, 0), qRgb(0, 0xFC, 0), qRgb(0, 0, 0xF8)},
          {qRgb(0xF8, 0xFC, 0xF8), qRgb(0, 0, 0), qRgb(0x80, 0x80, 0x80)}}},
        {"24 bits", 24, BI_RGB, {}, 0, PNG_RGB,
         {{0x112233, 0x445566, 0x778899}, {0xAABBCC, 0xDDEEFF, 0x000001}},
         {{qRgb(0x11, 0x22, 0x33), qRgb(0x44, 0x55, 0x66), qRgb(0x77, 0x88, 0x99)},
          {qRgb(0xAA, 0xBB, 0xCC), qRgb(0xDD, 0xEE, 0xFF), qRgb(0, 0, 1)}}},
        {"32 bits", 32, BI_RGB, {}, 0, PNG_RGB,
         {{0xFF112233, 0x00445566, 0x00778899}, {0x00AABBCC, 0x00DDEEFF, 0x00000001}},
         {{qRgb(0x11, 0x22, 0x33), qRgb(0x44, 0x55, 0x66), qRgb(0x77, 0x88, 0x99)},
          {qRgb(0xAA, 0xBB, 0xCC), qRgb(0xDD, 0xEE, 0xFF), qRgb(0, 0, 1)}}},
        // Channels wider than 8 bits keep their top 8 bits.
        {"32 bits, 10-10-10 masks", 32, BI_BITFIELDS, {0x3FF00000, 0x000FFC00, 0x000003FF}, 0, PNG_RGB,
         {{0x3FF00000, 0x000FFC00, 0x000003FF}, {0x20080200, 0, 0x3FFFFFFF}},
         {{qRgb(0xFF, 0, 0), qRgb(0, 0xFF, 0), qRgb(0, 0, 0xFF)},
          {qRgb(0x80, 0x80, 0x80), qRgb(0, 0, 0), qRgb(0xFF, 0xFF, 0xFF)}}},
        // Colour table entries are blue, green, red, unused.
        {"8-bit palette", 8, BI_RGB, {0x000000, 0xFF0000, 0x00FF00, 0x302010}, 4, PNG_PALETTE,
         {{1, 2, 3}, {0, 3, 1}},
         {{qRgb(0xFF, 0, 0), qRgb(0, 0xFF, 0), qRgb(0x30, 0x20, 0x10)},
          {qRgb(0, 0, 0), qRgb(0x30, 0x20, 0x10), qRgb(0xFF, 0, 0)}}},
        {"1-bit palette", 1, BI_RGB, {0xFFFFFF, 0x000000}, 0, PNG_PALETTE,
         {{1, 0, 1}, {0, 1, 0}},
         {{qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 0)},
          {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(255, 255, 255)}}},
        {"4-bit palette", 4, BI_RGB, {0x0000FF, 0x00FF00, 0xFF0000}, 3, PNG_PALETTE,
         {{0, 1, 2}, {2, 1, 0}},
         {{qRgb(0, 0, 0xFF), qRgb(0, 0xFF, 0), qRgb(0xFF, 0, 0)},
          {qRgb(0xFF, 0, 0), qRgb(0, 0xFF, 0), qRgb(0, 0, 0xFF)}}},
        {"8-bit grey", 8, BI_RGB, {}, 0, PNG_GREY,
         {{0x00, 0x80, 0xFF}, {0x40, 0xC0, 0x20}},
         {{qRgb(0, 0, 0), qRgb(0x80, 0x80, 0x80), qRgb(0xFF, 0xFF, 0xFF)},
          {qRgb(0x40, 0x40, 0x40), qRgb(0xC0, 0xC0, 0xC0), qRgb(0x20, 0x20, 0x20)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dib dib = MakeDib(c.bits, c.pixels, c.compression, c.after, c.coloursUsed);
        ASSERT_EQ(Write(JobFor(dib, c.colourType), "p.png"), 1) << (g_messages.empty() ? "" : g_messages.back());
        int exitCode = -1;
        std::string report = Check("p.png", &exitCode);
        EXPECT_EQ(exitCode, 0) << report;
        QImage image(QString::fromStdString(folder.File("p.png")));
        ASSERT_EQ(image.size(), QSize(3, 2));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(image.pixel(x, y) | 0xFF000000u, c.expected[static_cast<size_t>(y)][static_cast<size_t>(x)])
                    << x << "," << y;
    }
}

TEST_F(PngWriterTest, SixteenBitGreyKeepsItsByteOrder)
{
    Dib dib = MakeDib(16, {{0x1234, 0xFF00}});
    ASSERT_EQ(Write(JobFor(dib, PNG_GREY), "g.png"), 1);
    QImage image(QString::fromStdString(folder.File("g.png")));
    ASSERT_EQ(image.format(), QImage::Format_Grayscale16);
    const auto* row = reinterpret_cast<const uint16_t*>(image.constScanLine(0));
    EXPECT_EQ(row[0], 0x1234);
    EXPECT_EQ(row[1], 0xFF00);
}

TEST_F(PngWriterTest, BadBitmapsAreRefusedWithTheirReason)
{
    struct Case {
        const char* expected;
        std::function<void(Dib&, PngJob&)> spoil;
    };
    const std::vector<Case> cases = {
        {"DIB has BITMAPCOREHEADER.\n\rUnsupported DIB type.", [](Dib& d, PngJob&) { d.Header()->biSize = 12; }},
        {"Invalid DIB BITMAPINFOHEADER", [](Dib& d, PngJob&) { d.Header()->biSize = 64; }},
        {"DIB Compression Type: 1, not supported.", [](Dib& d, PngJob&) { d.Header()->biCompression = 1; }},
        {"DIB Compression Type: 2, not supported.", [](Dib& d, PngJob&) { d.Header()->biCompression = 2; }},
        {"Illegal # of transparent entries in palette: 257.", [](Dib&, PngJob& j) { j.transparencyCount = 257; }},
        {"Illegal # of transparent entries in palette: -1.", [](Dib&, PngJob& j) { j.transparencyCount = -1; }},
        {"Bit depth of 8 is invalid\nfor color type 2.", [](Dib& d, PngJob&) { d.Header()->biBitCount = 8; }},
        {"Bit depth of 24 is invalid\nfor color type 3.", [](Dib&, PngJob& j) { j.colourType = PNG_PALETTE; }},
        {"Bit depth of 24 is invalid\nfor color type 0.", [](Dib&, PngJob& j) { j.colourType = PNG_GREY; }},
        {"Invalid biClrUsed field value: 3",
         [](Dib& d, PngJob& j) {
             d.Header()->biBitCount = 1;
             d.Header()->biClrUsed = 3;
             j.colourType = PNG_PALETTE;
         }},
        {"Invalid color type: 4", [](Dib&, PngJob& j) { j.colourType = 4; }},
        {"Invalid DIB Compression Type: 3.", [](Dib& d, PngJob&) { d.Header()->biCompression = 3; }},
        {"Invalid DIB Compression Type: 4.",
         [](Dib& d, PngJob&) {
             d.Header()->biBitCount = 32;
             d.Header()->biCompression = 4;
         }},
        // Sizes a bitmap cannot have, or that would ask for gigabytes.
        {"Invalid DIB BITMAPINFOHEADER", [](Dib& d, PngJob&) { d.Header()->biWidth = 0; }},
        {"Invalid DIB BITMAPINFOHEADER", [](Dib& d, PngJob&) { d.Header()->biHeight = -2; }},
        {"Invalid DIB BITMAPINFOHEADER", [](Dib& d, PngJob&) { d.Header()->biWidth = 2000000; }},
        {"Invalid DIB BITMAPINFOHEADER", [](Dib&, PngJob& j) { j.bits = nullptr; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        g_messages.clear();
        Dib dib = MakeDib(24, {{1, 2}, {3, 4}});
        PngJob job = JobFor(dib, PNG_RGB);
        c.spoil(dib, job);
        EXPECT_EQ(Write(job, "bad.png"), 0);
        ASSERT_EQ(g_messages.size(), 1u);
        EXPECT_EQ(g_messages[0], c.expected);
        EXPECT_EQ(bvtest::TempFolder::Read(folder.File("bad.png")), "") << "nothing written";
    }
}

// A file that does not take the bytes fails the picture instead of leaving a
// cut one as if all went well.
TEST_F(PngWriterTest, AFileThatCannotBeWrittenFailsThePicture)
{
    bvtest::TempFolder::Write(folder.File("ro.png"), "");
    Dib dib = MakeDib(24, {{1, 2}, {3, 4}});
    std::FILE* file = std::fopen(folder.File("ro.png").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(DibToPng(JobFor(dib, PNG_RGB), file), 0);
    std::fclose(file);
    ASSERT_FALSE(g_messages.empty());
    EXPECT_EQ(g_messages.back(), "Pnglib error [from setjmp()].");
}

TEST_F(PngWriterTest, OptionsBecomeChunks)
{
    const PngText text{-1, "www.brevandi.no", "grafiske filer"};
    const PngColour16 white{0, 255, 255, 255, 0};
    const PngColour16 green{0, 0, 255, 0, 0};
    const uint8_t alphas[] = {0, 128};
    struct Case {
        const char* name;
        std::function<Dib()> dib;
        int colourType;
        std::function<void(PngJob&)> options;
        std::vector<std::string> present, absent;
        std::function<void(const QImage&)> decoded;
    };
    auto rgb = [] { return MakeDib(24, {{0xFFFFFF, 0x000000}}); };
    auto palette = [] { return MakeDib(8, {{0, 1}}, BI_RGB, {0x00FF00, 0x0000FF}, 2); };
    const std::vector<Case> cases = {
        {"plain", rgb, PNG_RGB, [](PngJob&) {}, {"chunk IHDR", "chunk IDAT", "chunk IEND", "non-interlaced"},
         {"tEXt", "tIME", "gAMA", "tRNS", "PLTE"}, nullptr},
        {"text, time and gamma", rgb, PNG_RGB,
         [&](PngJob& j) {
             j.textCount = 1;
             j.texts = &text;
             j.timeFlag = 1;
             j.gamma = 0.45455;
             j.compressionLevel = 9;
         },
         {"chunk tEXt", "keyword: www.brevandi.no", "chunk tIME", "UTC", "chunk gAMA", "0.4545"}, {"zTXt"}, nullptr},
        {"transparent colour", rgb, PNG_RGB, [&](PngJob& j) { j.transparentColour = &white; },
         {"chunk tRNS", "red = 0x00ff, green = 0x00ff, blue = 0x00ff"}, {},
         [](const QImage& image) {
             EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
             EXPECT_EQ(qAlpha(image.pixel(1, 0)), 255);
         }},
        {"palette transparency", palette, PNG_PALETTE,
         [&](PngJob& j) {
             j.paletteTransparency = alphas;
             j.transparencyCount = 2;
         },
         {"chunk PLTE", "chunk tRNS"}, {},
         [](const QImage& image) {
             EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
             EXPECT_EQ(qAlpha(image.pixel(1, 0)), 128);
         }},
        // A palette picture marks the entries of its transparent colour.
        {"palette with a transparent colour", palette, PNG_PALETTE, [&](PngJob& j) { j.transparentColour = &green; },
         {"chunk PLTE", "chunk tRNS"}, {},
         [](const QImage& image) {
             EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
             EXPECT_EQ(qGreen(image.pixel(0, 0)), 255);
             EXPECT_EQ(qAlpha(image.pixel(1, 0)), 255);
         }},
        {"interlaced", rgb, PNG_RGB, [](PngJob& j) { j.interlace = 1; }, {"interlaced", "rows per pass"},
         {"non-interlaced"}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dib dib = c.dib();
        PngJob job = JobFor(dib, c.colourType);
        c.options(job);
        ASSERT_EQ(Write(job, "o.png"), 1);
        int exitCode = -1;
        std::string report = Check("o.png", &exitCode);
        EXPECT_EQ(exitCode, 0) << report;
        for (const std::string& s : c.present)
            EXPECT_NE(report.find(s), std::string::npos) << s << "\n" << report;
        for (const std::string& s : c.absent)
            EXPECT_EQ(report.find(s), std::string::npos) << s << "\n" << report;
        if (c.decoded)
            c.decoded(QImage(QString::fromStdString(folder.File("o.png"))));
    }
}

}  // namespace
