#include "platform/media/disc_source.h"
#include "platform/media/media_commands.h"

namespace platform {

namespace {

class MediaInterpreter final : public MediaCommands {
 public:
  uint32_t Send(std::string_view, char* reply, std::size_t replySize) override {
    if (replySize > 0) reply[0] = 0;
    return kMediaNoAudioOutput;
  }
  bool ErrorText(uint32_t code, char* buffer, std::size_t size) override {
    const char* text = MediaErrorText(code);
    if (!text || size == 0) return false;
    std::size_t i = 0;
    for (; text[i] && i + 1 < size; ++i) buffer[i] = text[i];
    buffer[i] = 0;
    return true;
  }
  uint32_t WaveOutputCount() override { return 0; }
  bool PlaySound(const char*, uint32_t) override { return false; }
};

}  // namespace

std::unique_ptr<MediaCommands> CreateMediaCommands() { return std::make_unique<MediaInterpreter>(); }
std::unique_ptr<MediaCommands> CreateMediaCommands(std::unique_ptr<DiscSource>) {
  return std::make_unique<MediaInterpreter>();
}

}  // namespace platform
