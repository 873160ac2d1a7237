#include "foundation/settings/ProgramDefList.h"

#include "foundation/settings/ProgramStore.h"
#include "foundation/text/TextUtil.h"

namespace ProgramDef {

std::string ToList(std::string_view def, int positions)
{
    std::string list;
    for (int p = 1; p <= positions && static_cast<size_t>(p) <= def.size(); ++p)
        list += std::to_string(static_cast<unsigned char>(def[static_cast<size_t>(p - 1)]) - 32) + " ";
    return list;
}

std::string FromList(std::string_view list, int maxValue)
{
    std::string def;
    std::string rest(list);
    while (static_cast<int>(def.size()) < CProgramStore::kDefLength) {
        std::string piece;
        CTextUtil::SplitAt(rest, piece, rest, " ", 32);
        CTextUtil::Trim(piece, " ", 32);
        if (piece.empty())
            break;
        int value = CTextUtil::ParseScaled(piece, 0);
        if (value < 0 || value > maxValue)
            value = 0;
        def += static_cast<char>(value + 32);
    }
    return def;
}

}  // namespace ProgramDef
