// The choices around an export: folder, prefix and the relays of an export on command.
#include "range/ExportTriggers.h"

#include <gtest/gtest.h>

namespace {

TEST(ExportTriggers, FolderAndPrefix)
{
    EXPECT_EQ(ExportTriggers::ExchangeFolder(""), ".\\");
    EXPECT_EQ(ExportTriggers::ExchangeFolder("X:\\BV"), "X:\\BV\\");
    EXPECT_EQ(ExportTriggers::ExchangeFolder(".\\BV\\"), ".\\BV\\");

    struct Case {
        const char* prefix;
        bool valid;
    };
    const Case cases[] = {
        {"H1", true}, {"h1", true}, {"Z0", true}, {"a9", true},
        {"", false}, {"H", false}, {"H12", false}, {"1H", false}, {"11", false}, {"HH", false},
        {"@1", false}, {"[1", false}, {"`1", false}, {"{1", false}, {"\xC5" "1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExportTriggers::IsValidPrefix(c.prefix), c.valid) << c.prefix;
}

TEST(ExportTriggers, OfficeRelaysByResultsProgram)
{
    // Programs 3, 4, 5 and 7 write one file per relay: the first active
    // lane's relay; the others take each lane's own relay (0 to 0).
    const int oneRelay[9] = {0, 0, 0, 1, 1, 1, 0, 1, 0};
    for (int program = 0; program <= 8; ++program) {
        ExportTriggers::Relays r = ExportTriggers::OfficeRelays(program, 4);
        EXPECT_EQ(r.first, oneRelay[program] ? 4 : 0) << program;
        EXPECT_EQ(r.last, r.first) << program;
    }
}

}  // namespace
