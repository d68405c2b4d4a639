#pragma once
// Inside the music module: the interpreter and a direct send, as the players use them.
#include <QString>
#include <cstddef>
#include <cstdint>

namespace platform {
class MediaCommands;
}

namespace Lorvane_BGM {

// The interpreter, created on first use.
platform::MediaCommands& Media();
// Sends a command with the given reply buffer (size 0: none); returns the interpreter's code.
uint32_t SendString(const QString& command, char* buffer, std::size_t size);
// A buffer's text up to its first NUL, from code page 932.
QString TextUpToNul(const char* buffer, std::size_t size);

}  // namespace Lorvane_BGM
