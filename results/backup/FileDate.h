#pragma once
// The last-write time of a file, as the backup stamps its entries.
#include <string>

#include "platform/system/Clock.h"

namespace results {

// True when the file exists; out is zeroed first and stays zero when it is
// missing. local: local time, else UTC.
bool GetFileDate(const std::string& path, platform::LocalTime& out, bool local);

}  // namespace results
