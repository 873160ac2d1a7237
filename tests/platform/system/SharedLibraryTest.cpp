// Libraries of other makers named the Windows way, and a missing one.
#include "platform/system/SharedLibrary.h"
#include "platform/system/SystemInfo.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

TEST(SharedLibraryTest, WindowsNamesBecomeLibrariesInTheWorkingFolder)
{
    bvtest::TempFolder folder;
    std::string here = platform::WorkingFolder();
    if (here.back() != '/')
        here += '/';
    struct Case { const char* name; const char* file; };
    const Case cases[] = {
        {".\\RCI2000", "libRCI2000.so"},
        {".\\RCIControl", "libRCIControl.so"},
        {"RCI2000.dll", "libRCI2000.so"},
        {"C:\\SIUS\\Rci2000.DLL", "libRci2000.so"},
        {"dll", "libdll.so"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::SharedLibrary::InWorkingFolder(c.name), here + c.file) << c.name;
}

TEST(SharedLibraryTest, AMissingLibraryTellsWhyAndCanBeTriedAgain)
{
    platform::SharedLibrary library;
    EXPECT_FALSE(library.Open("/nonexistent/libnothing.so"));
    EXPECT_FALSE(library.IsOpen());
    EXPECT_NE(library.Error().find("libnothing"), std::string::npos);
    EXPECT_EQ(library.Symbol("anything"), nullptr);
    EXPECT_TRUE(library.Open("libc.so.6"));
    EXPECT_NE(library.Symbol("strlen"), nullptr);
    EXPECT_EQ(library.Symbol("NoSuchEntryPoint"), nullptr);
    EXPECT_FALSE(library.Error().empty());
}
