#include "display/config/LongText.h"

#include "foundation/files/BVConfig.h"

namespace ConfigText {

std::string TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::string WriteCut(CBVConfig& store, int section, int index, int key, std::string_view text)
{
    std::string stored = TrimBlanks(text).substr(0, kCutLength);
    for (int j = 8; j >= 0; --j) {
        const size_t from = static_cast<size_t>(30 * j);
        const std::string piece = from < stored.size() ? stored.substr(from, 30) : std::string();
        store.WriteString(section, index, key + j, piece.c_str());
    }
    return stored;
}

}  // namespace ConfigText
