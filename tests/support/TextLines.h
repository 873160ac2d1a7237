#pragma once
// A program's output taken apart as the tests read it: its lines, a line's
// blank-separated words, a line's tab-separated fields, how often a piece
// occurs in it.
#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

namespace bvtest {

inline std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

inline std::vector<std::string> Lines(const std::string& text) { return Split(text, '\n'); }
inline std::vector<std::string> Fields(const std::string& line) { return Split(line, '\t'); }

inline std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// How often the piece occurs in the text, overlapping ones counted.
inline size_t Occurrences(const std::string& text, const std::string& piece)
{
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++n;
    return n;
}

}  // namespace bvtest
