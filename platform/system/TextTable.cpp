#include "platform/system/TextTable.h"

namespace platform {
namespace {
TextTable* g_table = nullptr;
}

TextTable* CurrentTextTable()
{
    return g_table;
}

void SetTextTable(TextTable* table)
{
    g_table = table;
}

std::string TextOfKey(std::string_view key)
{
    if (!g_table)
        return std::string(key);
    return g_table->GetText(key);
}

}  // namespace platform
