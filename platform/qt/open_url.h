#pragma once
// ShellExecuteA "open" on an address: the desktop's URL handler opens it. No shell is involved.
#include <QString>

namespace platform {

// False when the address is not a valid absolute URL or no handler took it.
bool OpenUrl(const QString& address);

}  // namespace platform
