#pragma once
// ShowCursor: this process's cursor display count.
#include <cstdint>

namespace platform {

// Adds one to the count (show) or takes one away (hide) and returns the new count, which starts
// at 0. While it is below zero, every window of this process shows a blank cursor.
int32_t ShowCursor(bool show);

}  // namespace platform
