#pragma once
// The simulator's command language, one command per line, as typed on
// bvsim's standard input or written into its control pipe. The commands are
// a stable interface for scripts; kCommandHelp lists them.
#include "tools/bvsim/lib/Bus.h"

#include <string>

namespace bvsim {

extern const char kCommandHelp[];

struct ControlResult {
    std::string reply;  // "ok", "error: ...", or the lines asked for
    bool quit = false;
};

ControlResult Execute(Bus& bus, const std::string& line);

// One event as bvsim prints it: "cmd 5 40 57 05", "ack 3 ...", "> 45 0D".
// Empty for events that are not printed.
std::string FormatEvent(const BusEvent& event);

}  // namespace bvsim
