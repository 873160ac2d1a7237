#pragma once
// An ini file of the exchange folder (a result, name or sponsor file), read
// and rewritten with a bound on its size. A result file of the longest
// shooting program with coordinates and times, a name file or a relay's line
// file stays far below the bound; anything larger was not written by a range
// or results program, and reading it whole would only cost memory and time:
// it is logged with its name and size and left alone.
#include "foundation/files/BVIniFile.h"

#include <cstdint>

inline constexpr int64_t kExchangeFileMaxBytes = 1024 * 1024;

class CExchangeIniFile : public CBVIniFile {
public:
    CExchangeIniFile() { SetSizeLimit(kExchangeFileMaxBytes); }
};
