#pragma once
// The eleven colours of a picture (504,1,1..11) as the colours page keeps
// them: read with their defaults, the five presets, the copy to every
// picture, and the contrasting colour the preview outlines its rings with.
// Colours are 0x00BBGGRR.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "display/config/ConfigFiles.h"

namespace ColourSet {

inline constexpr int kColours = 11;
// Index k - 1 holds colour k (VisItems::Colour).
using Colours = std::array<uint32_t, kColours>;

Colours Read(CBVConfig& picture);
void Write(CBVConfig& picture, const Colours& colours);
void WriteOne(CBVConfig& picture, int colour, uint32_t value);

inline constexpr int kPresets = 5;
// Preset n (1..5) over the colours; preset 3 leaves the highlight as it is.
Colours ApplyPreset(const Colours& colours, int preset);

// The colours into every picture slot with an open store.
void CopyToAll(CVisConfigFiles& files, const Colours& colours);

// With s the sum of red, green and blue: forced, white for s below 254 and
// black otherwise; not forced, for s up to 256 each channel 255 where it is
// at most 128 and 0 where it is above, and above 256 the fallback.
uint32_t ContrastColour(uint32_t colour, uint32_t fallback, bool forced);

// The custom colours the chooser starts with.
using CustomColours = std::array<uint32_t, 16>;
inline constexpr CustomColours kInitialCustomColours = {
    0x80FFFF, 0xE0FFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x40C0FF, 0x004080, 0x404000,
    0x000080, 0x008000, 0x800000, 0x404040, 0x808080, 0xA0A0A0, 0xC0C0C0, 0xE0E0E0};

struct PictureRow {
    int picture = 0;
    std::string name;
};
// The pictures whose colours the page edits: slots in use with an open
// store, HTML pictures left out.
std::vector<PictureRow> Rows(CVisConfigFiles& files);

}  // namespace ColourSet
