// Any bytes as a unit's version or status reply: the decoding reads nothing
// outside the message and its texts and numbers stay within what the list
// columns are made for.
#include "fuzz/FuzzScratch.h"
#include "line/LineMessage.h"
#include "range/dialogs/LampTable.h"
#include "range/dialogs/UnitStatusReply.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LineMessage m;
    std::memset(&m, 0, sizeof m);
    std::memcpy(m.data, data, size < sizeof m.data ? size : sizeof m.data);

    UnitVersionReply version;
    if (DecodeUnitVersion(m, version))
        fuzz::Check(version.lane == m.data[4] && version.version.size() <= 22);
    UnitStatusReply status;
    if (DecodeUnitStatus(m, status)) {
        fuzz::Check(status.count4 >= 0 && status.count4 <= 15);
        fuzz::Check(status.counter1 >= 0 && status.counter1 <= 655415535);
        fuzz::Check(status.counter2 >= 0 && status.counter2 <= 655415535);
        fuzz::Check(!status.model.empty() && status.version.size() <= 30);
    }
    LampTable lamps;
    int lane = lamps.Take(m);
    fuzz::Check(lane == 0 || (lane >= 1 && lane <= 100 && lamps.A(lane) == m.data[14] && lamps.B(lane) == m.data[15]));
    return 0;
}
