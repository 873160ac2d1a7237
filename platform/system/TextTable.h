#pragma once
// Every text a screen shows comes from the program's text table by key
// ("IDS_CARD_TITLE"). The table itself belongs to the program (the language
// texts loaded for the chosen language); the screens and the window kit reach
// it only through this small interface.
#include <string>
#include <string_view>

namespace platform {

class TextTable {
public:
    virtual ~TextTable() = default;
    // The text of the key in Windows-1252; empty when the table has none.
    virtual std::string GetText(std::string_view key) = 0;
};

// The table in use, or nullptr before the program loaded one.
TextTable* CurrentTextTable();
void SetTextTable(TextTable* table);

// The text of a key from the table in use. Before any table is set the key
// itself is shown, so that an unfinished screen still tells what goes where.
std::string TextOfKey(std::string_view key);

}  // namespace platform
