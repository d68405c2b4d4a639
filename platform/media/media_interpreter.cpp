// The interpreter: parses a command, finds the device by name or alias and runs it there.
#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>

#include "platform/base/drives.h"
#include "platform/media/audio_output.h"
#include "platform/media/cd_device.h"
#include "platform/media/command_words.h"
#include "platform/media/disc_source.h"
#include "platform/media/media_commands.h"
#include "platform/media/mpeg_device.h"

namespace platform {

namespace {

constexpr int kSoundChannel = 0;

void CopyCut(std::string_view text, char* buffer, std::size_t size) {
  if (size == 0) return;
  std::size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
}

// A regular file opened for SDL to read, or nullptr. Opened without blocking and checked on the
// open descriptor, so that nothing put at the path in between (a FIFO) can make a loader wait.
SDL_RWops* OpenRegularFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  FILE* file = ::fdopen(fd, "rb");
  if (!file) {
    ::close(fd);
    return nullptr;
  }
  SDL_RWops* rw = SDL_RWFromFP(file, SDL_TRUE);
  if (!rw) std::fclose(file);
  return rw;
}

// Whether the stream starts as a RIFF WAVE file; the position is put back to the start.
bool IsWave(SDL_RWops* rw) {
  char head[12] = {};
  bool wave = SDL_RWread(rw, head, 1, sizeof head) == sizeof head &&
              std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0;
  SDL_RWseek(rw, 0, RW_SEEK_SET);
  return wave;
}

// Kinds of sound file the MPEGVideo device plays, told from their content. A file without any
// signature would otherwise be taken for a tracker module, which accepts almost any bytes.
bool IsSoundFile(Mix_MusicType type) {
  return type == MUS_MP3 || type == MUS_WAV || type == MUS_OGG || type == MUS_FLAC ||
         type == MUS_OPUS;
}

class MediaInterpreter final : public MediaCommands {
 public:
  explicit MediaInterpreter(std::unique_ptr<DiscSource> discs) : discs_(std::move(discs)) {}
  ~MediaInterpreter() override {
    devices_.clear();
    StopSound();
  }

  uint32_t Send(std::string_view command, char* reply, std::size_t replySize) override {
    CopyCut("", reply, replySize);
    for (auto& [name, device] : devices_) device->Pump();
    std::string text;
    uint32_t code = Run(command, text);
    if (code == kMediaOk) CopyCut(text, reply, replySize);
    return code;
  }

  bool ErrorText(uint32_t code, char* buffer, std::size_t size) override {
    const char* text = MediaErrorText(code);
    if (!text || size == 0) return false;
    CopyCut(text, buffer, size);
    return true;
  }

  uint32_t WaveOutputCount() override { return output_.Open() ? 1 : 0; }

  bool PlaySound(const char* name, uint32_t flags) override {
    StopSound();
    if (!name) return true;
    // Playing while the caller waits is not offered: every call returns at once.
    if (!(flags & kSoundAsync)) return false;
    // A name is looked up as a file; there are no sound aliases and no default sound here.
    auto path = LinuxPathOf(name);
    if (!path) return false;
    SDL_RWops* rw = OpenRegularFile(*path);
    if (!rw) return false;
    if (!IsWave(rw) || !output_.Open()) {
      SDL_RWclose(rw);
      return false;
    }
    sound_ = Mix_LoadWAV_RW(rw, 1);
    if (!sound_) return false;
    if (Mix_PlayChannel(kSoundChannel, sound_, (flags & kSoundLoop) ? -1 : 0) < 0) {
      StopSound();
      return false;
    }
    return true;
  }

 private:
  uint32_t Run(std::string_view command, std::string& reply) {
    auto split = SplitCommand(command);
    if (!split) return kMediaSyntax;
    std::vector<CommandWord>& words = *split;
    if (words.empty()) return kMediaEmptyCommand;
    std::string verb = LowerWord(words[0].text);
    if (verb == "open") return Open(words);
    if (words.size() < 2) {
      bool known = verb == "close" || verb == "play" || verb == "stop" || verb == "pause" ||
                   verb == "resume" || verb == "status" || verb == "set";
      return known ? kMediaSyntax : kMediaUnknownCommand;
    }
    std::string name = LowerWord(words[1].text);
    auto found = devices_.find(name);
    if (verb == "close") {
      if (words.size() != 2) return kMediaSyntax;
      if (found == devices_.end()) return kMediaUnknownDevice;
      devices_.erase(found);
      return kMediaOk;
    }
    bool known = verb == "play" || verb == "stop" || verb == "pause" || verb == "resume" ||
                 verb == "status" || verb == "set";
    if (!known) return kMediaUnknownCommand;
    if (found == devices_.end()) return kMediaUnknownDevice;
    MediaDevice& device = *found->second;

    if (verb == "play") return Play(device, words);
    if (verb == "stop" || verb == "pause" || verb == "resume") {
      if (words.size() != 2) return kMediaSyntax;
      return verb == "stop" ? device.Stop() : verb == "pause" ? device.Pause() : device.Resume();
    }
    std::string rest;
    for (std::size_t i = 2; i < words.size(); ++i) {
      if (words[i].quoted) return kMediaSyntax;
      if (!rest.empty()) rest += ' ';
      rest += LowerWord(words[i].text);
    }
    if (verb == "status") {
      if (rest.empty()) return kMediaSyntax;
      return device.Status(rest, reply);
    }
    if (!rest.starts_with("time format ")) return kMediaUnsupported;
    return device.SetTimeFormat(rest.substr(12));
  }

  static uint32_t Play(MediaDevice& device, const std::vector<CommandWord>& words) {
    std::optional<std::string> from, to;
    for (std::size_t i = 2; i < words.size(); i += 2) {
      if (i + 1 >= words.size() || words[i].quoted) return kMediaSyntax;
      bool isFrom = SameWord(words[i].text, "from");
      if (!isFrom && !SameWord(words[i].text, "to")) return kMediaSyntax;
      std::optional<std::string>& slot = isFrom ? from : to;
      if (slot) return kMediaSyntax;
      slot = words[i + 1].text;
    }
    return device.Play(from, to);
  }

  uint32_t Open(const std::vector<CommandWord>& words) {
    if (words.size() < 2) return kMediaSyntax;
    const CommandWord& element = words[1];
    std::optional<std::string> type, alias;
    for (std::size_t i = 2; i < words.size(); i += 2) {
      if (i + 1 >= words.size() || words[i].quoted) return kMediaSyntax;
      bool isType = SameWord(words[i].text, "type");
      bool isAlias = SameWord(words[i].text, "alias");
      if (!isType && !isAlias) return kMediaSyntax;
      std::optional<std::string>& slot = isType ? type : alias;
      if (slot || words[i + 1].text.empty()) return kMediaSyntax;
      slot = words[i + 1].text;
    }
    bool cd = type ? SameWord(*type, "cdaudio")
                   : (!element.quoted && SameWord(element.text, "cdaudio"));
    bool mpeg = type && SameWord(*type, "mpegvideo");
    if (!cd && !mpeg) return kMediaUnknownType;
    if (cd && (element.quoted || !SameWord(element.text, "cdaudio"))) return kMediaSyntax;
    if (element.text.empty()) return kMediaSyntax;

    std::string name = LowerWord(alias ? *alias : element.text);
    if (devices_.count(name)) return kMediaAliasInUse;

    if (cd) {
      if (cdOpen_ && !cdOpen_->empty() && devices_.count(*cdOpen_)) return kMediaAliasInUse;
      auto disc = discs_->Open();
      if (!disc) return kMediaNoDisc;
      if (!output_.Open()) return kMediaNoAudioOutput;
      devices_[name] = CreateCdDevice(std::move(disc), output_);
      cdOpen_ = name;
      return kMediaOk;
    }
    auto path = LinuxPathOf(element.text);
    if (!path) return kMediaBadPath;
    SDL_RWops* rw = OpenRegularFile(*path);
    if (!rw) return kMediaFileNotFound;
    if (!output_.Open()) {
      SDL_RWclose(rw);
      return kMediaNoAudioOutput;
    }
    // The type from the content, not from the name: junk named .mp3 is refused quietly.
    Mix_Music* music = Mix_LoadMUSType_RW(rw, MUS_NONE, 1);
    if (!music) return kMediaBadFile;
    if (!IsSoundFile(Mix_GetMusicType(music))) {
      Mix_FreeMusic(music);
      return kMediaBadFile;
    }
    devices_[name] = CreateMpegDevice(music, channel_);
    return kMediaOk;
  }

  void StopSound() {
    if (output_.IsOpen()) Mix_HaltChannel(kSoundChannel);
    if (sound_) Mix_FreeChunk(sound_);
    sound_ = nullptr;
  }

  std::unique_ptr<DiscSource> discs_;
  AudioOutput output_;  // before the devices: it outlives them
  MusicChannel channel_;
  std::map<std::string, std::unique_ptr<MediaDevice>> devices_;
  std::optional<std::string> cdOpen_;
  Mix_Chunk* sound_ = nullptr;
};

}  // namespace

std::unique_ptr<MediaCommands> CreateMediaCommands() {
  return std::make_unique<MediaInterpreter>(DefaultDrive());
}

std::unique_ptr<MediaCommands> CreateMediaCommands(std::unique_ptr<DiscSource> discs) {
  return std::make_unique<MediaInterpreter>(std::move(discs));
}

}  // namespace platform
