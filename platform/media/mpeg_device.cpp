#include "platform/media/mpeg_device.h"

#include <SDL_mixer.h>

#include <charconv>

#include "platform/media/media_commands.h"

namespace platform {

namespace {

class MpegDevice final : public MediaDevice {
 public:
  MpegDevice(Mix_Music* music, MusicChannel& channel) : music_(music), channel_(channel) {}
  ~MpegDevice() override {
    if (Holds()) Mix_HaltMusic();
    if (channel_.owner == this) channel_.owner = nullptr;
    Mix_FreeMusic(music_);
  }

  uint32_t Play(const std::optional<std::string>& from,
                const std::optional<std::string>& to) override {
    if (to) return kMediaUnsupported;
    if (!from && Holds()) {
      // Stopped or paused: go on from there.
      if (Mix_PausedMusic()) Mix_ResumeMusic();
      stopped_ = false;
      return kMediaOk;
    }
    int milliseconds = 0;
    if (from) {
      const std::string& text = *from;
      auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), milliseconds);
      if (text.empty() || error != std::errc() || end != text.data() + text.size() || milliseconds < 0) {
        return kMediaBadPosition;
      }
    }
    if (Mix_PlayMusic(music_, 0) != 0) return kMediaBadFile;
    channel_.owner = this;
    stopped_ = false;
    if (milliseconds > 0 && Mix_SetMusicPosition(milliseconds / 1000.0) != 0) {
      Mix_HaltMusic();
      return kMediaBadPosition;
    }
    return kMediaOk;
  }

  // Stop keeps the place, so that a later play without a position goes on from it.
  uint32_t Stop() override {
    if (Holds()) {
      Mix_PauseMusic();
      stopped_ = true;
    }
    return kMediaOk;
  }
  uint32_t Pause() override {
    if (Holds() && !Mix_PausedMusic()) {
      Mix_PauseMusic();
      stopped_ = false;
    }
    return kMediaOk;
  }
  uint32_t Resume() override {
    if (Holds() && Mix_PausedMusic() && !stopped_) Mix_ResumeMusic();
    return kMediaOk;
  }

  uint32_t Status(std::string_view item, std::string& reply) override {
    if (item == "mode") {
      if (!Holds()) {
        reply = "stopped";
      } else if (Mix_PausedMusic()) {
        reply = stopped_ ? "stopped" : "paused";
      } else {
        reply = "playing";
      }
    } else if (item == "time format") {
      reply = "milliseconds";
    } else if (item == "ready") {
      reply = "true";
    } else {
      return kMediaSyntax;
    }
    return kMediaOk;
  }

  uint32_t SetTimeFormat(std::string_view format) override {
    return (format == "milliseconds" || format == "ms") ? kMediaOk : kMediaUnsupported;
  }

 private:
  // Whether the mixer plays (or holds paused) this device's music.
  bool Holds() const { return channel_.owner == this && Mix_PlayingMusic(); }

  Mix_Music* music_;
  MusicChannel& channel_;
  bool stopped_ = false;
};

}  // namespace

std::unique_ptr<MediaDevice> CreateMpegDevice(_Mix_Music* music, MusicChannel& channel) {
  return std::make_unique<MpegDevice>(music, channel);
}

}  // namespace platform
