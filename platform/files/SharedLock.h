#pragma once
// Shared byte-range locks beside NativeFile's exclusive ones: any number of
// readers may hold a shared lock on a range at once, and none of them while
// some other open file holds an exclusive lock there. Like NativeFile's, the
// locks belong to one open file (open-file-description locks).
#include <cstdint>

#include "platform/files/NativeFile.h"

namespace platform {

// Shared lock of [offset, offset+length) without waiting; a length of 0 runs
// to the end of the file however long it grows. 0, or EAGAIN when another open
// file holds an exclusive lock there, or another system error.
int TryLockShared(NativeFile& file, int64_t offset, int64_t length);

}  // namespace platform
