#pragma once
// One help service per program. F1 in a window and a help request on a
// control end here as (topic, command), after the program's main window has
// had its say about which topic is meant.
#include <cstdint>

namespace platform {

class HelpService {
public:
    virtual ~HelpService() = default;
    virtual void ShowHelp(uint32_t topic, int command) = 0;
};

// The service in use; nullptr until the program sets one.
HelpService* CurrentHelpService();
void SetHelpService(HelpService* service);
// Passes a request to the service in use; without one it is dropped.
void RequestHelp(uint32_t topic, int command);

}  // namespace platform
