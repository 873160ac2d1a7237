#pragma once
// The clock message: what the range control tells every connected display
// about its shooting clock, about every five seconds, over the clock link.
// One text, sent with its terminating zero byte:
//
//     <computer>.<prefix>;CLOCK;<mode>;<period>;<extra>;<elapsed>;
//
// The numbers are decimal: the clock's mode while it runs (0 when stopped),
// the set period and the set extra time in tenths of a second, and the tenths
// of a second since the clock was started. A display takes its own tick minus
// the elapsed tenths as the clock's start and counts from there, so a display
// that connects late still shows the right time.
#include <cstdint>
#include <string>
#include <string_view>

struct ClockMessage {
    // The range control's computer name; a longer name is cut to this length.
    static constexpr size_t kComputerChars = 15;

    std::string computer;
    std::string prefix;    // the competition's exchange prefix ("H1")
    int32_t mode = 0;
    int32_t period = 0;    // tenths of a second
    int32_t extra = 0;     // tenths of a second
    int32_t elapsed = 0;   // tenths of a second since the start

    // The text as it goes on the wire, its terminating zero byte included.
    std::string Build() const;

    // Reads a message from received bytes: the text ends at the first zero
    // byte or at the end of the data. A text that is not a whole clock
    // message (a field missing or cut short, a number that is none, a word
    // other than CLOCK) is refused with false and out left as it was, so a
    // display keeps its last good values rather than showing a wrong clock.
    static bool Parse(std::string_view data, ClockMessage& out);
};
