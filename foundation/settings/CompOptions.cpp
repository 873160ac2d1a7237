#include "foundation/settings/CompOptions.h"

#include <algorithm>
#include <cstring>

namespace {

using Box = CompOptions::Box;

const std::array<CompOptions::Info, 15> kOptions = {{
    {0, '0', '1', '1', '1', Box::Hidden, "IDS_DEFCOMP_100"},
    {1, '1', '1', '1', '1', Box::Shown, "IDS_DEFCOMP_ENERGY"},
    {2, '1', '1', '1', '1', Box::Shown, "IDS_DEFCOMP_BLACK"},
    {3, '0', '0', '0', '0', Box::Shown, "IDS_DEFCOMP_FRAME"},
    {4, '1', '1', '1', '1', Box::ShownDisabled, "IDS_DEFCOMP_SEND"},
    {5, '1', '1', '0', '1', Box::ShownDisabled, "IDS_DEFCOMP_SERIE"},
    {6, '1', '1', '1', '1', Box::Shown, "IDS_DEFCOMP_CLOCK"},
    {7, '1', '1', '1', '1', Box::Shown, "IDS_DEFCOMP_WELCOME"},
    {8, '0', '0', '0', '0', Box::HiddenDisabled, "IDS_DEFCOMP_BLOCK"},
    {9, '0', '0', '0', '0', Box::Shown, "IDS_DEFCOMP_ENGLISH"},
    {10, '0', '0', '0', '1', Box::Shown, "IDS_DEFCOMP_STARTNR"},
    {12, '0', '0', '1', '0', Box::Shown, "IDS_DEFCOMP_USERSELECT"},
    {13, '1', '1', '0', '1', Box::Shown, "IDS_DEFCOMP_RELAYCHANGE"},
    {14, '0', '0', '0', '0', Box::Shown, "IDS_DEFCOMP_LAST10"},
    {15, '0', 'u', 'u', 'u', Box::Shown, "IDS_DEFCOMP_AUTOSEND"},
}};

}  // namespace

const std::array<CompOptions::Info, 15>& CompOptions::Table() { return kOptions; }

CompOptions::CompOptions(std::string_view stored)
{
    std::memset(m_text, 0, sizeof m_text);
    for (int i = 0; i < kLength; ++i)
        m_text[i] = (static_cast<size_t>(i) < stored.size() && stored[static_cast<size_t>(i)] == '1') ? '1' : '0';
}

bool CompOptions::IsOn(int position) const
{
    return position >= 0 && position < kLength && m_text[position] == '1';
}

void CompOptions::Set(int position, bool on)
{
    auto it = std::find_if(kOptions.begin(), kOptions.end(), [&](const Info& i) { return i.position == position; });
    if (it != kOptions.end())
        m_text[position] = on ? '1' : '0';
}

void CompOptions::ApplyDefaultButton(int organisation)
{
    for (const Info& info : kOptions) {
        char value = info.button;
        if (organisation == NSF || organisation == ISSF)
            value = info.buttonNsfIssf;
        else if (organisation == NJFF)
            value = info.buttonNjff;
        if (value != 'u')
            m_text[info.position] = value;
    }
}
