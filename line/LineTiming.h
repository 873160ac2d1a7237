#pragma once
// The timing of a serial bus, by speed. Byte times are in units of 10
// microseconds, the rest in milliseconds.
//
// Each line takes the values of its own speed when it opens, so a 4800-baud
// line and a 9600-baud line of one range keep their own timing.
#include <cstdint>

struct LineTiming {
    int baud;
    int retryPauseMs;      // after a failed read, a failed wait, an idle turn with nothing to do
    int byteTime;          // one byte on the bus (11 bits), 10 us units
    int extraTime;         // added to the end of every transmission, 10 us units
    int rtsMarginMs;       // allowance before an RTS-held warning
    int echoWindowMs;      // a burst beginning this soon after our own transmission is its echo
    int answerTimeMs;      // wait for an answer to begin after a transmission that expects one
    int readTimeoutMs;     // the longest a read waits for one byte
    int frameSilenceMs;    // silence that ends a burst after a complete frame
    int partialSilenceMs;  // silence that ends a burst after a partial frame
    int errorSilenceMs;    // silence that ends a burst after an error
    int idleSafetyMs;      // silence after which an idle line is kicked

    // The table's values for a line's mode: 4800 baud with mode bit 0x10.
    static const LineTiming& ForMode(int mode);
    static const LineTiming& ForBaud(int baud);  // 9600 unless 4800

    // In counts of the high-resolution counter.
    int64_t Ms(int ms) const;
    int64_t Bytes(int count, int units10us) const;
    int64_t ByteCounts(int count) const { return Bytes(count, byteTime); }
    int64_t ExtraCounts() const { return Bytes(1, extraTime); }
};
