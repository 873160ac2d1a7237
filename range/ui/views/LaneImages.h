#pragma once
// The small pictures before a lane's number in the lane list, one per line
// status (0 to 13): green for a lane that answers, amber while it fails,
// red without contact, blue while a command waits for its answer, and the
// lane's own kinds (idle, a target fault, a shot warning, the outside
// system, the USB adapter's states).
#include <QPixmap>

namespace LaneImages {

inline constexpr int kCount = 14;
inline constexpr int kWidth = 14;
inline constexpr int kHeight = 12;

// The picture of an image index; an index outside 0..13 gives an empty one.
const QPixmap& Image(int index);

}  // namespace LaneImages
