#pragma once
// The catalogue of target faces: national and ISSF ring targets, game figures
// and field figures, by TargetTypeCode. Everything here is constant data in
// the program; the object itself only remembers the language that picks the
// names and the Swedish variants.
//
// The same class serves the range control (one program-wide instance), each
// card printer (an instance of its own) and the display program, which also
// reads the FigureOutline items to draw figures. Scoring a shot on a type and
// the lane defaults of a type are operations of this class as well
// (TargetScoring.cpp).
#include <cstddef>
#include <cstdint>

// One row of the type table. Radii are in 1/32 mm; kNoRadius means none.
struct TargetTypeRow {
    int16_t code;      // the type code the row belongs to; -1 for the shared figure row
    uint8_t flags;     // kRowFigure, or kRowRingSet + n, or 0 for linearly spaced rings
    uint8_t cls;       // calibre class << 4 | distance code
    uint8_t rings;     // lowest scoring ring << 4 | highest ring
    int32_t lowest;    // outer radius of the lowest ring
    int32_t highest;   // outer radius of the highest ring
    int32_t innerTen;  // may be negative: reached only beyond the centre by the shot's edge
    int32_t black;
    int32_t white;
};

// One point of a figure's outline, in 1/32 mm, y upwards.
struct OutlineItem {
    uint8_t kind;
    int32_t x;
    int32_t y;
};

// Kinds of OutlineItem.
enum : uint8_t {
    kOutlineLine = 1,     // an edge runs from this point to the next item's point
    kOutlineCentre = 2,   // the centre of the arc started by the item before
    kOutlineArc = 4,      // arc start: next item its centre, the item after it the end
    kOutlineHeader = 8,   // x = radius of a circle wholly inside, y = of one holding it all
    kOutlineSkip = 16,    // no edge leaves this point
    kOutlineLast = 128,   // last point of the outline
};

// The hit zones of a figure. The right outlines describe the half with x >= 0,
// the left ones the half with x < 0 mirrored (x negated). Every outline runs
// clockwise from the top of the figure to its bottom and is seen whole from
// the centre (each direction crosses it once), which is what lets the hit test
// look at the one edge that spans the shot's direction.
struct FigureOutline {
    const OutlineItem* items;
    size_t count;
    int32_t referenceSize;  // mm; the card pictures scale a field figure by it
    uint8_t start[4];       // right outer, left outer, right inner, left inner
};

enum : uint8_t {
    kRowFigure = 0x40,
    kRowRingSet = 0x20,
};

class CTargetTypes {
public:
    static constexpr int32_t kNoRadius = -32000;  // 1/32 mm, "none"
    static constexpr int kOutlineCount = 31;

    CTargetTypes();
    virtual ~CTargetTypes() = default;

    // The language code from the language table's IDS_LANG ("NO", "DK", "SE",
    // "UK", "DE", ...). Kept to 11 characters; a longer text is cut there.
    void SetLanguage(const char* code);
    const char* GetLanguage() const { return m_language; }

    // Name in the object's language, as Windows-1252 text. "Udefinert" for
    // codes that name no type.
    const char* GetName(int code) const;
    // true for a code that names a type or has a row of its own.
    static bool IsKnownCode(int code);

    int GetRow(int code) const;
    static const TargetTypeRow& RowData(int row);
    static int GetRowCount();

    int GetCalibre(int code) const;          // 1/100 mm: 450, 560, 800 or 965
    double GetBulletRadius(int code) const;  // mm
    int GetDistance(int code) const;         // metres
    int GetLowestRing(int code) const;
    int GetHighestRing(int code) const;
    int GetTopZone(int code) const;
    int GetMaxValue(int code) const;
    double GetFaceRadius(int code) const;           // mm
    double GetRingRadius(int code, int ring) const;  // mm; -1000 where the ring has none
    double GetBlackRadius(int code) const;           // mm; -1000 when none
    double GetWhiteRadius(int code) const;           // mm; -1000 when none
    // Width of a ring in mm, which sizes the printed ring numbers.
    double GetRingWidth(int code) const;

    // Row accessors: raw fields of the code's row.
    int GetRowFlags(int code) const;
    int GetCalibreClass(int code) const;   // class << 4
    int GetRowDistance(int code) const;    // the distance code
    int GetLowestRingRadius(int code) const;
    int GetHighestRingRadius(int code) const;
    int GetInnerTenRadius(int code) const;
    int GetBlackRadius32(int code) const;
    int GetWhiteRadius32(int code) const;

    // Groups in which the codes are offered for choice.
    static int GetGroup(int code);
    static int GetGroupIndex(int code);
    static int MakeCode(int group, int index);
    static int GetGroupCount() { return 7; }
    static int GetGroupSize(int group);

    // Codes the target units use for a type, and back.
    static int ToTargetCode(int code);
    static int FromTargetCode(int unitCode);

    // Drawing parameters of the card pictures and the display.
    double GetFigureWidth(int code) const;
    double GetFigureHeight(int code) const;
    int GetFirstRingLabel(int code) const;
    int GetLastRingLabel(int code) const;
    int GetRingLabelSides(int code) const;  // 1 above and below, 2 left and right, 4 diagonals
    int GetMaxZoomRing(int code) const;

    // The figure outlines, entries 0 to 30; nullptr for any other entry.
    static const FigureOutline* GetOutline(int entry);
    // Entry whose outlines score a figure code (groups 4 and 5); -1 for others.
    static int GetFigureEntry(int code);
    // The eleven radii (rings 0 to 10, 1/32 mm) of a special ring set 0 to 5;
    // nullptr for any other set.
    static const int32_t* SpecialRingSet(int set);

    // --- Scoring ---
    // Value of a shot whose centre lies x, y mm from the target's centre, in
    // hundredths of a ring (0 a miss; 1100 and above the inner ten and the
    // figure codes' values). The settings byte of the lane plays no part.
    int Score(double x, double y, int code, double bulletRadius, int settings = 0) const;
    // Value of a shot at a distance in mm from the centre on a ring target.
    int ScoreRing(double distance, int code, double bulletRadius) const;
    // 0 outside the entry's outer outline, 10 inside it, 110 inside the inner
    // zone as well. Coordinates and tolerance (the bullet's reach) in 1/32 mm.
    static int FigureHit(int32_t x, int32_t y, int entry, int32_t tolerance);
    // Whether a point lies inside one outline that starts with its header.
    static bool InsideOutline(int32_t x, int32_t y, const OutlineItem* outline, bool mirror,
                              int32_t tolerance);

    // --- Lane defaults when a lane's target type is chosen ---
    int DefaultSensitivity(int code) const;
    int DefaultAdvanceFrequency(int code, int sensitivity) const;
    int DefaultAdvanceLength(int code, int sensitivity) const;
    int DefaultValueSystem(int code) const;

private:
    bool IsSwedish() const;

    char m_language[12];
};
