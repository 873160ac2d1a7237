#include "foundation/settings/LanguageTable.h"

#include "foundation/files/TextFile.h"

#include <array>
#include <string_view>

namespace {

struct LanguageCode {
    const char* code;
    int column;
};

// The language codes and their columns; the text of column c is field c + 4.
constexpr std::array<LanguageCode, 6> kCodes = {{
    {"NO", 0}, {"DK", 1}, {"SE", 2}, {"EN", 3}, {"US", 3}, {"DE", 4},
}};
constexpr int kFirstTextField = 4;
// A line longer than this is cut; no text comes near it.
constexpr size_t kMaxLine = 1000;

std::string_view Trim(std::string_view s)
{
    size_t b = s.find_first_not_of(" ;");
    if (b == std::string_view::npos)
        return {};
    size_t e = s.find_last_not_of(" ;");
    return s.substr(b, e - b + 1);
}

std::string Unescape(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            switch (s[i + 1]) {
            case 't': out += '\t'; ++i; continue;
            case 'r': out += '\r'; ++i; continue;
            case 'n': out += '\n'; ++i; continue;
            case ':': ++i; continue;
            default: break;
            }
        }
        out += s[i];
    }
    return out;
}

}  // namespace

int CLanguageTable::ColumnOf(const std::string& code)
{
    for (const LanguageCode& c : kCodes)
        if (code == c.code)
            return c.column;
    return -1;
}

int CLanguageTable::Load(const std::string& path, const std::string& code)
{
    m_texts.clear();
    m_column = ColumnOf(code);
    if (m_column < 0)
        return -1;

    CTextFile file;
    if (file.Open(path, false, kScrambleKey) != 0 || file.GetLineCount() == 0) {
        m_column = -1;
        return -1;
    }

    const int field = m_column + kFirstTextField;
    std::string line;
    for (int n = 2; n <= file.GetLineCount(); ++n) {
        if (file.GetLine(n, line, kMaxLine) != CTextFile::LineOk)
            continue;
        std::string_view rest = line;
        size_t semi = rest.find(';');
        std::string_view key = Trim(rest.substr(0, semi));
        if (key.empty() || semi == std::string_view::npos)
            continue;  // blank lines, and keys without any text field
        rest.remove_prefix(semi + 1);
        // Walk to the language's field; a line that ends before it gives the
        // key no text in this language.
        bool found = true;
        for (int f = 1; f < field; ++f) {
            semi = rest.find(';');
            if (semi == std::string_view::npos) {
                found = false;
                break;
            }
            rest.remove_prefix(semi + 1);
        }
        if (!found)
            continue;
        Add(key, Trim(rest.substr(0, rest.find(';'))));
    }
    return m_column;
}

int CLanguageTable::LoadBuiltIn(std::span<const Entry> entries)
{
    m_texts.clear();
    m_column = entries.empty() ? -1 : ColumnOf("EN");
    if (m_column < 0)
        return -1;
    for (const Entry& e : entries)
        Add(Trim(e.key), Trim(e.text));
    return m_column;
}

void CLanguageTable::Add(std::string_view key, std::string_view raw)
{
    if (key.empty())
        return;
    std::string text = raw.find('\\') == std::string_view::npos ? std::string(raw) : Unescape(raw);
    if (text.size() > kMaxText)
        text.resize(kMaxText);
    m_texts.try_emplace(std::string(key.substr(0, kMaxText)), std::move(text));  // the first line of a key wins
}

std::string CLanguageTable::GetText(std::string_view key)
{
    if (m_column < 0 || key.empty())
        return {};
    auto it = m_texts.find(std::string(key));
    return it == m_texts.end() ? std::string() : it->second;
}
