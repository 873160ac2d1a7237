#pragma once
// The lamp intensities of the targets as the light dialog knows them: two
// values per lane 1..100, each -1 until the lane's light message reports it.
// The light command carries three values per lane (the lamp test, intensity
// A, intensity B); 255 leaves a value of the target as it is, so a value not
// reported yet is sent as 255.
#include <array>
#include <string_view>

struct LineMessage;

class LampTable {
public:
    static constexpr int kUnknown = -1;
    static constexpr int kUnchanged = 255;

    LampTable() { Clear(); }
    void Clear();

    // A light message: byte 4 the lane, 14 intensity A, 15 intensity B. The
    // lane taken, or 0 when the message names no lane 1..100 or is too short.
    int Take(const LineMessage& m);

    int A(int lane) const { return Valid(lane) ? m_a[lane] : kUnknown; }
    int B(int lane) const { return Valid(lane) ? m_b[lane] : kUnknown; }
    // A value sent to the target is unknown until the target reports it.
    void ForgetA(int lane);
    void ForgetB(int lane);

    // The three values that give another lane this lane's intensities.
    std::array<int, 3> CopyOf(int lane) const;

    // The lamp test value of the dialog's radio: none 0, red 2, green 1.
    static int TestValue(int radio);
    // A typed intensity: at most 30 characters, blanks trimmed, a whole
    // number taken as a byte.
    static int TypedValue(std::string_view text);

private:
    static bool Valid(int lane) { return lane >= 1 && lane <= 100; }
    std::array<int, 101> m_a;
    std::array<int, 101> m_b;
};
