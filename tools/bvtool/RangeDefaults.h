#pragma once
// What bvtool takes from a range folder the way the range control does: the
// card a new lane starts with, where the exchange folder lies, and whether a
// competition's files can be read at all.
#include "foundation/comp/DataComp.h"
#include "foundation/comp/FileFaults.h"
#include "foundation/files/BVConfig.h"

#include <string>

namespace bvtool {

// A card for (relay, lane) with the range's settings for a new lane: target
// type, value system, sensitivity and band advance.
CardRecord NewLaneCard(CBVConfig& range, int relay, int lane);

// Whether a competition's files can be read at all, as the range control
// tells it.
using ::CompetitionFault;

}  // namespace bvtool
