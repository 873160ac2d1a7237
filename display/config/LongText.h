#pragma once
// Long texts (folders and file names) as the settings pages write them into
// nine keys key .. key + 8 of one section and index.
#include <string>
#include <string_view>

class CBVConfig;

namespace ConfigText {

// The most a folder or file name of the events and pictures pages keeps:
// nine pieces of 30 characters.
inline constexpr size_t kCutLength = 270;

// The text without blanks (spaces and tabs) at its ends.
std::string TrimBlanks(std::string_view text);

// The events page's and the pictures page's rule: blanks trimmed, cut to
// 270 characters, key + j given characters 30j .. 30j + 29 (empty past the
// end), the last key first so that a reader never joins a new head to an
// old tail. The text as stored.
std::string WriteCut(CBVConfig& store, int section, int index, int key, std::string_view text);

}  // namespace ConfigText
