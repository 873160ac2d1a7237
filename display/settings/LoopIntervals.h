#pragma once
// The timing of the display loop from .\BVVis.ini, [BVVis], in ticks of
// 100 ms. Only a person edits the file; the display never writes it.
#include <string>

struct LoopIntervals {
    int config = 150;  // settings, range settings and program files looked at
    int name = 150;    // shooter names read again
    int shot = 5;      // active records, cards and shot lists looked at
    int pict = 10;     // display time until the first picture is loaded

    static constexpr int kTickMs = 100;
    // Milliseconds as ticks; anything under two ticks is one tick.
    static int Ticks(int ms) { return ms / kTickMs < 1 ? 1 : ms / kTickMs; }
    // The four values of the file (a system path); a missing file or key
    // gives 15000, 15000, 500 and 1000 ms.
    static LoopIntervals Read(const std::string& iniPath);
};
