// Any bytes as an ini file: parsing never fails, writing back what was read
// changes nothing more on a second round, and a value merged in reads back.
#include "foundation/files/BVIniFile.h"
#include "platform/files/SystemPath.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

const CBVIniFile::Line* Find(const std::vector<CBVIniFile::Section>& sections, std::string_view section,
                             std::string_view key)
{
    for (const auto& s : sections) {
        if (!s.hasHeader || !platform::SameNameNoCase(s.name, section))
            continue;
        for (const auto& line : s.lines)
            if (line.isKey && platform::SameNameNoCase(line.key, key))
                return &line;
        return nullptr;
    }
    return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto sections = CBVIniFile::Parse(text);
    std::string once = CBVIniFile::Serialize(sections);
    if (CBVIniFile::Serialize(CBVIniFile::Parse(once)) != once)
        __builtin_trap();

    CBVIniFile::Merge(sections, "FuzzSection", "FuzzKey", "x y");
    auto again = CBVIniFile::Parse(CBVIniFile::Serialize(sections));
    const CBVIniFile::Line* line = Find(again, "FuzzSection", "FuzzKey");
    if (!line || line->value != "x y")
        __builtin_trap();
    return 0;
}
