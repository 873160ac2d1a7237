#pragma once
// The texts a program shows, looked up by key (IDS_...) in the language
// chosen by the user. One language file (.bvt) per program carries all five
// languages; the table keeps only the column of the chosen one.
//
// A language file is a text file with every byte XORed with 0x3B. Its first
// line is a header; every further line is
//     KEY;x;x;x;Norwegian;Danish;Swedish;English;German
// where the three fields after the key are not used here. Keys and texts are
// trimmed of blanks and ';' and hold at most 250 characters; a text may carry
// the escapes \t, \r and \n, and "\:" which stands for nothing.
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/system/TextTable.h"

// The program sets its table as the text table of its screens
// (platform::SetTextTable), so every dialog finds its texts by key.
class CLanguageTable : public platform::TextTable {
public:
    // Every byte of a language file is stored XORed with this key.
    static constexpr unsigned char kScrambleKey = 0x3B;
    static constexpr size_t kMaxText = 250;

    // One key and its text, as a program carries its English texts built in
    // (made from the language file's source when the program is built).
    struct Entry {
        const char* key;
        const char* text;
    };

    CLanguageTable() = default;
    ~CLanguageTable() override = default;

    // Loads the texts of one language ("NO", "DK", "SE", "EN" or "US", "DE";
    // upper case as written) from a language file (a system path), replacing
    // what was loaded. The column 0..4, or -1 for another code or a missing,
    // empty or unreadable file; the table is then empty.
    int Load(const std::string& path, const std::string& code);

    // Loads the English texts a program carries built in, replacing what was
    // loaded; for when its language file is missing or unreadable. The
    // English column, or -1 for an empty table.
    int LoadBuiltIn(std::span<const Entry> entries);

    // The text of a key in the loaded language (exact, case-sensitive key);
    // the empty text for a key that is not there.
    std::string GetText(std::string_view key) override;

    // Whether the loaded language has a line for the key (which may still
    // hold an empty text).
    bool Contains(std::string_view key) const { return m_texts.count(std::string(key)) != 0; }

    int Column() const { return m_column; }
    int GetCount() const { return static_cast<int>(m_texts.size()); }

    // The column of a language code, -1 when the code is not one of them.
    static int ColumnOf(const std::string& code);

private:
    // Adds a key's text, escapes expanded, unless the key is there already.
    void Add(std::string_view key, std::string_view raw);

    int m_column = -1;
    std::unordered_map<std::string, std::string> m_texts;
};
