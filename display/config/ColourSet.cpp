#include "display/config/ColourSet.h"

#include "display/settings/VisSettings.h"
#include "foundation/files/ConfigItem.h"

namespace ColourSet {
namespace {

constexpr int64_t kKeep = -1;
// Colours 1 .. 11 of each preset.
constexpr int64_t kPresetTable[kPresets][kColours] = {
    {0xFFFFFF, 0xE0FFFF, 0x000000, 0x00FF00, 0x0000FF, 0x000000, 0x40C0FF, 0xC0C0C0, 0x004080, 0x404000, 0x0000FF},
    {0x800000, 0xC0FFFF, 0x000000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x40C0FF, 0xC0C0C0, 0x004080, 0x404000, 0x0000FF},
    {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF, kKeep},
    {0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x000000, 0xFFFFFF},
    {0x004000, 0xC0FFFF, 0x000000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x40C0FF, 0xC0C0C0, 0x004080, 0x404000, 0x0000FF},
};
constexpr int kHtmlPicture = 2;

}  // namespace

Colours Read(CBVConfig& picture)
{
    Colours c{};
    for (int k = 1; k <= kColours; ++k)
        c[static_cast<size_t>(k - 1)] = static_cast<uint32_t>(ReadItem(picture, VisItems::PictColour(k)));
    return c;
}

void WriteOne(CBVConfig& picture, int colour, uint32_t value)
{
    WriteItem(picture, VisItems::PictColour(colour), static_cast<int>(value));
}

void Write(CBVConfig& picture, const Colours& colours)
{
    for (int k = 1; k <= kColours; ++k)
        WriteOne(picture, k, colours[static_cast<size_t>(k - 1)]);
}

Colours ApplyPreset(const Colours& colours, int preset)
{
    Colours c = colours;
    if (preset < 1 || preset > kPresets)
        return c;
    for (size_t k = 0; k < kColours; ++k) {
        const int64_t v = kPresetTable[preset - 1][k];
        if (v != kKeep)
            c[k] = static_cast<uint32_t>(v);
    }
    return c;
}

void CopyToAll(CVisConfigFiles& files, const Colours& colours)
{
    for (int b = 1; b <= files.PictureSlots(); ++b)
        if (CBVConfig* store = files.Picture(b))
            Write(*store, colours);
}

uint32_t ContrastColour(uint32_t colour, uint32_t fallback, bool forced)
{
    const uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    const uint32_t sum = red + green + blue;
    if (forced)
        return sum < 254 ? 0xFFFFFF : 0x000000;
    if (sum > 256)
        return fallback;
    auto opposite = [](uint32_t channel) { return channel <= 128 ? 255u : 0u; };
    return opposite(red) | (opposite(green) << 8) | (opposite(blue) << 16);
}

std::vector<PictureRow> Rows(CVisConfigFiles& files)
{
    std::vector<PictureRow> rows;
    CBVConfig& settings = files.Settings();
    for (int b = 1; b <= files.PictureSlots(); ++b) {
        CBVConfig* store = files.Picture(b);
        if (!store || ReadItem(settings, VisItems::PictureInUse(b, 1)) == 0)
            continue;
        if (ReadItem(*store, VisItems::kPictType) == kHtmlPicture)
            continue;
        rows.push_back({b, ReadItem(*store, VisItems::kPictName)});
    }
    return rows;
}

}  // namespace ColourSet
