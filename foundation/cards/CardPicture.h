#pragma once
// The arithmetic of the target picture in a series box of a card sheet: how
// far a series is zoomed, the scale of the face, where the holes go, where
// the ring numbers stand, and which figure and animal a type draws. The card
// printer draws with these; nothing here needs a device.
//
// Lengths come in millimetres of the face and leave in logical units of the
// page (0.1 mm on paper). Positions are relative to the face's centre in the
// picture, x to the right and y upwards, as the face is drawn.
#include "foundation/cards/PrintCard.h"
#include "foundation/targets/TargetTypes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace CardPicture {

constexpr int kLevels = 12;  // zoom levels 0..11; 0 is the whole face or figure

// Game animals (32..47) and field figures (48..95) zoom on all their shots,
// ring faces only on the shots that scored.
bool IsFigureType(int code);
inline bool IsGameFigure(int code) { return code >= 32 && code <= 47; }
inline bool IsFieldFigure(int code) { return code >= 64 && code <= 95; }

// The bullet radius of a series: its own type's when it has one, else the card's.
double BulletRadius(const PrintCard& card, int series, const CTargetTypes& types);

// The ring a series is zoomed to, within the allowed levels and the type's
// deepest zoom.
int ZoomLevel(const PrintCard& card, int series, const std::array<uint8_t, kLevels>& allowed,
              const CTargetTypes& types);

// With pictures at true size, the face moves so that the mean impact of the
// series sits in the middle of the picture: the offsets in logical units
// (0 when the series has no shot to take a mean of). u is one millimetre.
struct Offsets {
    int ox = 0;
    int oy = 0;
};
Offsets TrueSizeOffsets(const PrintCard& card, int series, int u);

// The scale of a face in a picture: logical units per millimetre of the face,
// and the radius it was fitted to. A game animal below its lowest zoomed ring
// is shown whole, fitted to its figure's width or height.
struct FaceScale {
    double scale = 0;
    double radius = 0;
    bool wholeAnimal = false;
};
// width, height: the picture rectangle; size: its smaller side.
FaceScale ScaleOf(const CTargetTypes& types, int code, int level, int width, int height, int size, bool trueSize,
                  int u);

// The rings drawn at a level: ring numbers and their radii in logical units,
// outermost first; the inner ten stands in for every ring above the top.
struct Ring {
    int ring = 0;
    double radius = 0;
};
std::vector<Ring> Rings(const CTargetTypes& types, int code, int level, double scale);

// Ring numbers: the text's centre x and bottom y relative to the face centre.
struct RingLabel {
    int ring = 0;
    double x = 0;
    double y = 0;
};
std::vector<RingLabel> RingLabels(const CTargetTypes& types, int code, int level, double scale, int u,
                                  int textHeight);

// The holes of a series and its mean impact.
struct Holes {
    double radius = 0;           // of every hole
    bool enlarged = false;       // the true hole would be under 1 mm on paper
    std::vector<std::array<double, 2>> centres;
    bool cross = false;          // 2 or more holes: a cross at the mean
    double meanX = 0;
    double meanY = 0;
    double arm = 0;
};
Holes HolesOf(const PrintCard& card, int series, double scale, double bulletRadius, bool trueSize, int u);

// --- Figures and animals ---

// The outline entry a code draws (in Sweden some animals have their own).
int FigureEntry(int code, bool swedish);
// What DrawFigure multiplies the scale by.
double FigureFactor(int code, int entry, bool trueSize);

// The animal of a game target: a range of polylines of the silhouette table,
// the factor from its drawing grid to millimetres, and which copies to draw.
struct Silhouette {
    int first = 0;
    int count = 0;          // 0: the code has no animal
    double factor = 0;
    bool plain = true;      // as drawn in the table
    bool mirrored = false;  // mirrored about the grid's centre line
};
Silhouette SilhouetteOf(int code, bool swedish);

// The silhouette table: polylines of 16 points in a grid whose centre
// (219, 220) is the face centre, y downwards.
constexpr int kPolylines = 64;
constexpr int kPolylinePoints = 16;
constexpr int kGridCentreX = 219;
constexpr int kGridCentreY = 220;
struct GridPoint {
    int32_t x;
    int32_t y;
};
const GridPoint* Polyline(int index);  // nullptr outside 0..63

}  // namespace CardPicture
