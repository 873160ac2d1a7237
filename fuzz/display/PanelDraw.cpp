// Any card, active record, shot list, target type and zoom text, with any
// event flags, laid out and drawn as a face and as a list row, whole and
// then shot by shot: nothing is drawn outside the picture, the drawing
// never reads past the shots, and the newest shot drawn is one there is.
#include <QApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "display/draw/PicturePainter.h"
#include "display/model/VisEvent.h"
#include "fuzz/FuzzBytes.h"
#include "fuzz/FuzzScratch.h"

#include <unistd.h>

namespace {

using fuzz::Bytes;
using fuzz::Check;

class Window : public PicturePainter::Window {
public:
    Window()
    {
        bitmap.Create(320, 240);
        bitmap.Clear(0xFFFFFF);
    }
    platform::DrawSurface* BeginWindowDraw() override { return &bitmap; }
    void EndWindowDraw() override {}
    platform::CBitmapDC bitmap;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static const fuzz::ScratchFolder folder("fuzz-paneldraw");
    if (chdir(folder.Path().c_str()) != 0)
        return 1;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    Bytes in{bytes, size};
    unlink("BVLog.txt");
    static Window window;
    CVisData data;
    data.drawRect = {0, 0, 320, 240};
    if (in.Byte() & 1)
        data.targetTypes.SetLanguage("SE");
    CVisEvent& e = data.AddEvent(1);
    const int flags = in.Byte();
    e.superMode = flags & 3;
    e.timedShots = flags & 4;
    e.runNumbers = flags & 8;
    e.startScore = flags & 16;
    e.rangeEquipment = (flags >> 5) & 3;
    e.shotsPerLine = in.Byte() % 30;
    e.longestSeries = in.Byte();
    e.seriesWithShots = in.Byte() % 30;
    e.subCount = in.Byte() % 30;
    e.oneShotWindow = in.Byte() % 4;
    e.distanceScale = 0.25 + (in.Byte() % 16) / 4.0;

    CVisPicture& pic = data.AddPicture(1);
    data.current = &pic;
    pic.oneShot = flags & 128;
    pic.showClock = true;
    pic.singleEvent = true;
    pic.estimateMode = in.Byte() % 4;
    for (int k = 1; k <= 11; ++k)
        pic.colours[k] = static_cast<uint32_t>(in.Byte() * 0x010101 ^ k * 0x113355);
    // A face, a list row, and a panel with the flags as given.
    const int extra = in.Word() & 0x33FFF;
    const int viewFlags[] = {0x30307, 0x23357, extra};
    for (int k = 0; k < 3; ++k) {
        CVisTarget& t = pic.AddTarget(k + 1);
        t.event = &e;
        t.lane = k + 1;
        t.viewFlags = viewFlags[k];
        in.Take(&t.card, sizeof t.card);
        in.Take(&t.active, sizeof t.active);
        t.card.targetType = static_cast<uint8_t>(in.Byte());
        t.card.valueSystem = static_cast<uint8_t>(in.Byte() % 8);
        in.Take(t.zoomText, 12);
        t.zoomText[sizeof t.zoomText - 1] = 0;
        t.seriesShots = in.Byte() % 12;
        t.verification = in.Byte() % 3;
        t.statusCode = in.Byte() % 8;
        t.values[CVisTarget::kValPlace].number = in.Byte() % 12;
        in.Take(t.values[CVisTarget::kValName].text, 8);
        t.values[CVisTarget::kValTotal].number = in.Word() * 7;
        for (auto& row : t.seriesSums)
            for (int& v : row)
                v = -1;
        for (int s = 1; s <= 3; ++s)
            for (int c = 1; c <= 4; ++c)
                t.seriesSums[s][c] = in.Byte() * 10 - 1;
        for (int k2 = 1; k2 <= 4; ++k2) {
            t.subSums[k2] = in.Word();
            t.subKinds[k2] = in.Byte() % 4;
        }
    }
    // Shots: position, value, flags and run counter; shown in fuzzed order.
    const int shots = in.Byte() % 40;
    for (auto& tp : pic.targets) {
        CVisTarget& t = *tp;
        for (int i = 0; i < shots; ++i) {
            ShotRecord& s = t.shots.shots[i];
            s.state = CDataComp::kSlotShot;
            s.x = in.Word() * 97;
            s.y = in.Word() * 97;
            s.value = static_cast<int16_t>(in.Word() % 1400);
            s.flags = static_cast<uint16_t>(in.Byte() | 0x80);
            s.data44 = static_cast<uint8_t>(in.Byte());
            s.shotAt = in.Word() * 13;
            t.shownShotMap[i + 1] = in.Byte() % CDataComp::kSlots;
        }
        t.firstCountedShot = shots > 0 ? t.shownShotMap[1] : -1;
        t.firstListShot = 1 + in.Byte() % 12;
    }

    PicturePainter painter(data, window);
    if (painter.LayoutPicture(true) != 0)
        return 0;
    painter.RedrawAll();
    // Then the shots come one by one, each drawn over the face as it stands.
    for (int n = 1; n <= shots; ++n)
        for (auto& tp : pic.targets) {
            CVisTarget& t = *tp;
            if (t.slot <= 0)
                continue;
            t.currentShotCount = n;
            t.redrawMask |= 0x33B90;
            painter.DrawPanel(t, true);
            Check(t.lastShotDrawn <= n);
            Check(t.redrawMask == 0);
        }
    painter.DrawHeader(true);
    painter.DrawMessageScreen();
    Check(window.bitmap.Width() == 320 && window.bitmap.Height() == 240);
    return 0;
}
