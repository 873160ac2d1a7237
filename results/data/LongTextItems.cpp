#include "results/data/LongTextItems.h"

#include <algorithm>

namespace results {
namespace {

std::string Piece(const std::string& text, int n)
{
    size_t from = static_cast<size_t>(n) * kPieceLength;
    return from < text.size() ? text.substr(from, kPieceLength) : std::string();
}

int SecondSection(const ConfigTextPair& item) { return item.secondSection ? item.secondSection : item.section; }

}  // namespace

std::string ReadItem(CBVConfig& store, const ConfigTextPair& item)
{
    return ::ReadItem(store, ConfigTextItem{item.section, item.index, item.firstKey, ""}) +
           ::ReadItem(store, ConfigTextItem{SecondSection(item), item.index, item.secondKey, ""});
}

int WriteItem(CBVConfig& store, const ConfigTextPair& item, const std::string& text)
{
    int rc = store.WriteString(item.section, item.index, item.firstKey, Piece(text, 0).c_str());
    int second = store.WriteString(SecondSection(item), item.index, item.secondKey, Piece(text, 1).c_str());
    return rc != 0 ? rc : second;
}

std::string ReadItem(CBVConfig& store, const ConfigNinePieces& item)
{
    char buffer[9 * kPieceLength + 1];
    store.ReadLong(item.section, item.index, item.key, buffer, sizeof buffer);
    return buffer;
}

int WriteItem(CBVConfig& store, const ConfigNinePieces& item, const std::string& text)
{
    int result = 0;
    for (int i = 0; i < 9; ++i) {
        int rc = store.WriteString(item.section, item.index, item.key + i, Piece(text, i).c_str());
        if (result == 0)
            result = rc;
    }
    return result;
}

}  // namespace results
