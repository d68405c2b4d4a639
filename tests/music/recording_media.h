#pragma once
// A stand-in for the media command interpreter that records what the music module sends and
// answers from a script: per command a code and a reply (default: success, empty reply).
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/media/media_commands.h"

namespace musictest {

struct Answer {
  uint32_t code = 0;
  std::string reply;
  bool leaveBuffer = false;  // write nothing into the reply buffer
};

struct SoundCall {
  std::optional<std::string> name;
  uint32_t flags;
};

class RecordingMedia final : public platform::MediaCommands {
 public:
  std::vector<std::string> sent;
  std::vector<std::size_t> replySizes;
  std::map<std::string, Answer> answers;
  std::map<uint32_t, std::string> errorTexts;
  std::vector<SoundCall> sounds;
  uint32_t waveDevices = 1;

  uint32_t Send(std::string_view command, char* reply, std::size_t replySize) override {
    sent.emplace_back(command);
    replySizes.push_back(replySize);
    Answer answer;
    if (auto it = answers.find(std::string(command)); it != answers.end()) answer = it->second;
    if (replySize > 0 && !answer.leaveBuffer) {
      std::size_t n = std::min(answer.reply.size(), replySize - 1);
      std::memcpy(reply, answer.reply.data(), n);
      reply[n] = 0;
    }
    return answer.code;
  }
  bool ErrorText(uint32_t code, char* buffer, std::size_t size) override {
    auto it = errorTexts.find(code);
    if (it == errorTexts.end()) return false;
    std::size_t n = std::min(it->second.size(), size - 1);
    std::memcpy(buffer, it->second.data(), n);
    buffer[n] = 0;
    return true;
  }
  uint32_t WaveOutputCount() override { return waveDevices; }
  bool PlaySound(const char* name, uint32_t flags) override {
    sounds.push_back({name ? std::optional<std::string>(name) : std::nullopt, flags});
    return true;
  }
};

}  // namespace musictest
