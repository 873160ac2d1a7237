#pragma once
// Texts longer than one item of a settings file: a pair of keys holds up to
// 62 characters (the first 31 in the lower key), nine consecutive keys hold a
// folder. Both are read and written whole.
#include "foundation/files/ConfigItem.h"

#include <string>

namespace results {

struct ConfigTextPair {
    int section;
    int index;
    int firstKey;
    int secondKey;
    int secondSection = 0;  // 0: the same section as the first half
};

// Nine keys key .. key + 8, 31 characters each.
struct ConfigNinePieces {
    int section;
    int index;
    int key;
};

inline constexpr int kPieceLength = CBVConfig::kValueSize - 1;

std::string ReadItem(CBVConfig& store, const ConfigTextPair& item);
// Characters past 62 are dropped. 0, or the first failing write's result.
int WriteItem(CBVConfig& store, const ConfigTextPair& item, const std::string& text);

std::string ReadItem(CBVConfig& store, const ConfigNinePieces& item);
// Characters past 9 x 31 are dropped.
int WriteItem(CBVConfig& store, const ConfigNinePieces& item, const std::string& text);

}  // namespace results
