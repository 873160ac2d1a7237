#pragma once
// Text in the system is kept as the files store it: Windows-1252 bytes.
// These conversions are used at the edges only: screens, file names on disk,
// and outputs that ask for UTF-8.
#include <string>
#include <string_view>

namespace platform {

// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same value, so
// that every byte survives a round trip.
std::string Cp1252ToUtf8(std::string_view cp1252);

// UTF-8 to Windows-1252. A character the code page lacks, or a malformed
// sequence, becomes '?'.
std::string Utf8ToCp1252(std::string_view utf8);

// The Windows-1252 bytes of a UTF-8 literal, for the few non-ASCII texts the
// code itself carries, e.g. Ansi("Påmelding").
inline std::string Ansi(std::string_view utf8) { return Utf8ToCp1252(utf8); }

// Unicode code point of one Windows-1252 byte.
char32_t Cp1252ToUnicode(unsigned char byte);

// Upper and lower case of a Windows-1252 letter (ASCII and the Western
// European letters of 0x8A-0x9F and 0xC0-0xFE); other bytes are returned as
// they are. ß and ÿ have no single-byte capital and stay.
unsigned char Upper1252(unsigned char byte);
unsigned char Lower1252(unsigned char byte);

}  // namespace platform
