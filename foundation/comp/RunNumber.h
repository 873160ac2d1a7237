#pragma once
// The run (pass) of a shot on a running-target range, counted from a
// reference shot (the series' first): the units keep a 7-bit run counter in
// the shot's byte 44, which wraps at 128, and bit 7 of the reference says the
// reference shot itself was fired in the run after the one its counter names.
// The card printer, the shot log, the monitors' sums and the display all
// number runs this one way.
constexpr int RunNumber(int shotByte, int referenceByte)
{
    const int a = shotByte & 0x7F, b = referenceByte & 0x7F;
    int run = a - b + ((referenceByte & 0x80) ? 2 : 1);
    if (a < b)
        run += 128;
    return run;
}
