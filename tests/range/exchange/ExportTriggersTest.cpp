// The relays of an export on command.
#include "range/exchange/ExportTriggers.h"

#include <gtest/gtest.h>

namespace {

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
