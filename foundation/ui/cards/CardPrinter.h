#pragma once
// The shooting-card printer. A caller sets the texts and options (the
// members of CardPrintSettings), adds one card per shooter with AddCard,
// fills each card and prints them all at once: graphical card sheets (a head
// and a grid of series boxes, each with a target picture and a series
// table), one card head per page, or compact list lines. The results program
// draws the same sheets as PNG pictures for its web pages with SavePng.
//
// The same object serves the range control, the remote program and the
// results program; each fills its cards in its own units through the edges
// of PrintCard.
#include "foundation/cards/CardLayout.h"
#include "foundation/cards/CardPicture.h"
#include "foundation/cards/PrintCard.h"
#include "foundation/targets/TargetTypes.h"
#include "foundation/text/TextUtil.h"
#include "platform/ui/draw/DrawSurface.h"

#include <vector>

namespace platform {
class DrawTarget;
class PrintJob;
}  // namespace platform

class CCardPrinter : public CardPrintSettings {
public:
    enum Result {
        kPrinted = 0,
        kCancelled = 1,   // the print dialog was cancelled; the cards stay
        kEmpty = 2,       // no card in the list
        kNoPrinter = 3,   // no printer to print on; the cards stay
        kFailed = 4,      // the printer gave up during the job; the cards stay
    };

    CCardPrinter();
    virtual ~CCardPrinter();
    CCardPrinter(const CCardPrinter&) = delete;
    CCardPrinter& operator=(const CCardPrinter&) = delete;

    void SetDefaults();

    // A cleared card appended to the list, for the caller to fill. The
    // printer owns it.
    PrintCard* AddCard();
    static void ClearCard(PrintCard* card);
    void FreeCards();
    PrintCard* FirstCard() const { return m_first; }
    int CardCount() const;

    // Prints every card of the list through the print dialog (or on the
    // default printer when showDialog is 0) and empties the list once printed.
    int Print();
    // The same on a printer (or PDF file) chosen beforehand, without asking.
    int Print(platform::PrintJob& job);
    // The print job itself on any printing target.
    int PrintTo(platform::DrawTarget& target);

    // Each sheet of every card as an 800 x 1130 picture in the output folder,
    // named by the event, relay and lane ("<event>_<relay>_<lane>.png", with
    // "_p<n>" before ".png" for cards of several sheets). 2 when the list is
    // empty, else 0; the list stays. A picture its file already holds is not
    // written again: a web pass rewrites only the cards that changed.
    int SavePng();
    // The pictures the last SavePng wrote, and those it found already written.
    int picturesSaved = 0;
    int picturesUnchanged = 0;
    // The file name SavePng gives a sheet; sheet 0 for a card of one sheet.
    std::string PictureName(const PrintCard& card, int sheet) const;

    // The sheets of the current card; each sheet's number of boxes is in
    // SheetCounts afterwards.
    int CountSheets();
    const std::vector<int>& SheetCounts() const { return m_sheetCounts; }
    PrintCard* CurrentCard() const { return m_current; }
    // -1 before SavePng's first card, then the cards done so far.
    int cardCounter = -1;

    const CTargetTypes& TargetTypes() const { return m_types; }

private:
    void BeginPage(bool fixed);
    void EndPage();
    void PrintCardPages(bool& listStarted, int& y);

    // Logical y of a page position (the page runs downwards, the mapping upwards).
    static int Y(int pageY) { return -pageY; }
    platform::Rect Logical(const platform::Rect& r) const { return {r.left, -r.top, r.right, -r.bottom}; }
    void Clip(const platform::Rect& r);
    void Unclip();
    void Text(int x, int y, std::string_view text, unsigned align);
    int XHeight();

    void DrawFrame(int x1, int y1, int x2, int y2);
    void DrawFrame(const platform::Rect& r) { DrawFrame(r.left, r.top, r.right, r.bottom); }
    void DrawBox(const CardLayout::TextBox& box);
    void DrawListHeader();
    int DrawListCard(int y);
    void DrawCardHeader(int boxes);
    void DrawSeries(int series, int k);
    void DrawSeriesTable(int series);
    void DrawShotRow(const platform::Rect& cell, const PrintShot& shot, int valueSystem, int top);
    void DrawSumBox(const platform::Rect& r, const std::string& caption, int value, int decimals);

    // The target picture.
    void DrawTarget(int level, int series);
    void DrawSilhouette(int series);
    void DrawFigure(int series);
    void DrawOutline(const OutlineItem* items, size_t count, size_t start, bool mirrored, double unit);
    void DrawShots(int series);
    void Circle(double x, double y, double radius);  // logical centre
    int FaceX() const { return m_box.centre.x + m_ox; }
    int FaceY() const { return -m_box.centre.y + m_oy; }
    void ClipSquare();

    CTargetTypes m_types;
    CTextUtil m_text;
    PrintCard* m_first = nullptr;
    PrintCard* m_last = nullptr;
    PrintCard* m_current = nullptr;
    std::vector<int> m_sheetCounts;

    // Drawing state of a page.
    platform::DrawSurface* m_dc = nullptr;
    CardLayout::Page m_page;
    int u = 10;
    platform::DrawFont m_font8, m_font12, m_font24, m_tableFont;
    platform::DrawBrush m_white, m_faceBlack, m_hollow, m_grey;
    platform::DrawPen m_pen1, m_pen2, m_pen3, m_pen4;
    platform::DrawFont m_oldFont;
    platform::DrawBrush m_oldBrush;
    platform::DrawPen m_oldPen;
    int m_clipDepth = 0;

    // The sheet's grid and the series box being drawn.
    platform::Rect m_gridArea;
    CardLayout::Grid m_grid;
    CardLayout::SeriesBox m_box;
    double m_scale = 0;
    int m_ox = 0;
    int m_oy = 0;
};
