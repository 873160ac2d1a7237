#pragma once
// How one box of a picture is drawn: its rectangle, frame, colours and font.
#include <cstdint>

#include "platform/system/Geometry.h"

struct CGraphicStyle {
    virtual ~CGraphicStyle() = default;

    platform::Rect Rect{};
    int Options = 3;               // bit 0 shadowed text, bit 1 bold font
    int Align = 1;                 // bit 0 left, bit 1 right, bit 2 top, bit 3 bottom; none: centred
    int Frame = 4;                 // low byte kind (1 thin, 2 double, 4 raised), high byte the sides
    uint32_t BackColour = 0xFFFFFF;  // 0x00BBGGRR
    uint32_t TextColour = 0x000000;
    int FontKey = 20;              // character height in pixels, + 0x8000 bold
    int State = 0;                 // bit 0 framed when drawn, bit 1 background painted
};
