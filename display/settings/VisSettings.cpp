#include "display/settings/VisSettings.h"

namespace VisItems {

std::string ReadLongItem(CBVConfig& store, int section, int index, int key)
{
    char buffer[CBVConfig::kLongSize + 1];
    store.ReadLong(section, index, key, buffer, sizeof buffer);
    return buffer;
}

}  // namespace VisItems
