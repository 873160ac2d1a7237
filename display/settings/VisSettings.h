#pragma once
// Every item of the display's own settings files, with its default, as one
// table per file: .\BVVis.bvc (events, picture slots, the Nettcast account),
// .\Profil.bvc (profiles: pictures in order with display times) and
// .\Pict%d.bvc (one picture: name, type, target slots, view options, colours).
// The settings pages write them; the display loop only reads them.
#include <string>

#include "foundation/files/ConfigItem.h"

namespace VisItems {

// --- .\BVVis.bvc ---
inline constexpr ConfigIntItem kEventCount{3, 1, 530, 0};
constexpr ConfigIntItem EventInUse(int n) { return {3, n, 640, 0}; }
constexpr ConfigTextItem EventName(int n) { return {3, n, 500, ""}; }
inline constexpr int kEventFolderKey = 570;  // (3,n,570..578) range folder, long text
// Lanes of the event taken into the ranking.
constexpr ConfigIntItem EventFirstLane(int n) { return {3, n, 531, 1}; }
constexpr ConfigIntItem EventLastLane(int n) { return {3, n, 532, 100}; }
inline constexpr ConfigIntItem kPictureCount{31, 1, 530, 0};
// The pictures page reads it with default 0, the other pages with 1.
constexpr ConfigIntItem PictureInUse(int b, int defaultValue) { return {31, b, 680, defaultValue}; }
constexpr ConfigIntItem PictureInProfile(int b) { return {31, 1, b, 0}; }
// The Nettcast account. The server reads empty when missing: a made-up
// drive letter is no server.
inline constexpr ConfigTextItem kFtpServer{31, 1, 501, ""};
inline constexpr ConfigTextItem kFtpUser{31, 1, 502, ""};
inline constexpr ConfigTextItem kFtpPassword{31, 1, 503, ""};
inline constexpr int kNettcastFolderKey = 570;   // (31,1,570..578) local folder
inline constexpr int kFtpFolderKey = 720;        // (31,1,720..728) folder on the server

// --- .\Profil.bvc ---
inline constexpr ConfigIntItem kProfileCount{31, 1, 530, 0};
constexpr ConfigTextItem ProfileName(int p) { return {31, p, 500, ""}; }
constexpr ConfigIntItem ProfilePlaces(int p) { return {31, p, 531, 0}; }
constexpr ConfigIntItem PlacePicture(int p, int k) { return {500, p, k, 0}; }
constexpr ConfigIntItem PlaceSeconds(int p, int k) { return {501, p, k, 0}; }
constexpr ConfigIntItem ProfileShowsEvent(int p, int e) { return {502, p, e, 0}; }

// --- .\Pict%d.bvc ---
inline constexpr ConfigTextItem kPictName{31, 1, 500, ""};
inline constexpr ConfigIntItem kPictType{31, 1, 2, 0};  // PictureType
inline constexpr int kHtmlFileKey = 570;                // (501,1,570..578)
inline constexpr int kHtmlFileSection = 501;
inline constexpr ConfigIntItem kTargetCount{31, 1, 530, 0};
constexpr ConfigIntItem SlotLane(int i) { return {503, 1, i, 0}; }
constexpr ConfigIntItem SlotEvent(int i) { return {502, 1, i, 0}; }
constexpr ConfigIntItem SlotViewType(int i) { return {500, i, 640, 0}; }
constexpr ConfigTextItem SlotZoom(int i) { return {500, i, 700, "0123456789X"}; }
inline constexpr ConfigIntItem kPictureFlags{31, 1, 531, 0x20017};
inline constexpr ConfigIntItem kEstimateMode{31, 1, 532, 0};
inline constexpr ConfigIntItem kNoFinal{31, 1, 533, 0};
inline constexpr ConfigIntItem kShowPlace{31, 1, 6, 0};
inline constexpr ConfigIntItem kOneShot{31, 1, 8, 0};
inline constexpr ConfigIntItem kShowClock{31, 1, 9, 0};
inline constexpr ConfigIntItem kNettcastFormat{31, 1, 10, 0};  // 0 PNG, 1 BIN, 2 both

// Colours 0x00BBGGRR of a picture, (504,1,k).
enum Colour {
    kBackground = 1, kTarget, kCentre, kShot, kLastShot, kText, kPlace1, kPlace2, kPlace3, kOtherPlaces, kHighlight
};
inline constexpr int kColourDefaults[12] = {0,        0xFFFFFF, 0xE0FFFF, 0x000000, 0x00FF00, 0x0000FF,
                                            0x000000, 0x40C0FF, 0xC0C0C0, 0x004080, 0x404000, 0x0000FF};
constexpr ConfigIntItem PictColour(int k) { return {504, 1, k, kColourDefaults[k]}; }

// The long text of nine keys key .. key + 8.
std::string ReadLongItem(CBVConfig& store, int section, int index, int key);

}  // namespace VisItems

// Slots (events, pictures, profiles) are numbered from 1; the count item is
// the highest number in use and a free slot is skipped by the readers.
namespace VisSlots {
// The first free slot of 1 .. count, or count + 1 when none is free.
template <typename IsFree>
int FirstFree(int count, IsFree isFree)
{
    for (int n = 1; n <= count; ++n)
        if (isFree(n))
            return n;
    return count + 1;
}
}  // namespace VisSlots
