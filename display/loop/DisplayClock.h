#pragma once
// The shooting clock on the display: what a clock link received becomes the
// event's clock values, and those become the clock text of the picture
// header on every tick. No sockets here; the frame owns the links.
#include <cstdint>
#include <string>
#include <vector>

class CVisEvent;

namespace DisplayClock {

// The time to show in tenths of a second, from the clock's mode, period and
// extra time and the tenths since its start; -1 shows nothing.
int64_t ShownTenths(int mode, int period, int extra, uint32_t elapsedTenths);
// " 2:00" below an hour, " 1:00:00" from an hour on, empty below 0.
std::string Format(int64_t tenths);
// The clock text of an event at the tick count now (ms).
std::string Text(const CVisEvent& event, uint32_t now);

// A text unfinished after this many bytes is no clock message: it is
// dropped, so a stray sender cannot make the display hold ever more.
inline constexpr size_t kMostPending = 1024;

// Takes what a link received, as the socket hands its buffers out: newest
// first, each a count byte, that many bytes and a zero byte. The bytes are
// joined oldest first after what was left of the last read and split at the
// zero bytes that end each message; an unfinished text waits for the next
// read, and of the whole ones the newest that reads as a clock message sets
// the event's values (its start tick counted back from now). Returns the
// text applied, empty when none.
std::string Receive(CVisEvent& event, const std::vector<std::vector<uint8_t>>& newestFirst, uint32_t now);

}  // namespace DisplayClock
