#pragma once
// An off-screen drawing surface that saves itself as a PNG file: the web
// pictures of shooting cards and the display's exported pictures are drawn
// on it with the same drawing code that serves windows and printers.
//
// Create makes the picture (32 bits a pixel, 96 to the inch, like a screen);
// the surface can also be attached to another target instead, the way the
// card printer drives a printer through it.
#include "platform/ui/draw/DrawImageTarget.h"
#include "platform/ui/draw/DrawSurface.h"

#include <QImage>

#include <cstdio>
#include <memory>
#include <string>

namespace platform {

class CBitmapDC : public DrawSurface {
public:
    CBitmapDC();
    ~CBitmapDC() override;

    // false when the picture cannot be made (a size of 0 or less, no
    // memory) or the surface is already attached to a target.
    bool Create(int width, int height);
    // Fills what can be drawn on (the clip box) with one colour, which also
    // becomes the background colour of opaque text.
    void Clear(Colour colour);
    // Copies a picture onto this one at (x, y), the way a window's contents
    // are copied off the screen; false before Create.
    bool CopyFrom(const QImage& picture, int x = 0, int y = 0);

    // Writes the picture as a PNG file under a system path. The file is
    // written beside its name and takes the name only when complete, so a
    // reader (a web server, an upload) never sees half a picture and a
    // failed write leaves an earlier file as it was. false when the picture
    // or the file could not be written.
    bool SaveAsPng(const std::string& systemPath, bool interlaced, bool useTransparent, Colour transparent);
    // Writes the picture as PNG to an open file.
    bool WritePng(std::FILE* file, bool interlaced, bool useTransparent, Colour transparent);

    // SaveAsPng, unless the file already holds this very picture. The file
    // carries a digest of the pixels and of the options, so a picture that
    // did not change is neither packed nor written again, and its file keeps
    // its bytes and time (a rewrite changes at least the time chunk).
    enum class Saved { Failed, Written, Unchanged };
    Saved SaveAsPngIfChanged(const std::string& systemPath, bool interlaced, bool useTransparent, Colour transparent);

    // How the pictures are packed. Small: the compression library's default,
    // every row filtered as suits it. Quick: a fast level, rows unfiltered;
    // for pictures made by the thousand, packed in a fraction of the time
    // for a few per cent more bytes.
    enum class PngPacking { Small, Quick };
    void SetPngPacking(PngPacking packing) { m_packing = packing; }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The picture as drawn so far; a null image before Create.
    QImage Picture();

private:
    bool Save(const std::string& systemPath, bool interlaced, bool useTransparent, Colour transparent,
              const std::string& digest);
    bool Write(std::FILE* file, bool interlaced, bool useTransparent, Colour transparent, const std::string& digest);

    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<DrawImageTarget> m_bitmap;
    PngPacking m_packing = PngPacking::Small;
};

}  // namespace platform
