#include "platform/ui/draw/BitmapDC.h"

#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "platform/ui/draw/PngWriter.h"

#include <QPainter>

#include <cstring>
#include <new>
#include <vector>

#include <unistd.h>

namespace platform {

namespace {

// The text every picture carries: who made it, and what it is.
constexpr const char* kMakerWebAddress = "www.brevandi.no";
constexpr const char* kPictureText = "grafiske filer";

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
        std::vector<uint8_t> bits(rowBytes * static_cast<size_t>(image.height()));
        for (int y = 0; y < image.height(); ++y) {
            const uchar* line = image.constScanLine(image.height() - 1 - y);
            uint8_t* row = bits.data() + rowBytes * static_cast<size_t>(y);
            for (int x = 0; x < image.width(); ++x) {
                QRgb pixel;
                std::memcpy(&pixel, line + 4 * x, 4);
                row[4 * x] = static_cast<uint8_t>(qBlue(pixel));
                row[4 * x + 1] = static_cast<uint8_t>(qGreen(pixel));
                row[4 * x + 2] = static_cast<uint8_t>(qRed(pixel));
                row[4 * x + 3] = 0;
            }
        }

        PngText text;
        text.compression = -1;
        text.key = kMakerWebAddress;
        text.text = kPictureText;
        PngColour16 colour;
        colour.red = static_cast<uint16_t>(RedOf(transparent));
        colour.green = static_cast<uint16_t>(GreenOf(transparent));
        colour.blue = static_cast<uint16_t>(BlueOf(transparent));

        PngJob job;
        job.header = &header;
        job.bits = bits.data();
        job.colourType = PNG_RGB;
        job.interlace = interlaced ? 1 : 0;
        job.gamma = -1.0;
        job.textCount = 1;
        job.texts = &text;
        job.timeFlag = 1;
        job.transparencyCount = useTransparent ? 1 : 0;
        job.transparentColour = useTransparent ? &colour : nullptr;
        return DibToPng(job, file) == 1;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool CBitmapDC::SaveAsPng(const std::string& systemPath, bool interlaced, bool useTransparent, Colour transparent)
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
    bool ok = WritePng(file, interlaced, useTransparent, transparent);
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
