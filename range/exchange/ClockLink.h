#pragma once
// The clock link: every display on the range that connected to the range
// control's port gets the shooting clock about every five seconds, once a
// clock command has sent it the first time. This is the message; the frame
// owns the socket that carries it. Nothing a display sends matters.
#include <string>

struct RangeObjects;

class ClockLink {
public:
    explicit ClockLink(RangeObjects& objects) : m_obj(objects) {}

    // The clock message as it stands now: this computer, the competition's
    // prefix and the shooting clock's mode, period, extra time and elapsed time.
    std::string Message();

private:
    RangeObjects& m_obj;
};
