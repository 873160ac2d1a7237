#pragma once
// The rules of a target face on the display: which type a card's face is
// drawn as, how far it is zoomed (out as shots need it, never in while shots
// are added), which figure outline and which animal a type draws.
#include "foundation/cards/CardPicture.h"
#include "foundation/comp/DataComp.h"
#include "foundation/targets/TargetTypes.h"

class CVisTarget;

namespace FaceRules {

// Figures (game animals, field figures) are zoomed on all their shots and
// may show the whole figure (ring 0); ring faces are not.
inline bool IsFigure(int code) { return CardPicture::IsFigureType(code); }
inline bool IsGameFigure(int code) { return CTargetTypes::GetGroup(code) == 2; }
// Field figures of groups 4 and 5: drawn smaller, with their outline.
inline bool IsFieldFigure(int code)
{
    int g = CTargetTypes::GetGroup(code);
    return g == 4 || g == 5;
}

// The type a card's face is drawn as: the running target (29) by the
// program's target of the series and the card's sensitivity.
int EffectiveTargetType(int cardType, int seriesTarget, int sensitivity);

// The rings a zoom text allows: "0123456789X" (X for 10); ring 0 only on
// figures, ring 11 never.
bool RingAllowed(const char* zoomText, int ring, bool figure);

// The zoom ring for the element's shots from shot `first` on (1-based in the
// current series; 0 or 1: all of them). Returns the new ring when the face
// must be drawn again at it (a zoom out, or any change when all shots were
// looked at), else -1 and the zoom stays.
int ChooseZoom(CVisTarget& t, const CTargetTypes& types, int code, double distanceScale, int first);

// The figure outline entry a type draws (the Swedish game figures have
// their own); it may name no entry of the table, which then draws nothing.
int OutlineEntry(int code, bool swedish);

// The animal of a game target: which polylines, at what scale, plain and/or
// mirrored. The display shows the deer (37) whole outside Sweden.
CardPicture::Silhouette GameFigure(int code, bool swedish);

}  // namespace FaceRules
