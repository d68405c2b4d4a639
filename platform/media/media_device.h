#pragma once
// One open device of the interpreter, under its name or alias.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class MediaDevice {
 public:
  virtual ~MediaDevice() = default;
  // Keeps playback fed; the interpreter calls it before every command. Never waits long.
  virtual void Pump() {}
  virtual uint32_t Play(const std::optional<std::string>& from,
                        const std::optional<std::string>& to) = 0;
  virtual uint32_t Stop() = 0;
  virtual uint32_t Pause() = 0;
  virtual uint32_t Resume() = 0;
  // item: the lower-cased words after the name, joined by single spaces.
  virtual uint32_t Status(std::string_view item, std::string& reply) = 0;
  virtual uint32_t SetTimeFormat(std::string_view format) = 0;
};

}  // namespace platform
