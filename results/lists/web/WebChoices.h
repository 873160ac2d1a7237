#pragma once
// The web list choices of an event's lists, kept in its Prize%d.bvc: whether
// a list is in the slide show, for how many seconds, and how many rows it
// shows there (10, 20, else all). A team competition's are in Team.bvc
// (TeamItems::WebInShow and the like). p is a class prize list, k a class
// number, g a combined prize list.
#include "foundation/files/ConfigItem.h"

namespace results::WebChoice {

inline constexpr ConfigIntItem kRelayInShow{17, 1, 1, 0};
inline constexpr ConfigIntItem kRelaySeconds{18, 1, 2, 10};
constexpr ConfigIntItem ClassInShow(int p, int k) { return {17, p, k + 1, 0}; }
constexpr ConfigIntItem ClassSeconds(int p, int k) { return {18, p, k + 1, 10}; }
constexpr ConfigIntItem ClassRows(int p, int k) { return {19, p, k + 1, 0}; }
constexpr ConfigIntItem GroupInShow(int g) { return {20, g, 1, 0}; }
constexpr ConfigIntItem GroupSeconds(int g) { return {21, g, 1, 10}; }
constexpr ConfigIntItem GroupRows(int g) { return {22, g, 1, 0}; }

// The list variant of a rows-shown choice in the slide show.
constexpr int VariantOfRows(int rows) { return rows == 10 ? 1 : rows == 20 ? 2 : 0; }

}  // namespace results::WebChoice
