// The target pictures of the card sheets, drawn as the results program's PNG
// pictures and probed pixel by pixel where the layout says the face, its
// black, rings, numbers, figures, animals and holes must be. A copy of each
// picture goes to <build>/screens for the eye.
#include "CardFixture.h"
#include "QtApp.h"
#include "TempFolder.h"

#include "foundation/ui/cards/CardPrinter.h"
#include "platform/ui/draw/BitmapDC.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

namespace bvtest {
namespace {

using namespace CardLayout;

// Where a sheet's picture puts things: the same page, head and grid the
// printer lays out for a fixed 800 x 1130 picture.
class SheetMap {
public:
    SheetMap(const CCardPrinter& printer, const PrintCard& card, int boxes, int k, int series)
    {
        m_dc.Create(800, 1130);
        m_dc.SetMapMode(platform::MM_ISOTROPIC);
        platform::Size device{800, 1130};
        m_dc.DPtoLP(device);
        Page page = PageOf(device.cx, device.cy, 10, printer.margin);
        platform::Size offset{page.offsetX, page.offsetY};
        m_dc.LPtoDP(offset);
        m_dc.SetViewportOrg(offset.cx, offset.cy);
        Head head = CardHead(printer, card, page);
        box = SplitBox(BoxRect(head.gridArea, GridOf(boxes), k), 10);
        const CTargetTypes& types = printer.TargetTypes();
        level = CardPicture::ZoomLevel(card, series, printer.zoomLevels, types);
        int code = card.SeriesTargetType(series);
        face = CardPicture::ScaleOf(types, code, level, box.picture.Width(), box.picture.Height(), box.size, false, 10);
        scale = face.scale;
    }

    // A point of the face, in millimetres from its centre, y upwards.
    QPoint Face(double x, double y)
    {
        platform::Point p{static_cast<int>(std::lround(box.centre.x + x * scale)),
                              static_cast<int>(std::lround(-box.centre.y + y * scale))};
        m_dc.LPtoDP(p);
        return {p.x, p.y};
    }
    // A point in logical units from the face's centre, y upwards.
    QPoint FromCentre(double x, double y) { return Face(x / scale, y / scale); }
    // A point of the page, y downwards.
    QPoint OnPage(int x, int y)
    {
        platform::Point p{x, -y};
        m_dc.LPtoDP(p);
        return {p.x, p.y};
    }
    int Pixels(double logical) const { return static_cast<int>(std::lround(logical * 96 / 254)); }

    SeriesBox box;
    int level = 0;
    CardPicture::FaceScale face;
    double scale = 0;

private:
    platform::CBitmapDC m_dc;
};

// Dark pixels within `reach` of a point. Shapes are drawn on whole pixels
// with their right and bottom edges inside, so an edge may lie a pixel or
// two from its exact place.
bool Ink(const QImage& image, QPoint p, int reach = 1)
{
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            QPoint q = p + QPoint(dx, dy);
            if (image.rect().contains(q) && qGray(image.pixel(q)) < 128)
                return true;
        }
    return false;
}

QRgb At(const QImage& image, QPoint p) { return image.pixel(p); }

constexpr QRgb kGreyPixel = 0xFFBFBFBF;
constexpr QRgb kWhitePixel = 0xFFFFFFFF;

class CardPicturesTest : public InTempFolder {
protected:
    static void SetUpTestSuite() { QtApp(); }

    CardPicturesTest()
    {
        printer.layout = CCardPrinter::kSheets;
        printer.decimalSign = ",";
        printer.outputFolder = ".\\";
        printer.SetResultsTitles("Brevandi SKL", "Bildetest", "", "Bilde", "", "");
    }

    PrintCard* Card(int lane, int code, double bullet)
    {
        PrintCard* card = printer.AddCard();
        FillShooter(*card, code);
        card->lane = lane;
        card->relay = 1;
        card->bulletRadius = bullet;
        return card;
    }

    static void Shots(PrintCard& card, int s, std::initializer_list<std::array<double, 2>> at, int value = 800)
    {
        PrintCard::SetText(card.seriesName[s], "Serie " + std::to_string(s));
        card.matchSeries[s] = 1;
        int n = 0;
        for (const auto& p : at)
            card.AddShot(s, ++n, value, p[0], p[1], 0);
        card.shotCount[s] = n;
        card.seriesSum[s] = n * value;
        card.SumUp();
    }

    // The sheet of a card of lane `lane`, kept for the eye as screens/card-<name>.png.
    QImage Sheet(int lane, const std::string& name, int sheet = 0)
    {
        std::string file = folder.File("Bilde_1_" + std::to_string(lane) +
                                       (sheet > 0 ? "_p" + std::to_string(sheet) : "") + ".png");
        QImage image(QString::fromStdString(file));
        std::filesystem::create_directories(BV_BINARY_DIR "/screens");
        image.save(QString::fromStdString(std::string(BV_BINARY_DIR "/screens/card-") + name + ".png"));
        return image.convertToFormat(QImage::Format_RGB32);
    }

    CCardPrinter printer;
};

TEST_F(CardPicturesTest, ARingFaceHasItsBlackRingsAndNumbers)
{
    // The 300 m face, shots all over it: the whole face, rings 1 to 10.
    PrintCard* grey = Card(1, 0, 4.0);
    Shots(*grey, 1, {{{600, 0}}, {{-500, 300}}, {{0, -700}}});
    PrintCard* white = Card(2, 0, 4.0);
    Shots(*white, 1, {{{600, 0}}, {{-500, 300}}, {{0, -700}}});
    white->matchSeries[1] = 0;  // a series that does not count
    ASSERT_EQ(printer.SavePng(), 0);

    QImage image = Sheet(1, "rings");
    SheetMap map(printer, *grey, 1, 1, 1);
    ASSERT_EQ(map.level, 1);
    // Inside the black (300 mm), between rings 9 and 10, on the diagonal away from the numbers.
    EXPECT_EQ(At(image, map.Face(100, 100)), kGreyPixel);
    EXPECT_EQ(At(image, map.Face(-100, -100)), kGreyPixel);
    // Outside the black, between rings 3 and 4.
    EXPECT_EQ(At(image, map.Face(400, 400)), kWhitePixel);
    // Ring 5 (450 mm) and the inner ten (37.5 mm) are drawn; their middles are not.
    double d5 = 450 / std::sqrt(2.0);
    EXPECT_TRUE(Ink(image, map.Face(d5, d5)));
    EXPECT_FALSE(Ink(image, map.Face(0.5 * d5 + 0.5 * 525 / std::sqrt(2.0), 0.5 * d5 + 0.5 * 525 / std::sqrt(2.0))));
    EXPECT_TRUE(Ink(image, map.Face(37.5, 0)));
    // The number 3 stands right of the centre between rings 3 (600 mm) and 4 (525 mm).
    QPoint three = map.Face(562.5, 0);
    bool number = false;
    for (int dx = -6; dx <= 6 && !number; ++dx)
        number = Ink(image, three + QPoint(dx, 0), 3);
    EXPECT_TRUE(number);
    // A hole: white inside, its edge drawn.
    CardPicture::Holes holes = CardPicture::HolesOf(*grey, 1, map.scale, 4.0, false, 10);
    ASSERT_EQ(holes.centres.size(), 3u);
    const auto& hole = holes.centres[0];
    EXPECT_EQ(At(image, map.FromCentre(hole[0], hole[1])), kWhitePixel);
    EXPECT_TRUE(Ink(image, map.FromCentre(hole[0] + holes.radius, hole[1]), 2));
    EXPECT_TRUE(Ink(image, map.FromCentre(hole[0], hole[1] - holes.radius), 2));
    // Outside the face: white, except the grey corner of a series that does not count.
    QPoint corner = map.OnPage(map.box.picture.right - 40, map.box.picture.top + 40);
    EXPECT_EQ(At(image, corner), kWhitePixel);

    QImage notCounted = Sheet(2, "rings-not-counted");
    EXPECT_EQ(At(notCounted, corner), kGreyPixel);
    EXPECT_EQ(At(notCounted, map.Face(400, 400)), kWhitePixel);
}

TEST_F(CardPicturesTest, WithoutGreyBlackTheBlackPrintsWhite)
{
    printer.greyBlack = 0;
    PrintCard* card = Card(1, 0, 4.0);
    Shots(*card, 1, {{{600, 0}}, {{-500, 300}}});
    ASSERT_EQ(printer.SavePng(), 0);
    QImage image = Sheet(1, "rings-white");
    SheetMap map(printer, *card, 1, 1, 1);
    EXPECT_EQ(At(image, map.Face(100, 100)), kWhitePixel);
    EXPECT_TRUE(Ink(image, map.Face(75 / std::sqrt(2.0), 75 / std::sqrt(2.0))));  // ring 10 still drawn
}

TEST_F(CardPicturesTest, AFieldFigureIsDrawnWithItsOutlinesAndCentreCross)
{
    // Fig C20: a 100 mm quarter-circle head on a block, drawn at 40 / 100 of
    // the 300 m face's scale.
    PrintCard* card = Card(1, 64, 4.0);
    Shots(*card, 1, {{{0, 50}}, {{300, -200}}}, 1000);
    ASSERT_EQ(printer.SavePng(), 0);
    QImage image = Sheet(1, "figure");
    SheetMap map(printer, *card, 1, 1, 1);
    map.scale *= 0.4;
    EXPECT_TRUE(Ink(image, map.Face(0, 100)));        // top of the outer outline
    EXPECT_TRUE(Ink(image, map.Face(-100, 0)));       // its mirrored left half
    EXPECT_TRUE(Ink(image, map.Face(0, 40)));         // the inner outline
    EXPECT_FALSE(Ink(image, map.Face(70, 50), 0));    // between the two
    EXPECT_TRUE(Ink(image, map.Face(0, 0)));          // the centre cross
    EXPECT_FALSE(Ink(image, map.Face(200, 200), 1));  // nothing else around it
    // The hole below right, enlarged to 1 mm and pushed out: white inside.
    EXPECT_EQ(At(image, map.Face(300, -200)), kWhitePixel);
}

TEST_F(CardPicturesTest, AGameTargetShowsItsAnimalWithTheRings)
{
    PrintCard* moose = Card(1, 33, 4.0);
    Shots(*moose, 1, {{{900, 400}}, {{-1000, -300}}});  // far out: the animal whole
    PrintCard* fox = Card(2, 35, 4.0);
    Shots(*fox, 1, {{{500, 0}}});
    // The fox's rings start at 1: it is shown whole only when the complete
    // target is allowed.
    printer.zoomLevels[0] = 1;
    ASSERT_EQ(printer.SavePng(), 0);

    QImage image = Sheet(1, "moose");
    SheetMap map(printer, *moose, 1, 1, 1);
    ASSERT_TRUE(map.face.wholeAnimal);
    ASSERT_DOUBLE_EQ(map.face.radius, 1150);
    CardPicture::Silhouette animal = CardPicture::SilhouetteOf(33, false);
    // A point of the shoulder line, and its mirror on the other side.
    const CardPicture::GridPoint* shoulder = CardPicture::Polyline(animal.first + 5);
    double x = (shoulder[13].x - 219) * animal.factor, y = -(shoulder[13].y - 220) * animal.factor;
    EXPECT_TRUE(Ink(image, map.Face(x, y), 2));
    EXPECT_TRUE(Ink(image, map.Face(-x, y), 2));
    // Ring 3 of the moose (225 mm) round the vital zone.
    EXPECT_TRUE(Ink(image, map.Face(0, -225), 2));
    EXPECT_FALSE(Ink(image, map.Face(0, -175), 0));
    // Far from the animal the picture is empty.
    EXPECT_FALSE(Ink(image, map.Face(1050, -1050), 2));

    QImage foxImage = Sheet(2, "fox");
    SheetMap foxMap(printer, *fox, 1, 1, 1);
    const CardPicture::GridPoint* head = CardPicture::Polyline(58);
    double f = 1000.0 / 333;
    EXPECT_TRUE(Ink(foxImage, foxMap.Face((head[3].x - 219) * f, -(head[3].y - 220) * f), 2));  // the ear
    // The fox is not mirrored: nothing where its ear would be on the other side.
    EXPECT_FALSE(Ink(foxImage, foxMap.Face(-(head[3].x - 219) * f, -(head[3].y - 220) * f), 2));
}

TEST_F(CardPicturesTest, AZoomedFaceShowsEnlargedHolesWhiteInTheBlack)
{
    // Twelve series on a sheet make small pictures; zoomed to ring 7 (300 mm)
    // of the 300 m face the 4 mm bullet would be under 1 mm on paper.
    PrintCard* card = Card(1, 0, 4.0);
    for (int s = 1; s <= 12; ++s)
        Shots(*card, s, {{{200, 0}}, {{0, 250}}, {{-150, -150}}}, 800);
    printer.seriesPerSheet = 12;
    ASSERT_EQ(printer.SavePng(), 0);
    QImage image = Sheet(1, "zoomed");
    SheetMap map(printer, *card, 12, 1, 1);
    ASSERT_EQ(map.level, 7);
    ASSERT_LT(4.0 * map.scale, 10);  // the true hole: under a millimetre
    // The whole picture lies inside the black.
    EXPECT_EQ(At(image, map.Face(-150, 150)), kGreyPixel);
    // The hole of the shot at 200 mm: 1 mm in radius, pushed out so that its
    // inner edge stays where the true hole's was; white in the middle, its
    // edge drawn, the black beyond it.
    CardPicture::Holes holes = CardPicture::HolesOf(*card, 1, map.scale, 4.0, false, 10);
    ASSERT_TRUE(holes.enlarged);
    const auto& hole = holes.centres[0];
    EXPECT_NEAR(hole[0] - holes.radius, (200 - 4.0) * map.scale, 1e-9);
    EXPECT_EQ(At(image, map.FromCentre(hole[0], hole[1])), kWhitePixel);
    EXPECT_TRUE(Ink(image, map.FromCentre(hole[0] + holes.radius, hole[1]), 2));
    EXPECT_EQ(At(image, map.FromCentre(hole[0] + 2.5 * holes.radius, hole[1])), kGreyPixel);
    // The mean impact's cross, arms of 1 mm.
    EXPECT_TRUE(Ink(image, map.Face(50 / 3.0, 100 / 3.0), 1));
}

}  // namespace
}  // namespace bvtest
