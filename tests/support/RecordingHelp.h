#pragma once
// A help service that records what it is asked (topic and command), for the
// tests of F1 and the help buttons.
#include "platform/ui/Help.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace bvtest {

using HelpLog = std::vector<std::pair<uint32_t, int>>;

class RecordingHelp : public platform::HelpService {
public:
    HelpLog requests;
    void ShowHelp(uint32_t topic, int command) override { requests.emplace_back(topic, command); }
};

}  // namespace bvtest
