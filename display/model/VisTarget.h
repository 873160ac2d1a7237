#pragma once
// One panel of a picture: a target face or a list row of one lane of an
// event, with copies of the lane's active record, card and shots and the
// sums worked out from them, so that drawing never reads a file.
#include <cstdint>
#include <cstring>

#include "display/model/GraphicStyle.h"
#include "foundation/comp/DataComp.h"

class CVisEvent;

// What a panel shows (ViewFlags) and what changed in it (RedrawMask).
namespace ViewBits {
enum : int {
    kName = 0x1, kClub = 0x2, kClass = 0x4, kCategory = 0x8, kSeriesName = 0x10, kEventName = 0x20,
    kLane = 0x40, kShotCount = 0x80, kSeriesSum = 0x100, kTotal = 0x200, kPreviousTotal = 0x400,
    kPlace = 0x800, kSubSums = 0x1000, kSeriesTable = 0x2000, kFace = 0x10000, kShotList = 0x20000,
};
}

struct PanelValue {
    int number = 0;
    char text[32] = {};
};

class CVisTarget {
public:
    static constexpr int kPanelBoxes = 20;
    static constexpr int kSeriesRows = 29;
    // Panel values by use.
    enum { kValName = 1, kValClub, kValClass, kValCategory, kValSeriesName, kValEventName, kValLane,
           kValShotCount, kValSeriesSum, kValTotal, kValPreviousTotal, kValPlace };

    explicit CVisTarget(int slot) : slot(slot)
    {
        CDataComp::ClearActive(active);
        CDataComp::ClearCard(card);
        CDataComp::ClearShots(shots);
        std::memcpy(zoomText, "0123456789X", 12);
        for (int& m : shownShotMap)
            m = -1;
    }
    virtual ~CVisTarget() = default;
    CVisTarget(const CVisTarget&) = delete;
    CVisTarget& operator=(const CVisTarget&) = delete;

    int slot = 0;
    int lane = 0;
    int eventNumber = 0;
    CVisEvent* event = nullptr;
    bool relayout = true;
    bool shotsChanged = true;
    bool namesDue = true;
    bool faceRedraw = true;
    bool listRedraw = true;
    char errorKey[102] = {};
    int viewType = 0;
    int panelFormat = 0;
    int viewFlags = 0;
    int redrawMask = -1;
    CGraphicStyle panelBoxes[kPanelBoxes];
    platform::Rect cell{};
    PanelValue values[kPanelBoxes];
    int seriesShots = 0;
    int shotCount = 0;
    int zoomRing = 11;
    bool decimals = false;
    int startScore = 0;  // x 100
    ActiveRecord active;
    CardRecord card;
    ShotListRecord shots;
    int shownShotMap[101];
    int currentShotCount = 0;
    int lastShotDrawn = 0;
    double pixelScale = 1.0;
    int firstListShot = 1;
    // Columns of the shot list at its last full drawing; the values alone
    // are drawn into the same cells.
    int listColumns = 1;
    // The panel shows its error message: a panel that gets or loses an
    // error is drawn whole, whatever its redraw mask says.
    bool messageShown = false;
    int listShotCount = 0;
    int seriesSums[kSeriesRows][kSeriesRows] = {};
    int subSums[kSeriesRows] = {};
    int subKinds[kSeriesRows] = {};
    int firstCountedShot = -1;
    int verification = 0;
    char zoomText[32] = {};
    char clockText[32] = {};
    char clockTextDrawn[32] = {};
    int exportCountdown = 300;
    int exportShotCount = 0;
    int exportNeeded = 0;
    int statusCode = 0;
    // A shot list read in the middle of a write (odd update counter) is
    // read again at the next tick.
    bool shotsIncomplete = false;
    // An odd counter seen at the last look: still the same at the next one,
    // the list is not in the middle of a write but was rewritten whole.
    int32_t oddCounter = 0;

    bool HasError() const { return errorKey[0] != 0; }
    void SetError(const char* key)
    {
        std::strncpy(errorKey, key, sizeof errorKey - 1);
    }
};
