#pragma once
// The small drawing layer under every picture of the display: attached to a
// drawing surface for one pass, it frames and fills boxes with chosen
// sides, finds and keeps the fonts that fit boxes (by FontKey, across
// passes), and writes texts and numbers into boxes with their alignment,
// position and shadow. A box is a CGraphicStyle. The grid and strip
// arithmetic is in display/layout/GraphicGeometry.h.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "display/layout/FontCache.h"
#include "display/layout/GraphicGeometry.h"
#include "display/model/GraphicStyle.h"
#include "foundation/files/BVLog.h"
#include "platform/ui/draw/DrawSurface.h"

class CBVGraphic {
public:
    CBVGraphic();
    virtual ~CBVGraphic() = default;
    CBVGraphic(const CBVGraphic&) = delete;
    CBVGraphic& operator=(const CBVGraphic&) = delete;

    // Attaches to a surface for one drawing pass: its state is saved, the
    // clip removed and the mapping set to pixels. Close gives the state back.
    int Open(platform::DrawSurface* dc);
    int Close();
    bool IsOpen() const { return m_dc != nullptr; }
    platform::DrawSurface* Surface() const { return m_dc; }

    int DrawFrame(const platform::Rect& r, platform::Colour colour, int frame);
    int FillBox(const platform::Rect& r, platform::Colour colour, int frame);
    // Paints a box's background once (State bit 1) and frames it in grey
    // when it is a framed box (State bit 0).
    int DrawBox(CGraphicStyle& style);

    // The FontKey of the largest font at which `chars` capital X fit the
    // rectangle; the font is cached. -1 when not attached.
    int FitFont(const platform::Rect& r, int chars, bool bold);
    // The FontKey of the largest font, no larger than the box's own, at
    // which the text itself fits where DrawBoxText puts it (position and
    // placement as there): its whole width, and its ascent and descent
    // inside the box's frame. -1 when not attached.
    int FitBoxText(const CGraphicStyle& style, std::string_view text, int position, int placement);
    std::optional<platform::DrawFont> FindFont(int key);
    bool AddFont(int key);
    const FontCache& Fonts() const { return m_fonts; }
    // The font a key stands for.
    static platform::DrawFont FontOf(int key);

    // value / divisor with its decimals: the whole part right-aligned and
    // the decimals left-aligned at one split, so columns of values line up.
    int DrawDecimal(const CGraphicStyle& style, int value, int divisor, int position, const char* suffix = "");
    int DrawNumber(const CGraphicStyle& style, int value, int position, int placement, const char* suffix = "");
    // A text in the box: position is a percentage of the box's width
    // (negative: the box's own alignment), placement an Align value. 0, or
    // -1 when the box is too small or its font is not cached.
    int DrawBoxText(const CGraphicStyle& style, std::string_view text, int position, int placement);

protected:
    // The size of a text in a font: the surface's own measure; tests put
    // fixed letter metrics here.
    virtual platform::Size MeasureText(const platform::DrawFont& font, std::string_view text);

private:
    bool Attached(int line);
    // Where DrawBoxText writes: the box inside its frame, narrowed to the
    // side of the position that the placement writes on.
    static platform::Rect TextRect(const CGraphicStyle& style, int& position, int& align);

    platform::DrawSurface* m_dc = nullptr;
    int m_saved = 0;
    FontCache m_fonts;
    // Fits already worked out: (width, height, characters, bold) -> key. The
    // search gives the same key for the same box every time, so the many
    // alike boxes of a picture are measured once.
    std::map<std::tuple<int, int, int, bool>, int> m_fits;
    // Texts fitted: (width, height, text, largest key) -> key; few texts
    // change (a header's relay or series), so the map is emptied when large.
    std::map<std::tuple<int, int, std::string, int>, int> m_textFits;
    CBVLog m_log;
};
