// The arithmetic of a series picture: zoom, scale, holes, ring numbers,
// figures and the animals of the game targets.
#include "foundation/cards/CardPicture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace CardPicture;

std::array<uint8_t, kLevels> DefaultLevels()
{
    std::array<uint8_t, kLevels> levels{};
    for (int i = 1; i <= 9; ++i)
        levels[i] = 1;
    return levels;
}

PrintCard CardOn(int code, double bullet, std::initializer_list<std::array<double, 3>> shots)
{
    PrintCard card;
    card.targetType = static_cast<uint8_t>(code);
    card.bulletRadius = bullet;
    card.shotCount[1] = static_cast<int>(shots.size());
    int n = 0;
    for (const auto& s : shots)
        card.AddShot(1, ++n, static_cast<int>(s[2]), s[0], s[1], 0);
    return card;
}

TEST(CardPictureTest, ZoomLevelIsTheInnermostRingHoldingEveryShotWithinTheAllowedLevels)
{
    CTargetTypes types;
    auto all = DefaultLevels();
    auto withTen = all;
    withTen[10] = 1;
    auto withWhole = all;
    withWhole[0] = 1;
    std::array<uint8_t, kLevels> none{};
    struct Case {
        const char* what;
        PrintCard card;
        std::array<uint8_t, kLevels> allowed;
        int level;
    };
    const Case cases[] = {
        // Nothing to zoom on: level 0, which the defaults turn into 1 (the whole 1..10 face).
        {"no shots", CardOn(18, 2.8, {}), all, 1},
        {"misses only", CardOn(18, 2.8, {{{20, 0, 0}}}), all, 1},
        {"no value", CardOn(18, 2.8, {{{2, 0, 1300}}}), all, 1},
        // ISSF 50 m rifle: ring 10 5.19 mm, ring 9 13.19 mm; the hole reaches 2.8 mm further.
        {"inside ring 9", CardOn(18, 2.8, {{{1, 0, 1050}}, {{0, 5, 980}}}), all, 9},
        {"outside the face", CardOn(18, 2.8, {{{100, 0, 100}}}), all, 1},
        // 25 m face: inner ten 12.5 mm; the defaults stop at 9, the type would go to 11.
        {"inside the inner ten", CardOn(29, 2.8, {{{5, 0, 1100}}}), all, 9},
        {"ten allowed", CardOn(29, 2.8, {{{5, 0, 1100}}}), withTen, 10},
        // The 300 m face never zooms past ring 9.
        {"deepest zoom of the type", CardOn(0, 4.0, {{{10, 0, 1100}}}), withTen, 9},
        {"whole face allowed", CardOn(18, 2.8, {}), withWhole, 0},
        {"nothing allowed", CardOn(18, 2.8, {{{1, 0, 1050}}, {{0, 5, 980}}}), none, 9},
        // Figures zoom on every shot, hit or not, and show the whole figure.
        {"field figure", CardOn(64, 4.0, {{{0, 0, 0}}}), all, 1},
        {"field figure whole", CardOn(64, 4.0, {{{0, 0, 0}}}), withWhole, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ZoomLevel(c.card, 1, c.allowed, types), c.level) << c.what;

    // Shot at half the distance the face was made for: coordinates count double.
    PrintCard near = CardOn(18, 2.8, {{{6, 0, 1000}}});
    EXPECT_EQ(ZoomLevel(near, 1, all, types), 9);
    near.scaleNumerator = 200;
    near.scaleDenominator = 100;
    EXPECT_EQ(ZoomLevel(near, 1, all, types), 8);
}

TEST(CardPictureTest, TheFaceIsFittedToItsRingOrTheAnimalToItsFigure)
{
    CTargetTypes types;
    // A ring face: the zoomed ring fills the picture; at true size 1 mm is u.
    FaceScale ring = ScaleOf(types, 18, 9, 1000, 1000, 1000, false, 10);
    EXPECT_NEAR(ring.radius, (166 + 256) / 32.0, 1e-9);
    EXPECT_NEAR(ring.scale, 1000 / (2 * ring.radius), 1e-9);
    EXPECT_EQ(ScaleOf(types, 18, 9, 1000, 1000, 1000, true, 10).scale, 10);

    // The moose shown whole fits its 1150 mm width, with or without true size.
    for (bool trueSize : {false, true}) {
        FaceScale moose = ScaleOf(types, 33, 0, 1000, 1000, 1000, trueSize, 10);
        EXPECT_TRUE(moose.wholeAnimal);
        EXPECT_DOUBLE_EQ(moose.radius, 1150);
        EXPECT_DOUBLE_EQ(moose.scale, 0.5 * 1000 / 1150);
    }
    // Zoomed into its rings (3 to 5) it is a ring face.
    FaceScale rings = ScaleOf(types, 33, 4, 1000, 1000, 1000, false, 10);
    EXPECT_FALSE(rings.wholeAnimal);
    EXPECT_DOUBLE_EQ(rings.radius, types.GetRingRadius(33, 4));

    // Field figures sit on the rings of the 300 m face.
    FaceScale figure = ScaleOf(types, 64, 1, 1000, 1000, 1000, false, 10);
    EXPECT_DOUBLE_EQ(figure.radius, 750);
    EXPECT_DOUBLE_EQ(figure.scale, 1000 / 1500.0);

    // A level beyond the inner ten (or a face without that ring) never divides by nothing.
    FaceScale deep = ScaleOf(types, 3, 11, 1000, 1000, 1000, false, 10);
    EXPECT_GT(deep.radius, 0);
    EXPECT_TRUE(std::isfinite(deep.scale));
}

TEST(CardPictureTest, RingsFromTheZoomedOneInwardsWithTheInnerTenLast)
{
    CTargetTypes types;
    std::vector<Ring> rings = Rings(types, 18, 9, 2.0);
    ASSERT_EQ(rings.size(), 3u);
    EXPECT_EQ(rings[0].ring, 9);
    EXPECT_EQ(rings[1].ring, 10);
    EXPECT_EQ(rings[2].ring, 11);
    EXPECT_DOUBLE_EQ(rings[2].radius, 80 / 32.0 * 2.0);
    EXPECT_EQ(Rings(types, 18, 0, 1.0).size(), 11u);
}

TEST(CardPictureTest, NarrowRingsAreNumberedOnlyOnTheOddOnes)
{
    CTargetTypes types;
    // Code 18: rings 8 mm apart, numbers 1 to 8, left, right, above and below.
    auto ringsOf = [](const std::vector<RingLabel>& labels) {
        std::vector<int> rings;
        for (const RingLabel& l : labels)
            if (rings.empty() || rings.back() != l.ring)
                rings.push_back(l.ring);
        return rings;
    };
    // Half a band of 8 mm x 3.75 / 2 = 15 units: 1.5 mm on paper, too narrow.
    EXPECT_EQ(ringsOf(RingLabels(types, 18, 1, 3.75, 10, 30)), (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(ringsOf(RingLabels(types, 18, 1, 4.0, 10, 30)), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(ringsOf(RingLabels(types, 18, 6, 4.0, 10, 30)), (std::vector<int>{6, 7, 8}));

    std::vector<RingLabel> labels = RingLabels(types, 18, 8, 4.0, 10, 30);
    ASSERT_EQ(labels.size(), 4u);
    double p = (types.GetRingRadius(18, 8) + types.GetRingRadius(18, 9)) * 4.0 / 2;
    EXPECT_DOUBLE_EQ(labels[0].x, -p);  // left, centred on the line
    EXPECT_DOUBLE_EQ(labels[0].y, -15);
    EXPECT_DOUBLE_EQ(labels[1].x, p);
    EXPECT_DOUBLE_EQ(labels[2].y, -(p + 15));  // below: bottom half a text further down
    EXPECT_DOUBLE_EQ(labels[3].y, p - 15);     // above
}

TEST(CardPictureTest, SmallHolesAreEnlargedOutwardsKeepingTheirInnerEdge)
{
    PrintCard card = CardOn(23, 2.25, {{{30, 40, 1000}}, {{0, 0, 1090}}, {{2000, 0, 500}}, {{-30, -40, 1300}}});
    const int u = 10;
    // 1 unit per mm: the 2.25 mm hole would be under a millimetre on paper.
    Holes holes = HolesOf(card, 1, 1.0, 2.25, false, u);
    EXPECT_TRUE(holes.enlarged);
    EXPECT_EQ(holes.radius, u);
    // The far shot and the one without a value are not drawn.
    ASSERT_EQ(holes.centres.size(), 2u);
    double d = std::hypot(holes.centres[0][0], holes.centres[0][1]);
    EXPECT_NEAR(d - holes.radius, 50 - 2.25, 1e-9);  // the inner edge stays where the true one was
    EXPECT_NEAR(holes.centres[0][0] / holes.centres[0][1], 30.0 / 40.0, 1e-12);
    EXPECT_EQ(holes.centres[1][0], 0);  // a shot at the centre stays there
    EXPECT_TRUE(holes.cross);
    EXPECT_DOUBLE_EQ(holes.meanX, 15);  // the mean of where the shots are, not of the holes
    EXPECT_DOUBLE_EQ(holes.meanY, 20);
    EXPECT_EQ(holes.arm, u);

    Holes trueSize = HolesOf(card, 1, 1.0, 2.25, true, u);
    EXPECT_EQ(trueSize.radius, u);
    EXPECT_EQ(trueSize.centres[0][0], 30);

    Holes big = HolesOf(card, 1, 10.0, 2.25, false, u);
    EXPECT_FALSE(big.enlarged);
    EXPECT_DOUBLE_EQ(big.radius, 22.5);
    EXPECT_EQ(big.centres[0][0], 300);
    EXPECT_EQ(big.arm, 20);

    PrintCard one = CardOn(23, 2.25, {{{3, 4, 1000}}});
    EXPECT_FALSE(HolesOf(one, 1, 1.0, 2.25, false, u).cross);
}

TEST(CardPictureTest, TrueSizeCentresThePictureOnTheMeanImpact)
{
    PrintCard card = CardOn(18, 2.8, {{{10, 20, 1000}}, {{20, -10, 900}}, {{2000, 0, 900}}});
    Offsets offsets = TrueSizeOffsets(card, 1, 10);
    EXPECT_EQ(offsets.ox, -150);
    EXPECT_EQ(offsets.oy, -50);
    Offsets none = TrueSizeOffsets(card, 2, 10);
    EXPECT_EQ(none.ox, 0);
    EXPECT_EQ(none.oy, 0);
}

TEST(CardPictureTest, FiguresAndTheirFactors)
{
    struct Case {
        int code;
        bool swedish;
        int entry;
    };
    for (const Case& c : {Case{64, false, 3}, Case{79, false, 18}, Case{80, false, 19}, Case{89, false, 28},
                          Case{98, false, 29}, Case{33, true, 1}, Case{38, true, 1}, Case{37, true, 2},
                          Case{33, false, 0}, Case{34, true, 0}, Case{18, false, 0}})
        EXPECT_EQ(FigureEntry(c.code, c.swedish), c.entry) << c.code << (c.swedish ? " SE" : "");

    EXPECT_DOUBLE_EQ(FigureFactor(64, 3, false), 40.0 / 100);
    EXPECT_DOUBLE_EQ(FigureFactor(64, 3, true), 1);
    EXPECT_DOUBLE_EQ(FigureFactor(34, 0, false), 1);
    EXPECT_DOUBLE_EQ(FigureFactor(98, 29, false), 1);
}

TEST(CardPictureTest, EachGameTargetDrawsItsAnimal)
{
    struct Case {
        int code;
        bool swedish;
        int first, count;
        double factor;
        bool plain, mirrored;
    };
    const Case cases[] = {
        {33, false, 0, 15, 5, true, true},
        {39, false, 0, 15, 5, true, true},
        {33, true, 0, 13, 5, true, true},
        {38, false, 0, 15, 1.25, true, true},
        {38, true, 0, 13, 3.125, true, true},
        {37, false, 15, 11, 100.0 / 23, true, false},
        {37, true, 15, 11, 5, true, true},
        {32, false, 26, 11, 25.0 / 9, true, false},
        {36, false, 37, 9, 100.0 / 41, true, false},
        {27, false, 37, 9, 100.0 / 41, true, false},
        {34, false, 46, 12, 1000.0 / 333, true, false},
        {41, false, 46, 12, 1000.0 / 333, true, false},
        {40, false, 46, 12, 1000.0 / 333, false, true},  // the roe deer facing the other way
        {35, false, 58, 6, 1000.0 / 333, true, false},
        {18, false, 0, 0, 0, true, false},
    };
    for (const Case& c : cases) {
        Silhouette s = SilhouetteOf(c.code, c.swedish);
        EXPECT_EQ(s.first, c.first) << c.code;
        EXPECT_EQ(s.count, c.count) << c.code;
        EXPECT_DOUBLE_EQ(s.factor, c.factor) << c.code;
        if (s.count > 0) {
            EXPECT_EQ(s.plain, c.plain) << c.code;
            EXPECT_EQ(s.mirrored, c.mirrored) << c.code;
        }
    }
}

TEST(CardPictureTest, TheAnimalsLieInTheirGrid)
{
    const GridPoint fox[kPolylinePoints] = {{219, 187}, {235, 186}, {238, 185}, {241, 168}, {247, 168}, {258, 181},
                                            {264, 179}, {277, 179}, {280, 180}, {291, 170}, {297, 168}, {297, 189},
                                            {295, 197}, {294, 204}, {288, 218}, {282, 227}};
    const GridPoint* first = Polyline(58);
    ASSERT_NE(first, nullptr);
    for (int p = 0; p < kPolylinePoints; ++p) {
        EXPECT_EQ(first[p].x, fox[p].x) << p;
        EXPECT_EQ(first[p].y, fox[p].y) << p;
    }
    EXPECT_EQ(Polyline(-1), nullptr);
    EXPECT_EQ(Polyline(kPolylines), nullptr);
    for (int i = 0; i < kPolylines; ++i) {
        const GridPoint* line = Polyline(i);
        for (int p = 0; p < kPolylinePoints; ++p) {
            EXPECT_GE(line[p].x, 0) << i;
            EXPECT_LE(line[p].x, 2 * kGridCentreX + 2) << i;
            EXPECT_GE(line[p].y, 0) << i;
            EXPECT_LE(line[p].y, 2 * kGridCentreY) << i;
            // The moose is one half of the animal, the deer the other.
            if (i < 15)
                EXPECT_LE(line[p].x, kGridCentreX) << i;
            else if (i < 26)
                EXPECT_GE(line[p].x, kGridCentreX) << i;
        }
    }
}

}  // namespace
