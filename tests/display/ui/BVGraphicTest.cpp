// The graphics helper: fonts fitted and kept, frames as pixels, decimal
// numbers split at one place.
#include <gtest/gtest.h>

#include "QtApp.h"
#include "display/draw/BVGraphic.h"
#include "platform/ui/draw/BitmapDC.h"
#include "platform/ui/draw/DrawRecorder.h"

namespace {

using platform::Rect;

// Letters of fixed size: 3/5 of the font height wide, 6/5 of it high.
class FixedLetters : public CBVGraphic {
public:
    int measured = 0;

protected:
    platform::Size MeasureText(const platform::DrawFont& font, std::string_view text) override
    {
        ++measured;
        const int h = -font.height;
        return {static_cast<int>(text.size()) * h * 3 / 5, h * 6 / 5};
    }
};

class BVGraphicTest : public testing::Test {
protected:
    static void SetUpTestSuite() { bvtest::QtApp(); }
    void SetUp() override
    {
        ASSERT_TRUE(bitmap.Create(60, 40));
        bitmap.Clear(0xFFFFFF);
    }
    platform::CBitmapDC bitmap;
};

TEST_F(BVGraphicTest, FitFontKeepsTheLargestFontThatFits)
{
    FixedLetters g;
    EXPECT_EQ(g.FitFont({0, 0, 1000, 36}, 1, false), -1);  // not attached
    ASSERT_EQ(g.Open(&bitmap), 0);
    struct Case {
        Rect box;
        int chars;
        bool bold;
        int key;
    } cases[] = {
        {{0, 0, 1000, 36}, 1, false, 30},            // 30 high: 36; 31 high: 37
        {{0, 0, 1000, 35}, 1, false, 29},
        {{0, 0, 1000, 35}, 1, true, 29 | 0x8000},
        {{0, 0, 100000, 1000}, 3, false, 200},
        {{0, 0, 4, 4}, 3, false, 7},                  // nothing fits: the smallest
        {{0, 0, 180, 1000}, 10, false, 30},           // by the width: 10 x 18
    };
    for (const Case& c : cases) {
        const int key = g.FitFont(c.box, c.chars, c.bold);
        EXPECT_EQ(key, c.key) << c.box.right << "x" << c.box.bottom;
        // The font kept under the key is the one of the key's height.
        std::optional<platform::DrawFont> font = g.FindFont(key);
        ASSERT_TRUE(font.has_value());
        EXPECT_EQ(font->height, -(c.key & 0x7FFF));
        EXPECT_EQ(font->weight, c.bold ? 700 : 400);
        EXPECT_EQ(font->face, "Arial");
    }
    // Two boxes that end on one key keep one font; a box fitted before is
    // not measured again.
    const int before = g.Fonts().Count();
    EXPECT_EQ(g.FitFont({0, 0, 500, 36}, 1, false), 30);
    EXPECT_EQ(g.Fonts().Count(), before);
    const int measured = g.measured;
    EXPECT_EQ(g.FitFont({0, 0, 500, 36}, 1, false), 30);
    EXPECT_EQ(g.measured, measured);
    EXPECT_FALSE(g.AddFont(30));
    g.Close();
}

// A text fitted where DrawBoxText writes it: inside the frame, from its
// position on, and never larger than the box's own font.
TEST_F(BVGraphicTest, FitBoxTextFitsTheTextItselfInsideTheFrame)
{
    FixedLetters g;
    CGraphicStyle box;
    EXPECT_EQ(g.FitBoxText(box, "Demo", 2, Graphic::kAlignLeft), -1);  // not attached
    ASSERT_EQ(g.Open(&bitmap), 0);
    struct Case {
        const char* text;
        Rect rect;
        int frame, position, placement, largest;
        int key;
    } cases[] = {
        // Raised: 3 pixels each side, 30 of 36 high: letters 25 high fit.
        {"X", {0, 0, 1000, 36}, Graphic::kFrameRaised | 0xF00, 0, Graphic::kAlignLeft, 100, 25},
        // Framed nowhere: the whole box's height, up to the box's own font.
        {"X", {0, 0, 1000, 36}, 0, 0, Graphic::kAlignLeft, 100, 30},
        {"X", {0, 0, 1000, 36}, 0, 0, Graphic::kAlignLeft, 20, 20},
        // 20 letters from 2 % of a 400-pixel box (8 + 2 pixels in): 390 / 20 / 0.6 = 32.
        {"Demo range - Relay 1", {0, 0, 400, 1000}, 0, 2, Graphic::kAlignLeft, 100, 32},
        // Right-aligned at 98 %: up to 390 pixels for 7 letters of 3/5 of the height.
        {"Serie 2", {0, 0, 400, 1000}, 0, 98, Graphic::kAlignRight, 100 | Graphic::kBold, 93 | Graphic::kBold},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        box.Rect = c.rect;
        box.Frame = c.frame;
        box.FontKey = c.largest;
        const int key = g.FitBoxText(box, c.text, c.position, c.placement);
        EXPECT_EQ(key, c.key);
        EXPECT_TRUE(g.FindFont(key).has_value());
    }
    g.Close();
}

TEST_F(BVGraphicTest, FullFontCacheDropsTheFontUsedLongestAgo)
{
    FixedLetters g;
    ASSERT_EQ(g.Open(&bitmap), 0);
    // The box's font, then 199 others: the cache is full.
    CGraphicStyle box;
    box.Rect = {0, 0, 60, 40};
    box.Frame = 0;
    box.FontKey = g.FitFont({0, 0, 1000, 36}, 1, false);
    for (int key = 4 | 0x8000; g.Fonts().Count() < 200; ++key)
        g.AddFont(key);
    ASSERT_EQ(g.Fonts().Count(), 200);
    // The box draws on (its font counts as used), then a new font comes in.
    EXPECT_EQ(g.DrawBoxText(box, "1", -1, 0), 0);
    EXPECT_EQ(g.FitFont({0, 0, 1000, 35}, 1, false), 29);
    EXPECT_EQ(g.Fonts().Count(), 200);
    EXPECT_EQ(g.DrawBoxText(box, "1", -1, 0), 0);
    EXPECT_FALSE(g.Fonts().Contains(4 | 0x8000));
    // A key never fitted has no font: nothing is drawn.
    box.FontKey = 150;
    EXPECT_EQ(g.DrawBoxText(box, "1", -1, 0), -1);
    g.Close();
    EXPECT_EQ(g.DrawBoxText(box, "1", -1, 0), -1);  // not attached
    EXPECT_EQ(g.Close(), -1);
}

// The colour of every pixel of a row or a column of the picture, as 'c' for
// the frame colour, 'k' black, 'w' white.
std::string Line(platform::CBitmapDC& bitmap, bool row, int at, int from, int to)
{
    QImage image = bitmap.Picture();
    std::string s;
    for (int i = from; i < to; ++i) {
        QRgb p = row ? image.pixel(i, at) : image.pixel(at, i);
        s += p == qRgb(255, 0, 0) ? 'c' : (p == qRgb(0, 0, 0) ? 'k' : (p == qRgb(255, 255, 255) ? 'w' : '?'));
    }
    return s;
}

TEST_F(BVGraphicTest, FrameSidesAsPixels)
{
    struct Case {
        const char* what;
        int frame;
        // Columns 0..4 along row 10, and columns 55..59 along it; rows 0..4
        // down column 30, and rows 35..39 down it.
        const char *left, *right, *top, *bottom;
    } cases[] = {
        {"thin: top and left only", 0xFF01, "cwwww", "wwwww", "cwwww", "wwwww"},
        {"double", 0xFF02, "ccwww", "wwwwc", "ccwww", "wwwwc"},
        {"raised", 0xFF04, "ckcww", "wwcwc", "ckcww", "wwcwc"},
        {"raised, left side only", 0x0104, "ckcww", "wwwww", "wwwww", "wwwww"},
        {"no kind", 0xFF00, "wwwww", "wwwww", "wwwww", "wwwww"},
    };
    CBVGraphic g;
    ASSERT_EQ(g.Open(&bitmap), 0);
    for (const Case& c : cases) {
        bitmap.FillSolidRect({0, 0, 60, 40}, 0xFFFFFF);
        g.DrawFrame({0, 0, 60, 40}, 0x0000FF, c.frame);
        EXPECT_EQ(Line(bitmap, true, 10, 0, 5), c.left) << c.what;
        EXPECT_EQ(Line(bitmap, true, 10, 55, 60), c.right) << c.what;
        EXPECT_EQ(Line(bitmap, false, 30, 0, 5), c.top) << c.what;
        EXPECT_EQ(Line(bitmap, false, 30, 35, 40), c.bottom) << c.what;
    }
    // The raised frame's light lines on the bottom and right.
    bitmap.FillSolidRect({0, 0, 60, 40}, 0x808080);
    g.DrawFrame({0, 0, 60, 40}, 0x0000FF, 0xFF04);
    EXPECT_EQ(Line(bitmap, false, 30, 36, 40), "?cwc");
    EXPECT_EQ(Line(bitmap, true, 20, 56, 60), "?cwc");
    // Boxes too small for a frame get none; a fill stays inside the frame.
    bitmap.FillSolidRect({0, 0, 60, 40}, 0xFFFFFF);
    g.DrawFrame({0, 0, 9, 40}, 0x0000FF, 0xFF02);
    g.DrawFrame({20, 0, 60, 3}, 0x0000FF, 0xFF02);
    EXPECT_EQ(Line(bitmap, true, 1, 0, 60), std::string(60, 'w'));
    g.FillBox({0, 0, 60, 40}, 0x0000FF, 0xFF02);
    EXPECT_EQ(Line(bitmap, true, 20, 0, 60), "ww" + std::string(57, 'c') + "w");
    EXPECT_EQ(Line(bitmap, false, 30, 0, 40), "ww" + std::string(37, 'c') + "w");
    g.Close();
}

TEST_F(BVGraphicTest, DecimalsSplitTheWholeAndThePartAtOnePlace)
{
    platform::DrawRecorder recorder(platform::DrawRecorder::A4(96, 0, 0));
    platform::DrawSurface dc;
    ASSERT_TRUE(dc.Attach(&recorder));
    CBVGraphic g;
    ASSERT_EQ(g.Open(&dc), 0);
    CGraphicStyle box;
    box.Rect = {100, 100, 300, 140};
    box.Frame = 0;
    box.Options = 0;
    box.Align = Graphic::kAlignRight;
    box.FontKey = g.FitFont(box.Rect, 6, false);
    struct Case {
        int value, divisor;
        const char* suffix;
        const char *whole, *part;
    } cases[] = {
        {1234, 100, "", "12", ".34"},
        {-5, 10, "", "-0", ".5"},
        {-1234, 100, "", "-12", ".34"},
        {1057, 10, "*", "105", ".7*"},
        {7, 1000, "", "0", ".007"},
    };
    for (const Case& c : cases) {
        recorder.Clear();
        ASSERT_EQ(g.DrawDecimal(box, c.value, c.divisor, -1, c.suffix), 0) << c.value;
        const platform::DrawCall* whole = recorder.FindText(c.whole);
        const platform::DrawCall* part = recorder.FindText(c.part);
        ASSERT_TRUE(whole && part) << c.value;
        EXPECT_TRUE(whole->flags & platform::DT_RIGHT) << c.value;
        EXPECT_FALSE(part->flags & (platform::DT_RIGHT | platform::DT_CENTER)) << c.value;
        // Right edge of the whole part 2 before the split, the decimals 2 after it.
        EXPECT_EQ(whole->args[2] + 4, part->args[0]) << c.value;
    }
    // The split leaves room for the widest decimals at the right.
    recorder.Clear();
    g.DrawDecimal(box, 1234, 100, -1);
    const int split = recorder.FindText("12")->args[2] + 2;
    EXPECT_GT(split, 200);
    EXPECT_LT(split, 300);
    // Divisors that are not tens: a whole number, or nothing.
    recorder.Clear();
    EXPECT_EQ(g.DrawDecimal(box, 1234, 1, -1), 0);
    ASSERT_NE(recorder.FindText("1234"), nullptr);
    EXPECT_TRUE(recorder.FindText("1234")->flags & platform::DT_RIGHT);
    recorder.Clear();
    EXPECT_EQ(g.DrawDecimal(box, 1234, 25, -1), -1);
    EXPECT_TRUE(recorder.Find("DrawText").empty());
    g.Close();
    dc.Detach();
}

}  // namespace
