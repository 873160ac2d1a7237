#include "foundation/exchange/ClockMessage.h"

#include <charconv>

namespace {

constexpr std::string_view kWord = "CLOCK";

// The next field up to its ';', which is taken off too; false when the text
// ends before the ';'.
bool NextField(std::string_view& rest, std::string_view& field)
{
    size_t end = rest.find(';');
    if (end == std::string_view::npos)
        return false;
    field = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    return true;
}

bool ParseNumber(std::string_view text, int32_t& value)
{
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

}  // namespace

std::string ClockMessage::Build() const
{
    std::string text(computer.substr(0, kComputerChars));
    text += '.';
    text += prefix;
    text += ';';
    text += kWord;
    for (int32_t number : {mode, period, extra, elapsed}) {
        text += ';';
        text += std::to_string(number);
    }
    text += ';';
    text += '\0';
    return text;
}

bool ClockMessage::Parse(std::string_view data, ClockMessage& out)
{
    std::string_view rest = data.substr(0, data.find('\0'));
    std::string_view sender, word;
    if (!NextField(rest, sender) || !NextField(rest, word) || word != kWord)
        return false;
    size_t dot = sender.find('.');
    if (dot == std::string_view::npos)
        return false;
    ClockMessage read;
    read.computer = sender.substr(0, dot);
    read.prefix = sender.substr(dot + 1);
    int32_t* targets[] = {&read.mode, &read.period, &read.extra, &read.elapsed};
    for (int32_t* target : targets) {
        std::string_view field;
        if (!NextField(rest, field) || !ParseNumber(field, *target))
            return false;
    }
    // The last number's ';' ends the message; anything after it means the
    // text is something else.
    if (!rest.empty())
        return false;
    out = std::move(read);
    return true;
}
