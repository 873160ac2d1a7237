#pragma once
// The model dumps that `bvtool res list --out -` writes, read back for the
// golden tests: per definition its header and footer cells and its rows'
// cells, and the check that a file shows every cell of a model in order.
#include <sstream>
#include <string>
#include <vector>

namespace bvtest {

struct ModelDef {
    std::vector<std::string> head, foot;
    std::vector<std::vector<std::string>> rows;
};

inline std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\t') {
            fields.push_back(field);
            field.clear();
        } else if (line[i] == '\\' && i + 1 < line.size()) {
            char c = line[++i];
            field += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
        } else {
            field += line[i];
        }
    }
    fields.push_back(field);
    return fields;
}

inline std::vector<ModelDef> ReadModel(const std::string& text)
{
    std::vector<ModelDef> defs;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        auto f = Fields(line);
        if (f[0] == "def")
            defs.emplace_back();
        else if (f[0] == "head")
            defs.back().head.assign(f.begin() + 2, f.end());
        else if (f[0] == "foot")
            defs.back().foot.assign(f.begin() + 2, f.end());
        else if (f[0] == "row")
            defs.back().rows.emplace_back(f.begin() + 4, f.end());
    }
    return defs;
}

// Words joined by single blanks: how a reader gives a cell's text back.
inline std::string Collapsed(const std::string& text)
{
    std::istringstream in(text);
    std::string word, out;
    while (in >> word)
        out += (out.empty() ? "" : " ") + word;
    return out;
}

// Every non-empty cell of the model's rows, in order, within the text
// (collapsed the same way); the first one missing, or empty.
inline std::string FirstCellMissing(const std::string& text, const std::vector<ModelDef>& defs)
{
    const std::string collapsed = Collapsed(text);
    size_t at = 0;
    for (size_t d = 0; d < defs.size(); ++d)
        for (size_t r = 0; r < defs[d].rows.size(); ++r)
            for (const std::string& cell : defs[d].rows[r]) {
                const std::string want = Collapsed(cell);
                if (want.empty())
                    continue;
                const size_t found = collapsed.find(want, at);
                if (found == std::string::npos)
                    return "definition " + std::to_string(d + 1) + " row " + std::to_string(r + 1) + " '" + cell +
                           "' not after " + std::to_string(at);
                at = found + want.size();
            }
    return {};
}

}  // namespace bvtest
