#include "display/draw/BVGraphic.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

using platform::Colour;
using platform::DrawFont;
using platform::DrawPen;
using platform::Rect;

CBVGraphic::CBVGraphic() = default;

bool CBVGraphic::Attached(int line)
{
    if (m_dc != nullptr)
        return true;
    m_log.Write(__FILE__, line, 90, "Not open");
    return false;
}

int CBVGraphic::Open(platform::DrawSurface* dc)
{
    if (dc == nullptr)
        return -1;
    m_dc = dc;
    m_saved = dc->SaveDC();
    dc->SelectClipRgn(nullptr);
    dc->SetMapMode(platform::MM_TEXT);
    return 0;
}

int CBVGraphic::Close()
{
    if (!Attached(__LINE__))
        return -1;
    if (m_saved > 0)
        m_dc->RestoreDC(m_saved);
    m_dc = nullptr;
    m_saved = 0;
    return 0;
}

int CBVGraphic::DrawFrame(const Rect& r, Colour colour, int frame)
{
    if (!Attached(__LINE__))
        return -1;
    if (r.Height() < 4 || r.Width() < 10)
        return 0;
    const int sides = frame & Graphic::kAllSides;
    const bool left = sides & Graphic::kSideLeft, top = sides & Graphic::kSideTop;
    const bool right = sides & Graphic::kSideRight, bottom = sides & Graphic::kSideBottom;
    platform::DrawSurface& dc = *m_dc;
    const DrawPen oldPen = dc.SelectPen({platform::PenStyle::Solid, 1, colour});
    auto line = [&dc](int x1, int y1, int x2, int y2) {
        dc.MoveTo(x1, y1);
        dc.LineTo(x2, y2);
    };
    auto horizontal = [&](int y) { line(r.left, y, r.right, y); };
    auto vertical = [&](int x) { line(x, r.top, x, r.bottom); };
    switch (Graphic::FrameKindOf(frame)) {
    case Graphic::kFrameRaised:
        if (top) {
            horizontal(r.top);
            horizontal(r.top + 2);
        }
        if (left) {
            vertical(r.left);
            vertical(r.left + 2);
        }
        if (bottom) {
            horizontal(r.bottom - 1);
            horizontal(r.bottom - 3);
        }
        if (right) {
            vertical(r.right - 1);
            vertical(r.right - 3);
        }
        // Dark on the top and left, light on the bottom and right.
        dc.SelectPen({platform::PenStyle::Solid, 1, Graphic::kBlack});
        if (left)
            line(r.left + 1, r.bottom - 2, r.left + 1, r.top + 1);
        if (top)
            line(r.left + 1, r.top + 1, r.right - 2, r.top + 1);
        dc.SelectPen({platform::PenStyle::Solid, 1, Graphic::kWhite});
        if (bottom)
            line(r.left + 2, r.bottom - 2, r.right - 2, r.bottom - 2);
        if (right)
            line(r.right - 2, r.bottom - 2, r.right - 2, r.top + 1);
        break;
    case Graphic::kFrameDouble:
        if (top) {
            horizontal(r.top);
            horizontal(r.top + 1);
        }
        if (left) {
            vertical(r.left);
            vertical(r.left + 1);
        }
        if (bottom)
            horizontal(r.bottom - 1);
        if (right)
            vertical(r.right - 1);
        break;
    case Graphic::kFrameThin:
        // Only the top and left: the next box's frame draws the line between them.
        if (top)
            horizontal(r.top);
        if (left)
            vertical(r.left);
        break;
    default:
        break;
    }
    dc.SelectPen(oldPen);
    return 0;
}

int CBVGraphic::FillBox(const Rect& r, Colour colour, int frame)
{
    if (!Attached(__LINE__))
        return -1;
    Rect in = Graphic::InnerRect(r, frame);
    if (!Graphic::IsEmpty(in))
        m_dc->FillSolidRect(in, colour);
    return 0;
}

int CBVGraphic::DrawBox(CGraphicStyle& style)
{
    if (!Attached(__LINE__))
        return -1;
    if (!(style.State & 2)) {
        FillBox(style.Rect, style.BackColour, style.Frame);
        style.State |= 2;
    }
    if (style.State & 1)
        DrawFrame(style.Rect, Graphic::kGrey, style.Frame);
    return 0;
}

DrawFont CBVGraphic::FontOf(int key)
{
    const int h = Graphic::FontHeightOf(key);
    DrawFont font;
    font.face = "Arial";
    font.height = -h;
    font.weight = Graphic::IsBold(key) && h >= 8 ? 700 : 400;
    return font;
}

platform::Size CBVGraphic::MeasureText(const DrawFont& font, std::string_view text)
{
    const DrawFont old = m_dc->SelectFont(font);
    platform::Size size = m_dc->GetTextExtent(text);
    m_dc->SelectFont(old);
    return size;
}

int CBVGraphic::FitFont(const Rect& r, int chars, bool bold)
{
    if (!Attached(__LINE__))
        return -1;
    const int boldBit = bold ? Graphic::kBold : 0;
    chars = std::clamp(chars, 1, 100);
    const auto fit = std::make_tuple(r.Width(), r.Height(), chars, bold);
    auto known = m_fits.find(fit);
    if (known != m_fits.end()) {
        AddFont(known->second);
        return known->second;
    }
    const std::string probe(static_cast<size_t>(chars), 'X');
    Graphic::FontSearch search = Graphic::SearchFontHeight([&](int h) {
        platform::Size size = MeasureText(FontOf(h | boldBit), probe);
        return size.cx <= r.Width() && size.cy <= r.Height();
    });
    const int key = search.height | boldBit;
    AddFont(key);
    m_fits[fit] = key;
    return key;
}

Rect CBVGraphic::TextRect(const CGraphicStyle& style, int& position, int& align)
{
    Rect r = Graphic::InnerRect(style.Rect, style.Frame);
    if (position < 0) {
        align = style.Align;
        position = (align & Graphic::kAlignLeft) ? 0 : ((align & Graphic::kAlignRight) ? 100 : 50);
    }
    const int at = r.left + r.Width() * position / 100;
    if (align & Graphic::kAlignLeft)
        r.left = at + 2;
    else if (align & Graphic::kAlignRight)
        r.right = at - 2;
    else
        r.right = at;
    return r;
}

int CBVGraphic::FitBoxText(const CGraphicStyle& style, std::string_view text, int position, int placement)
{
    if (!Attached(__LINE__))
        return -1;
    const int largest = style.FontKey;
    const int boldBit = largest & Graphic::kBold;
    int align = placement;
    const Rect r = TextRect(style, position, align);
    const auto fit = std::make_tuple(r.Width(), r.Height(), std::string(text), largest);
    if (auto known = m_textFits.find(fit); known != m_textFits.end()) {
        AddFont(known->second);
        return known->second;
    }
    Graphic::FontSearch search = Graphic::SearchFontHeight([&](int h) {
        if (h > Graphic::FontHeightOf(largest))
            return false;
        platform::Size size = MeasureText(FontOf(h | boldBit), text);
        return size.cx <= r.Width() && size.cy <= r.Height();
    });
    const int key = search.height | boldBit;
    AddFont(key);
    if (m_textFits.size() >= FontCache::kSlots)
        m_textFits.clear();
    m_textFits[fit] = key;
    return key;
}

std::optional<DrawFont> CBVGraphic::FindFont(int key)
{
    if (!m_fonts.Find(key))
        return std::nullopt;
    return FontOf(key);
}

bool CBVGraphic::AddFont(int key) { return m_fonts.Add(key); }

int CBVGraphic::DrawBoxText(const CGraphicStyle& style, std::string_view text, int position, int placement)
{
    if (!Attached(__LINE__))
        return -1;
    platform::DrawSurface& dc = *m_dc;
    std::optional<DrawFont> font = FindFont(style.FontKey);
    if (!font) {
        BV_LOG(m_log, 90, "Font not found");
        return -1;
    }
    if (const Rect inner = Graphic::InnerRect(style.Rect, style.Frame); inner.Height() < 4 || inner.Width() < 4)
        return -1;
    int align = placement;
    const Rect r = TextRect(style, position, align);
    unsigned format = platform::DT_SINGLELINE;
    if (align & Graphic::kAlignLeft)
        format |= platform::DT_LEFT;
    else if (align & Graphic::kAlignRight)
        format |= platform::DT_RIGHT;
    else
        format |= platform::DT_CENTER;
    if (align & Graphic::kAlignTop)
        format |= platform::DT_TOP;
    else if (align & Graphic::kAlignBottom)
        format |= platform::DT_BOTTOM;
    else
        format |= platform::DT_VCENTER;
    const int oldMode = dc.SetBkMode(platform::TRANSPARENT);
    const DrawFont oldFont = dc.SelectFont(*font);
    const Colour oldColour = dc.GetTextColor();
    auto byteSum = [](Colour c) { return platform::RedOf(c) + platform::GreenOf(c) + platform::BlueOf(c); };
    if ((style.Options & 1) && Graphic::FontHeightOf(style.FontKey) >= 10 && byteSum(style.BackColour) >= 63 &&
        byteSum(style.TextColour) >= 127) {
        dc.SetTextColor(Graphic::kBlack);
        dc.DrawText(text, {r.left + 1, r.top + 1, r.right + 1, r.bottom + 1}, format);
    }
    dc.SetTextColor(style.TextColour);
    dc.DrawText(text, r, format);
    dc.SetTextColor(oldColour);
    dc.SelectFont(oldFont);
    dc.SetBkMode(oldMode);
    return 0;
}

int CBVGraphic::DrawNumber(const CGraphicStyle& style, int value, int position, int placement, const char* suffix)
{
    char text[48];
    std::snprintf(text, sizeof text, "%d%s", value, suffix ? suffix : "");
    return DrawBoxText(style, text, position, placement);
}

int CBVGraphic::DrawDecimal(const CGraphicStyle& style, int value, int divisor, int position, const char* suffix)
{
    if (!Attached(__LINE__))
        return -1;
    const Rect in = Graphic::InnerRect(style.Rect, style.Frame);
    if (in.Height() < 4 || in.Width() < 4)
        return -1;
    const int vertical = style.Align & (Graphic::kAlignTop | Graphic::kAlignBottom);
    if (divisor < 10) {
        BV_LOG(m_log, 90, "Illegal parameter");
        return DrawNumber(style, value, position, Graphic::kAlignRight | vertical, suffix);
    }
    if (divisor % 10 != 0) {
        BV_LOG(m_log, 90, "Illegal parameter");
        return -1;
    }
    std::optional<DrawFont> font = FindFont(style.FontKey);
    if (!font) {
        BV_LOG(m_log, 90, "Font not found");
        return -1;
    }
    const bool withSuffix = suffix && suffix[0];
    char widest[24];
    std::snprintf(widest, sizeof widest, ".%d", divisor - 1);
    const int wd = MeasureText(*font, widest).cx;
    const int ws = withSuffix ? MeasureText(*font, "*").cx : 0;
    const int W = style.Rect.Width();
    if (W <= 0)
        return -1;
    const int split = position < 0 ? (W - ws - wd - 3) * 100 / W : (position * W - (ws + wd + 3) * 100) / W;

    int digits = 0;
    for (int d = divisor; d > 1; d /= 10)
        ++digits;
    const int whole = value / divisor;
    const int part = std::abs(value % divisor);
    char wholeText[24], partText[48];
    std::snprintf(wholeText, sizeof wholeText, "%s%d", value < 0 && whole == 0 ? "-" : "", whole);
    std::snprintf(partText, sizeof partText, ".%0*d%s", digits, part, withSuffix ? suffix : "");
    DrawBoxText(style, wholeText, split, Graphic::kAlignRight | vertical);
    DrawBoxText(style, partText, split, Graphic::kAlignLeft | vertical);
    return 0;
}
