#include "platform/media/audio_output.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <alsa/asoundlib.h>

#include <algorithm>

namespace platform {

namespace {

// ALSA and SDL write their complaints (no card, no configuration) to stderr unless given
// handlers; the screensaver keeps no log.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

void QuietSdl(void*, int, SDL_LogPriority, const char*) {}

void PostMix(void* queue, Uint8* stream, int length) {
  static_cast<PcmQueue*>(queue)->MixInto(reinterpret_cast<int16_t*>(stream),
                                         static_cast<std::size_t>(length) / sizeof(int16_t));
}

}  // namespace

std::size_t PcmQueue::Push(const int16_t* samples, std::size_t count) {
  std::lock_guard lock(mutex_);
  std::size_t n = std::min(count, ring_.size() - size_);
  for (std::size_t i = 0; i < n; ++i) ring_[(head_ + size_ + i) % ring_.size()] = samples[i];
  size_ += n;
  return n;
}

void PcmQueue::Clear() {
  std::lock_guard lock(mutex_);
  head_ = 0;
  size_ = 0;
  consumed_ = 0;
}

uint64_t PcmQueue::Consumed() {
  std::lock_guard lock(mutex_);
  return consumed_;
}

std::size_t PcmQueue::Queued() {
  std::lock_guard lock(mutex_);
  return size_;
}

void PcmQueue::MixInto(int16_t* stream, std::size_t count) {
  std::lock_guard lock(mutex_);
  std::size_t n = std::min(count, size_);
  for (std::size_t i = 0; i < n; ++i) {
    int sum = int{stream[i]} + int{ring_[(head_ + i) % ring_.size()]};
    stream[i] = static_cast<int16_t>(std::clamp(sum, -32768, 32767));
  }
  head_ = (head_ + n) % ring_.size();
  size_ -= n;
  consumed_ += n;
}

bool AudioOutput::Open() {
  if (open_) return true;
  snd_lib_error_set_handler(QuietAlsa);
  SDL_LogSetOutputFunction(QuietSdl, nullptr);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  Mix_Init(MIX_INIT_MP3);
  // No format changes allowed: SDL converts, so the CD's 44100 Hz stereo PCM mixes in as it is.
  if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, 1024, nullptr, 0) != 0) {
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_ReserveChannels(1);  // channel 0 belongs to the WAV player
  open_ = true;
  return true;
}

void AudioOutput::SetPostMixQueue(PcmQueue* queue) {
  if (!open_) return;
  if (queue) {
    Mix_SetPostMix(PostMix, queue);
  } else {
    Mix_SetPostMix(nullptr, nullptr);
  }
}

AudioOutput::~AudioOutput() {
  if (!open_) return;
  Mix_SetPostMix(nullptr, nullptr);
  Mix_HaltChannel(-1);
  Mix_HaltMusic();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

}  // namespace platform
