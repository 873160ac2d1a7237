#include "platform/ui/draw/BitmapDC.h"

#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "platform/ui/draw/PngWriter.h"

#include <QPainter>
#include <QSysInfo>

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include <unistd.h>

namespace platform {

namespace {

// The text every picture carries: who made it, and what it is.
constexpr const char* kMakerWebAddress = "www.brevandi.no";
constexpr const char* kPictureText = "grafiske filer";

// The text chunk that tells what a picture holds without unpacking it.
constexpr const char* kDigestKey = "Picture digest";
// The quick packing's level: in tests on card sheets level 2 packed faster
// than 1 and as small as 3.
constexpr int kQuickLevel = 2;

// 64 bits of the pixels and of how they are saved, as 16 hex digits. Four
// lanes of multiply and shift keep it to a fraction of a millisecond for a
// card sheet; every step can be undone, so a single changed word always
// changes the digest.
std::string BitmapPixelDigest(const QImage& image, bool interlaced, bool useTransparent, Colour transparent)
{
    constexpr uint64_t kOdd = 0x9E3779B97F4A7C15ull;
    auto mix = [](uint64_t h, uint64_t word) {
        h = (h ^ word) * kOdd;
        return h ^ (h >> 29);
    };
    uint64_t lanes[4] = {0x243F6A8885A308D3ull, 0x13198A2E03707344ull, 0xA4093822299F31D0ull, 0x082EFA98EC4E6C89ull};
    const size_t rowBytes = static_cast<size_t>(image.width()) * 4;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        size_t i = 0;
        for (; i + 32 <= rowBytes; i += 32)
            for (int k = 0; k < 4; ++k) {
                uint64_t word;
                std::memcpy(&word, row + i + 8 * k, 8);
                lanes[k] = mix(lanes[k], word);
            }
        for (; i + 4 <= rowBytes; i += 4) {
            uint32_t word;
            std::memcpy(&word, row + i, 4);
            lanes[0] = mix(lanes[0], word);
        }
    }
    uint64_t h = mix(mix(lanes[0], lanes[1]), mix(lanes[2], lanes[3]));
    h = mix(h, (static_cast<uint64_t>(image.width()) << 32) | static_cast<uint32_t>(image.height()));
    h = mix(h, (useTransparent ? (uint64_t{1} << 32) | transparent : 0) | (interlaced ? uint64_t{1} << 33 : 0));
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

uint32_t BigEndian32(const unsigned char* p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

// The digest a complete picture file carries before its pixels; empty when
// the file is missing, cut short or not such a picture.
std::string StoredPixelDigest(const std::string& nativePath)
{
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    static const unsigned char kEnd[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    std::FILE* file = std::fopen(nativePath.c_str(), "rb");
    if (file == nullptr)
        return {};
    unsigned char head[1024];
    unsigned char tail[12];
    const size_t n = std::fread(head, 1, sizeof head, file);
    const bool ended = std::fseek(file, -12, SEEK_END) == 0 && std::fread(tail, 1, sizeof tail, file) == sizeof tail &&
                       std::memcmp(tail, kEnd, sizeof kEnd) == 0;
    std::fclose(file);
    if (!ended || n < 8 || std::memcmp(head, kSignature, 8) != 0)
        return {};
    const size_t keyLength = std::strlen(kDigestKey);
    for (size_t at = 8; at + 8 <= n;) {
        const size_t length = BigEndian32(head + at);
        const unsigned char* type = head + at + 4;
        const unsigned char* data = head + at + 8;
        if (std::memcmp(type, "IDAT", 4) == 0 || length > n - at - 8)
            break;
        if (std::memcmp(type, "tEXt", 4) == 0 && length > keyLength + 1 &&
            std::memcmp(data, kDigestKey, keyLength) == 0 && data[keyLength] == 0)
            return std::string(reinterpret_cast<const char*>(data + keyLength + 1), length - keyLength - 1);
        at += 12 + length;
    }
    return {};
}

}  // namespace

CBitmapDC::CBitmapDC() = default;

CBitmapDC::~CBitmapDC()
{
    if (m_bitmap && Target() == m_bitmap.get())
        Detach();
}

bool CBitmapDC::Create(int width, int height)
{
    m_width = width;
    m_height = height;
    if (IsAttached())
        return false;
    auto bitmap = std::make_unique<DrawImageTarget>(width, height);
    if (bitmap->IsNull())
        return false;
    m_bitmap = std::move(bitmap);
    return Attach(m_bitmap.get());
}

void CBitmapDC::Clear(Colour colour)
{
    Rect box;
    if (GetClipBox(box) == RGN_ERROR)
        return;
    FillSolidRect(box, colour);
}

bool CBitmapDC::CopyFrom(const QImage& picture, int x, int y)
{
    if (!m_bitmap || Target() != m_bitmap.get())
        return false;
    QPainter* painter = m_bitmap->Painter();
    if (painter == nullptr)
        return false;
    painter->save();
    painter->setClipping(false);
    painter->resetTransform();
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    painter->drawImage(x, y, picture);
    painter->restore();
    return true;
}

QImage CBitmapDC::Picture()
{
    return m_bitmap ? m_bitmap->Image() : QImage();
}

bool CBitmapDC::WritePng(std::FILE* file, bool interlaced, bool useTransparent, Colour transparent)
{
    return Write(file, interlaced, useTransparent, transparent, {});
}

bool CBitmapDC::Write(std::FILE* file, bool interlaced, bool useTransparent, Colour transparent,
                      const std::string& digest)
{
    if (!m_bitmap || Target() != m_bitmap.get() || file == nullptr)
        return false;
    const QImage& image = m_bitmap->Image();
    try {
        // The picture as a bitmap of 32 bits a pixel, blue, green, red and
        // one byte unused, rows bottom up: what the screen would give.
        BitmapInfoHeader header;
        header.biWidth = image.width();
        header.biHeight = image.height();
        header.biBitCount = 32;
        header.biCompression = BI_RGB;
        size_t rowBytes = static_cast<size_t>(image.width()) * 4;
        header.biSizeImage = static_cast<uint32_t>(rowBytes * static_cast<size_t>(image.height()));
        std::unique_ptr<uint8_t[]> bits(new uint8_t[rowBytes * static_cast<size_t>(image.height())]);
        // On a little-endian machine a picture of 32 bits a pixel already
        // holds blue, green, red and a spare byte: its rows are copied whole.
        const bool sameBytes =
            image.format() == QImage::Format_RGB32 && QSysInfo::ByteOrder == QSysInfo::LittleEndian;
        for (int y = 0; y < image.height(); ++y) {
            const uchar* line = image.constScanLine(image.height() - 1 - y);
            uint8_t* row = bits.get() + rowBytes * static_cast<size_t>(y);
            if (sameBytes) {
                std::memcpy(row, line, rowBytes);
                continue;
            }
            for (int x = 0; x < image.width(); ++x) {
                QRgb pixel;
                std::memcpy(&pixel, line + 4 * x, 4);
                row[4 * x] = static_cast<uint8_t>(qBlue(pixel));
                row[4 * x + 1] = static_cast<uint8_t>(qGreen(pixel));
                row[4 * x + 2] = static_cast<uint8_t>(qRed(pixel));
                row[4 * x + 3] = 0;
            }
        }

        PngText texts[2];
        texts[0].key = kMakerWebAddress;
        texts[0].text = kPictureText;
        texts[1].key = kDigestKey;
        texts[1].text = digest.c_str();
        PngColour16 colour;
        colour.red = static_cast<uint16_t>(RedOf(transparent));
        colour.green = static_cast<uint16_t>(GreenOf(transparent));
        colour.blue = static_cast<uint16_t>(BlueOf(transparent));

        PngJob job;
        job.header = &header;
        job.bits = bits.get();
        job.colourType = PNG_RGB;
        job.interlace = interlaced ? 1 : 0;
        job.gamma = -1.0;
        job.textCount = digest.empty() ? 1 : 2;
        job.texts = texts;
        job.timeFlag = 1;
        job.transparencyCount = useTransparent ? 1 : 0;
        job.transparentColour = useTransparent ? &colour : nullptr;
        if (m_packing == PngPacking::Quick) {
            job.compressionLevel = kQuickLevel;
            job.unfiltered = 1;
        }
        return DibToPng(job, file) == 1;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool CBitmapDC::SaveAsPng(const std::string& systemPath, bool interlaced, bool useTransparent, Colour transparent)
{
    return Save(systemPath, interlaced, useTransparent, transparent, {});
}

CBitmapDC::Saved CBitmapDC::SaveAsPngIfChanged(const std::string& systemPath, bool interlaced, bool useTransparent,
                                               Colour transparent)
{
    if (!m_bitmap || Target() != m_bitmap.get())
        return Saved::Failed;
    const std::string digest = BitmapPixelDigest(m_bitmap->Image(), interlaced, useTransparent, transparent);
    if (StoredPixelDigest(NativePath(systemPath)) == digest)
        return Saved::Unchanged;
    return Save(systemPath, interlaced, useTransparent, transparent, digest) ? Saved::Written : Saved::Failed;
}

bool CBitmapDC::Save(const std::string& systemPath, bool interlaced, bool useTransparent, Colour transparent,
                     const std::string& digest)
{
    if (!m_bitmap || Target() != m_bitmap.get())
        return false;
    std::string folder = FolderOf(systemPath);
    if (folder.empty())
        folder = ".";
    std::string temp = MakeTempFile(folder, "~bv");
    if (temp.empty())
        return false;
    std::FILE* file = std::fopen(NativePath(temp).c_str(), "wb");
    if (file == nullptr) {
        RemoveFile(temp);
        return false;
    }
    bool ok = Write(file, interlaced, useTransparent, transparent, digest);
    ok = ok && std::fflush(file) == 0 && ::fsync(fileno(file)) == 0;
    if (std::fclose(file) != 0)
        ok = false;
    if (ok)
        ok = ReplaceFile(temp, systemPath) == 0;
    if (!ok) {
        RemoveFile(temp);
        return false;
    }
    SyncFolder(folder);
    return true;
}

}  // namespace platform
