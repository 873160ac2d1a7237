#pragma once
// What the lane list shows in each cell: the rows of the lanes that take
// part, each cell's text by its column code, and the colours that call the
// range officer's attention (a target on another relay, a series with too
// few or too many shots, a flagged shot, a face made for another distance).
// The list view only measures and paints.
#include <cstdint>
#include <string>
#include <vector>

struct RangeObjects;
struct LaneBlock;

namespace LaneCells {

// The colours of a cell: the window's and its text's unless a rule says
// otherwise.
enum class Colour : uint8_t { Window, WindowText, Red, Blue, Green, Yellow, LightCyan, LightYellow };

struct Colours {
    Colour background = Colour::Window;
    Colour text = Colour::WindowText;
    bool operator==(const Colours&) const = default;
};

// The 0x00RRGGBB value of a colour that is not a system colour.
uint32_t Rgb(Colour colour);

// The lanes that have a row, in lane order: served by a channel and taking
// part. None while no competition is open.
std::vector<int> ListedLanes(const RangeObjects& objects);

// Which shot of the lane's current series a shot cell k (1..10) shows: the
// cells show the last row of ten that has shots, so with 23 shots cells 1 to
// 3 show shots 21 to 23. An index into the lane's display order.
int ShotIndex(const LaneBlock& lane, int cell);

// A sum in hundredths as the list shows it under a value system.
std::string SumText(int hundredths, int valueSystem, const std::string& comma);

std::string Text(RangeObjects& objects, int lane, uint8_t code);
Colours ColoursOf(RangeObjects& objects, int lane, uint8_t code);

// The picture before the lane's number: its line status, told apart further
// for a lane that answers: 9 when the target reports a fault (byte 16 of its
// lane state), 8 when it is idle or the range shoots practice.
int StatusImage(const RangeObjects& objects, int lane);

}  // namespace LaneCells
