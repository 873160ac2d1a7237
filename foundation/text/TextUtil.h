#pragma once
// Small text and number routines shared by every program: sorting number and
// name arrays, comparing names with national letters, reading decimal numbers
// into scaled integers, splitting, trimming and cleaning texts, folding foreign
// letters for a language, time texts and packing integers into bytes.
//
// Texts are Windows-1252 bytes, as the files store them. The members that
// "change the text in place" take a std::string and return it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CTextUtil {
public:
    // One element of a sorted name list: at most 31 characters and a NUL.
    using Text32 = std::array<char, 32>;

    virtual ~CTextUtil() = default;

    // Selection sort of the values as unsigned 32-bit numbers, ascending or
    // descending; every swap is repeated in the parallel array. Of equal
    // values the first keeps its place.
    static void SortDWords(std::vector<uint32_t>& values, std::vector<uint32_t>& parallel, bool descending);

    // -1, 0 or 1 in the system's one fixed order of names: letter case does
    // not count, accented letters sort with their base letter, and Æ, Ø, Å
    // come after Z. The same on every computer, so sorted files and binary
    // searches made on one computer stay valid on another.
    static int CompareNoCase(std::string_view a, std::string_view b);

    // The decimal number in the text times 10^decimals ("-12,5" with 2
    // decimals is -1250); ',' and '.' both serve as the decimal sign.
    static int ParseScaled(std::string_view text, int decimals);

    // Splits off the text before the first separator (at most `maximum`
    // characters) into `first`, skips the separators after it and puts what
    // follows into `rest`. Returns `first`. The buffer forms never write more
    // than their sizes (always NUL-terminated when the size is above 0); text
    // may be the same buffer as rest.
    static std::string& SplitAt(std::string_view text, std::string& first, std::string& rest,
                                std::string_view separators, int maximum);
    static char* SplitAt(const char* text, char* first, size_t firstSize, char* rest, size_t restSize,
                         const char* separators, int maximum);

    // Removes the set's characters from both ends, then cuts to maxLength.
    static std::string& Trim(std::string& text, std::string_view chars, uint16_t maxLength);
    // Replaces foreign letters for the language "NO", "SE", "EN" or any other.
    static std::string& FoldLetters(std::string& text, std::string_view language);
    static std::string& RemoveChars(std::string& text, std::string_view chars);

    // "hh:mm:ss", "mm:ss" or "ss" with a fraction after the separator for 10,
    // 100 or 1000 units per second ("01:02:05.4" for 37254 tenths).
    static std::string& FormatTime(std::string& out, int count, int unitsPerSecond, std::string_view separator);

    // Writes the low n bytes (n taken modulo 256) of the value, lowest first,
    // but never more than the buffer holds; bytes above the value's four are
    // 0. Returns the number of bytes written.
    static int IntToBytes(uint32_t value, unsigned char* buffer, size_t bufferSize, int n);

    // Selection sort of 32-byte names by CompareNoCase; equal names keep
    // their order and the parallel values follow their names.
    static void SortStrings(std::vector<Text32>& texts, std::vector<uint32_t>& parallel, bool descending);
    // Binary search in values sorted ascending as unsigned numbers; -1 when absent.
    static int FindSorted(const std::vector<uint32_t>& values, uint32_t value);
    // 1 when the name occurs in the text (CompareNoCase), else 0.
    static int ContainsName(std::string_view name, std::string_view text);
    static std::string& PadRight(std::string& text, char fill, int length);
    // Æ Ø Å æ ø å to [ \ ] { | } of the Norwegian 7-bit set, for old printers
    // and fixed-column exports.
    static std::string& ToNational7Bit(std::string& text);
    // Raises the first letter of every word; nothing is lowered.
    static std::string& CapitalizeWords(std::string& text);
    // Names trimmed, inner blanks collapsed, then CompareNoCase.
    static int CompareNames(std::string_view first, std::string_view second);
    // No character of the set stands twice in a row afterwards.
    static std::string& CollapseDoubles(std::string& text, std::string_view set);
    // Characters that cannot stand in a file name, and the full stop, become '_'.
    static std::string& SafeFileName(std::string& text);

    // The place of a byte in CompareNoCase's order; equal for the two cases
    // of a letter and for nothing else.
    static int CollationWeight(unsigned char c);
};
