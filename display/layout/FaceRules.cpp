#include "display/layout/FaceRules.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "display/model/VisTarget.h"

namespace FaceRules {

int EffectiveTargetType(int cardType, int seriesTarget, int sensitivity)
{
    if (cardType != 29)
        return cardType;
    int code = seriesTarget == 2 ? 21 : 19;
    if (sensitivity == 1)
        code = code == 21 ? 22 : 20;
    return code;
}

bool RingAllowed(const char* zoomText, int ring, bool figure)
{
    if (ring == 0)
        return figure;
    if (ring < 0 || ring > 10)
        return false;
    const char sign = "0123456789X"[ring];
    return std::strchr(zoomText, sign) != nullptr;
}

int ChooseZoom(CVisTarget& t, const CTargetTypes& types, int code, double distanceScale, int first)
{
    const bool figure = IsFigure(code);
    int zoom = types.GetMaxZoomRing(code);
    first = std::max(first, 1);
    const int last = std::min(t.currentShotCount, 100);
    if (first > last) {
        if (IsGameFigure(code))
            zoom = 0;
    } else {
        const double bullet = types.GetBulletRadius(code);
        double farthest = -1000.0 * bullet;
        for (int i = first; i <= last; ++i) {
            const int slot = t.shownShotMap[i];
            if (slot < 0 || slot >= CDataComp::kSlots)
                continue;
            const ShotRecord& s = t.shots.shots[slot];
            if ((s.flags & CDataComp::kFlagNoCoordinates) || (!figure && s.value == 0))
                continue;
            farthest = std::max(farthest, std::hypot(static_cast<double>(s.x), static_cast<double>(s.y)));
        }
        const double needed = farthest * distanceScale * 0.001 + bullet;
        const int lowest = types.GetLowestRing(code);
        if (figure && types.GetRingRadius(code, lowest) < needed) {
            zoom = 0;
        } else {
            for (int z = lowest; z < zoom; ++z) {
                // A ring without a radius (none: -1000) holds no shot.
                double next = types.GetRingRadius(code, z + 1);
                if (next > 0 && next < needed) {
                    zoom = z;
                    break;
                }
            }
        }
    }
    zoom = std::clamp(zoom, 0, 11);
    if (!RingAllowed(t.zoomText, zoom, figure)) {
        int below = -1, above = -1;
        for (int z = zoom - 1; z >= 0 && below < 0; --z)
            if (RingAllowed(t.zoomText, z, figure))
                below = z;
        for (int z = zoom + 1; z <= 10 && above < 0 && below < 0; ++z)
            if (RingAllowed(t.zoomText, z, figure))
                above = z;
        if (below >= 0)
            zoom = below;
        else if (above >= 0)
            zoom = above;
    }
    if (zoom < t.zoomRing || (first <= 1 && zoom != t.zoomRing)) {
        t.zoomRing = zoom;
        return zoom;
    }
    return -1;
}

int OutlineEntry(int code, bool swedish)
{
    int entry = 0;
    const int group = CTargetTypes::GetGroup(code);
    if (group == 4)
        entry = CTargetTypes::GetGroupIndex(code) + 3;
    else if (group == 5)
        entry = CTargetTypes::GetGroupIndex(code) + 19;
    else if (code == 40)
        entry = 30;
    else if (code == 98)
        entry = 29;
    if (swedish) {
        if (code == 33 || code == 38)
            entry = 1;
        else if (code == 37)
            entry = 2;
    }
    return entry >= 32 ? 3 : entry;
}

CardPicture::Silhouette GameFigure(int code, bool swedish)
{
    CardPicture::Silhouette s = CardPicture::SilhouetteOf(code, swedish);
    if (code == 37) {
        // The card shows half the deer beside its rings; the audience sees
        // it whole, except in Sweden, where its own outline stands round it.
        s.factor = 100.0 / 23;
        s.plain = true;
        s.mirrored = !swedish;
    }
    return s;
}

}  // namespace FaceRules
