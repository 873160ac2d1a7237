#pragma once
// What the display's drawing benchmarks share: a bitmap to draw the picture
// on, and face targets with names, ten shots spread over the face and their
// sums, as a running competition shows them.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "display/draw/PicturePainter.h"
#include "display/model/VisEvent.h"
#include "foundation/targets/TargetTypes.h"

class BitmapWindow : public PicturePainter::Window {
public:
    BitmapWindow(int width, int height)
    {
        bitmap.Create(width, height);
        bitmap.Clear(0xFFFFFF);
    }
    platform::DrawSurface* BeginWindowDraw() override { return &bitmap; }
    void EndWindowDraw() override {}
    platform::CBitmapDC bitmap;
};

// Lane `lane` of event e in its first series with ten shots; gives the
// shots' total.
inline int FillBenchTarget(CVisTarget& t, CVisEvent& e, int lane, int viewFlags, CTargetTypes& types)
{
    t.event = &e;
    t.lane = lane;
    t.viewFlags = viewFlags;
    t.card.targetType = 1;
    t.card.valueSystem = 1;
    t.active.relay = 1;
    t.active.seriesState = 1;
    t.seriesShots = 10;
    std::snprintf(t.values[CVisTarget::kValName].text, 32, "Skytter %d", lane);
    std::strcpy(t.values[CVisTarget::kValClub].text, "Brevandi");
    t.values[CVisTarget::kValLane].number = lane;
    for (auto& row : t.seriesSums)
        for (int& v : row)
            v = -1;
    int total = 0;
    for (int i = 0; i < 10; ++i) {
        ShotRecord& s = t.shots.shots[i];
        const double d = 5 + (lane * 13 + i * 29) % 120, a = (lane * 37 + i * 71) * M_PI / 180;
        s.state = CDataComp::kSlotShot;
        s.flags = 0x81;
        s.x = static_cast<int32_t>(d * std::cos(a) * 1000);
        s.y = static_cast<int32_t>(d * std::sin(a) * 1000);
        s.value = static_cast<int16_t>(types.Score(d * std::cos(a), d * std::sin(a), 1, 4.0));
        t.shownShotMap[i + 1] = i;
        total += s.value / 100 * 100;
    }
    t.currentShotCount = 10;
    t.values[CVisTarget::kValSeriesSum].number = total;
    t.values[CVisTarget::kValTotal].number = total;
    t.values[CVisTarget::kValShotCount].number = 10;
    return total;
}
