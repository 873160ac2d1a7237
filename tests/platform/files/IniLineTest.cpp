// The lines of the small ini files, read the same by the settings beside the
// programs and by the user's profile.
#include "platform/files/IniLine.h"

#include <gtest/gtest.h>

#include <string>

using namespace platform;

TEST(IniLine, SectionLines)
{
    struct Case {
        const char* line;
        bool section;
        const char* name;
    } cases[] = {
        {"[BVLog]", true, "BVLog"},
        {" \t[ BVLog ]\t \r", true, "BVLog"},
        {"[BVLog] ; comment", true, "BVLog"},
        {"[BVLog", true, "BVLog"},  // no "]": the rest of the line
        {"[]", true, ""},
        {"Level=[5]", false, ""},
        {"; [BVLog]", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        std::string_view name = "untouched";
        EXPECT_EQ(IniSectionName(c.line, name), c.section) << c.line;
        if (c.section)
            EXPECT_EQ(name, c.name) << c.line;
    }
}

TEST(IniLine, KeyLines)
{
    struct Case {
        const char* line;
        const char* key;
        bool found;
        const char* value;
    } cases[] = {
        {"Level=20", "Level", true, "20"},
        {"  level \t=  20 \r", "LEVEL", true, "20"},
        {"Name=a=b", "Name", true, "a=b"},  // the first "=" ends the name
        {"Name=", "Name", true, ""},
        {"\xC5rsklasse=Senior", "\xE5RSKLASSE", true, "Senior"},
        {"Levels=20", "Level", false, ""},
        {"Level 20", "Level", false, ""},
    };
    for (const Case& c : cases) {
        std::string_view value = "untouched";
        EXPECT_EQ(IniValueOf(c.line, c.key, value), c.found) << c.line;
        if (c.found)
            EXPECT_EQ(value, c.value) << c.line;
    }
}
