// Any bytes as a message from a target unit, on any of the channels: the
// dispatcher checks and handles it without reading or writing outside the
// message and the lanes, and no message ever counts as coming from lane 0.
#include "fuzz/FuzzScratch.h"
#include "range/ui/MainFrm.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include <unistd.h>

namespace {

RangeObjects* g_objects;
CMainFrame* g_frame;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A folder of its own, with the log off: refused messages are logged.
    static const fuzz::ScratchFolder scratch("fuzz-target-message");
    if (chdir(scratch.Path().c_str()) != 0)
        std::abort();
    std::ofstream("BVLog.ini") << "[BVLog]\r\nLevel=200\r\n";
    g_objects = new RangeObjects;
    g_frame = new CMainFrame(*g_objects);
    PortTable& ports = g_frame->Ports();
    const int channels[4][3] = {{1, 1, 40}, {2, 30, 60}, {12, 61, 100}, {10, 90, 100}};
    for (int k = 0; k < 4; ++k) {
        ports[k].type = static_cast<uint8_t>(channels[k][0]);
        ports[k].firstLane = static_cast<uint8_t>(channels[k][1]);
        ports[k].lastLane = static_cast<uint8_t>(channels[k][2]);
    }
    g_frame->Lanes().AssignChannels(ports);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    LaneTable& lanes = g_frame->Lanes();
    int channel = data[0] & 3;
    // Some lanes take part, so the handlers that look at it run both ways.
    for (int lane = 1; lane <= 100; ++lane)
        lanes[lane].enabled = static_cast<uint8_t>((lane + data[1]) & 1);
    g_frame->m_askType = data[1] >> 6;
    auto m = std::make_unique<LineMessage>();
    std::memset(m.get(), 0, sizeof *m);
    size_t n = size - 2 < sizeof m->data ? size - 2 : sizeof m->data;
    std::memcpy(m->data, data + 2, n);
    g_frame->Dispatch(channel, *m);
    fuzz::Check(lanes[0].lineStatus == LineStatus::kNoContact && lanes[0].sensitivity == 0 &&
                lanes[0].liftPosition == 0);
    return 0;
}
