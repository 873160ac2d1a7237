#include "range/dialogs/LampTable.h"

#include "line/LineMessage.h"
#include "range/dialogs/GridHandshake.h"


void LampTable::Clear()
{
    m_a.fill(kUnknown);
    m_b.fill(kUnknown);
}

int LampTable::Take(const LineMessage& m)
{
    int lane = m.data[4];
    if (!Valid(lane) || m.Length() < 15)
        return 0;
    m_a[lane] = m.data[14];
    m_b[lane] = m.data[15];
    return lane;
}

void LampTable::ForgetA(int lane)
{
    if (Valid(lane))
        m_a[lane] = kUnknown;
}

void LampTable::ForgetB(int lane)
{
    if (Valid(lane))
        m_b[lane] = kUnknown;
}

std::array<int, 3> LampTable::CopyOf(int lane) const
{
    auto sent = [](int value) { return value >= 0 ? value : kUnchanged; };
    return {kUnchanged, sent(A(lane)), sent(B(lane))};
}

int LampTable::TestValue(int radio)
{
    switch (radio) {
    case 0: return 0;
    case 1: return 2;
    case 2: return 1;
    default: return 3;
    }
}

int LampTable::TypedValue(std::string_view text)
{
    return GridHandshake::TypedNumber(text) & 0xFF;
}
