#include "platform/ui/Help.h"

namespace platform {
namespace {
HelpService* g_help = nullptr;
}

HelpService* CurrentHelpService()
{
    return g_help;
}

void SetHelpService(HelpService* service)
{
    g_help = service;
}

void RequestHelp(uint32_t topic, int command)
{
    if (g_help)
        g_help->ShowHelp(topic, command);
}

}  // namespace platform
