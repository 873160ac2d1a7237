// The painter's passes, the layout of pictures and panels, the header with
// its clock box, and the message screens.
#include "display/draw/PicturePainter.h"

#include <cstring>

#include "display/layout/PanelLayout.h"
#include "display/layout/PanelTexts.h"
#include "display/layout/PictureLayout.h"
#include "display/settings/VisSettings.h"

using platform::Rect;

PicturePainter::PicturePainter(CVisData& data, Window& window) : m_data(data), m_window(window) {}

uint32_t PicturePainter::Colour(int k) const
{
    if (k < 1 || k > 11)
        return 0;
    return Picture() ? Picture()->colours[k] : static_cast<uint32_t>(VisItems::kColourDefaults[k]);
}

bool PicturePainter::Swedish() const { return std::strcmp(m_data.targetTypes.GetLanguage(), "SE") == 0; }

int PicturePainter::BeginDraw(bool window)
{
    if (window) {
        if (m_windowDepth++ > 0)
            return m_dc != nullptr ? 0 : -1;
        m_dc = m_window.BeginWindowDraw();
        if (m_dc == nullptr)
            return -1;
        return m_graphic.Open(m_dc);
    }
    const Rect& r = m_data.drawRect;
    auto bitmap = std::make_unique<platform::CBitmapDC>();
    if (!bitmap->Create(std::abs(r.Width()), std::abs(r.Height())))
        return -1;
    bitmap->Clear(Graphic::kWhite);
    m_bitmap = std::move(bitmap);
    m_dc = m_bitmap.get();
    return m_graphic.Open(m_dc);
}

void PicturePainter::EndDraw(bool window, const std::string& pngPath)
{
    if (window) {
        if (m_windowDepth == 0 || --m_windowDepth > 0)
            return;
        if (m_dc == nullptr)
            return;
        m_graphic.Close();
        m_dc = nullptr;
        m_window.EndWindowDraw();
        return;
    }
    if (!m_bitmap)
        return;
    if (!pngPath.empty() && !m_bitmap->SaveAsPng(pngPath, true, false, 0))
        BV_LOG(m_log, 80, "Picture not saved");
    m_graphic.Close();
    m_dc = nullptr;
    m_bitmap.reset();
}

bool PicturePainter::WritePicture(std::FILE* file)
{
    return m_bitmap && m_bitmap->WritePng(file, true, false, 0);
}

void PicturePainter::ClearPicture()
{
    if (m_bitmap)
        m_bitmap->Clear(Graphic::kWhite);
}

int PicturePainter::LayoutPicture(bool window)
{
    CVisPicture* pic = Picture();
    if (!pic || PictureLayout::Layout(*pic, m_data.drawRect, window) < 0)
        return -1;
    if (window) {
        // The panels get their boxes even when there is no window to fit fonts on.
        const bool open = BeginDraw(true) == 0;
        if (open)
            pic->headerStyle.FontKey = m_graphic.FitFont(pic->headerStyle.Rect, 60, true);
        for (auto& t : pic->targets)
            LayoutPanel(*t, false);
        EndDraw(true);
    }
    laidOut = true;
    return 0;
}

int PicturePainter::LayoutPanel(CVisTarget& t, bool window)
{
    CVisPicture* pic = Picture();
    if (!pic)
        return -1;
    PanelLayout::Fonts fonts;
    const int r = PanelLayout::Layout(*pic, t, &fonts);
    if (r == -1)
        return -1;
    if (r == -2) {
        BV_LOG(m_log, 90, "Invalid format!");
        return 0;
    }
    if (window)
        BeginDraw(true);
    if (m_graphic.IsOpen()) {
        for (const PanelLayout::FontRequest& f : fonts.requests) {
            CGraphicStyle& b = t.panelBoxes[f.box];
            b.FontKey = m_graphic.FitFont(b.Rect, f.chars, (b.Options & 2) != 0);
        }
        if (fonts.shareSeriesLine) {
            CGraphicStyle& name = t.panelBoxes[PanelLayout::kSeriesName];
            CGraphicStyle& count = t.panelBoxes[PanelLayout::kShotCount];
            name.FontKey = count.FontKey = std::min(name.FontKey, count.FontKey);
        }
    }
    if (window)
        EndDraw(true);
    return 0;
}

void PicturePainter::RedrawAll()
{
    CVisPicture* pic = Picture();
    if (!pic || BeginDraw(true) != 0) {
        EndDraw(true);
        return;
    }
    DrawHeader(false);
    for (auto& t : pic->targets) {
        t->redrawMask = -1;
        DrawPanel(*t, false);
    }
    EndDraw(true);
}

void PicturePainter::DrawHeader(bool window)
{
    CVisPicture* pic = Picture();
    if (!pic)
        return;
    if (window && BeginDraw(true) != 0) {
        EndDraw(true);
        return;
    }
    const CGraphicStyle& header = pic->headerStyle;
    const int frame = pic->baseStyle.Frame;
    const Rect& h = header.Rect;
    if (!Graphic::IsEmpty(h)) {
        m_graphic.FillBox(h, header.BackColour, frame);
        m_graphic.DrawFrame(h, Graphic::kGrey, frame);
        if (pic->singleEvent && !pic->targets.empty() && pic->targets.front()->event) {
            // Each text takes the header's font, or a smaller one where the
            // text would not fit its part of the header whole.
            auto drawPart = [&](const Rect& r, const std::string& text, int position, int placement) {
                CGraphicStyle part = header;
                part.Rect = r;
                part.FontKey = m_graphic.FitBoxText(part, text, position, placement);
                m_graphic.DrawBoxText(part, text, position, placement);
            };
            drawPart({h.left, h.top, h.left + h.Width() * 25 / 100, h.bottom}, PanelTexts::HeaderEventText(*pic), 2,
                     Graphic::kAlignLeft);
            std::string series;
            if (PanelTexts::HeaderSeriesText(*pic, series))
                drawPart({h.right - h.Width() * 30 / 100, h.top, h.right, h.bottom}, series, 98, Graphic::kAlignRight);
        }
    }
    pic->headerChanged = false;
    DrawClockLine(false);
    if (window)
        EndDraw(true);
}

int PicturePainter::DrawClockLine(bool window)
{
    CVisPicture* pic = Picture();
    const int done = window ? 1 : 0;
    if (!pic || !pic->showClock)
        return done;
    if (!pic->singleEvent || pic->targets.empty() || !pic->targets.front()->event)
        return -1;
    const Rect& h = pic->headerStyle.Rect;
    if (Graphic::IsEmpty(h))
        return done;
    if (window && BeginDraw(true) != 0) {
        EndDraw(true);
        return -1;
    }
    CVisTarget& first = *pic->targets.front();
    CGraphicStyle box = pic->headerStyle;
    box.Rect = {h.left + h.Width() * 70 / 100, h.top, h.left + h.Width() * 80 / 100, h.bottom};
    m_graphic.FillBox(box.Rect, box.BackColour, pic->baseStyle.Frame);
    box.Frame = 0;
    m_graphic.DrawBoxText(box, first.clockText, 100, Graphic::kAlignCentre);
    std::memcpy(first.clockTextDrawn, first.clockText, sizeof first.clockTextDrawn);
    if (window)
        EndDraw(true);
    return done;
}

void PicturePainter::DrawMessageScreen()
{
    if (BeginDraw(true) != 0) {
        EndDraw(true);
        return;
    }
    // Without a picture the screen is white with black text.
    const CVisPicture* pic = Picture();
    const uint32_t back = pic ? pic->baseStyle.BackColour : Graphic::kWhite;
    const std::string text = PanelTexts::MessageScreenText(m_data);
    const Rect& r = m_data.drawRect;
    m_graphic.FillBox(r, back, 0);
    CGraphicStyle s;
    s.Rect = r;
    s.Frame = 0;
    s.Options = 3;
    s.BackColour = back;
    s.TextColour = Graphic::ContrastColour(back);
    s.Align = Graphic::kAlignLeft;
    s.FontKey = m_graphic.FitFont(r, static_cast<int>(text.size()) + 1, true);
    m_graphic.DrawBoxText(s, text, -1, 0);
    EndDraw(true);
}

void PicturePainter::DrawPanelMessage(CVisTarget& t, bool window)
{
    CVisPicture* pic = Picture();
    if (!pic)
        return;
    if (window && BeginDraw(true) != 0) {
        EndDraw(true);
        return;
    }
    const CGraphicStyle& base = pic->baseStyle;
    m_graphic.FillBox(t.cell, base.BackColour, base.Frame);
    m_graphic.DrawFrame(t.cell, Graphic::kGrey, base.Frame);
    const std::string text = PanelTexts::PanelMessageText(pic, t);
    CGraphicStyle s;
    s.Rect = t.cell;
    s.Frame = base.Frame;
    s.Options = base.Options;
    s.BackColour = base.BackColour;
    s.TextColour = Graphic::ContrastColour(base.BackColour);
    s.Align = Graphic::kAlignLeft;
    s.FontKey = m_graphic.FitFont(Graphic::InnerRect(t.cell, base.Frame), static_cast<int>(text.size()) + 1, true);
    m_graphic.DrawBoxText(s, text, -1, 0);
    if (window)
        EndDraw(true);
}

void PicturePainter::DrawNoPicture(const Rect& update)
{
    if (BeginDraw(true) != 0) {
        EndDraw(true);
        return;
    }
    const std::string text = PanelTexts::Text("IDS_ERROR_NOPICT");
    m_graphic.FillBox(update, Graphic::kWhite, 0);
    CGraphicStyle s;
    s.Rect = update;
    s.Frame = 0;
    s.Options = 0;
    s.Align = Graphic::kAlignLeft;
    s.FontKey = m_graphic.FitFont(update, static_cast<int>(text.size()) + 1, false);
    m_graphic.DrawBoxText(s, text, -1, 0);
    EndDraw(true);
}

void PicturePainter::DrawStatusLine(const Rect& window, const std::string& text)
{
    platform::DrawSurface* dc = m_window.BeginWindowDraw();
    if (dc == nullptr)
        return;
    const int saved = dc->SaveDC();
    dc->FillSolidRect(window, Graphic::kWhite);
    dc->SelectFont(dc->PointFont(100, "Arial"));
    dc->SetTextColor(0);
    dc->SetBkMode(platform::TRANSPARENT);
    dc->DrawText(text, window, platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE);
    dc->RestoreDC(saved);
    m_window.EndWindowDraw();
}
