#pragma once
// The one audio output of the interpreter: SDL2's audio opened through SDL2_mixer at CD quality
// (44100 Hz, 16-bit, stereo; SDL converts for the device). The CD device adds its samples after
// the mix; music and the WAV player use the mixer itself.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace platform {

// PCM that the front end's thread queues and SDL's audio callback consumes: a fixed ring, so the
// callback never waits for an allocation or a move of the whole queue.
class PcmQueue {
 public:
  explicit PcmQueue(std::size_t capacity) : ring_(capacity) {}
  // Queues what fits; returns how many samples were taken.
  std::size_t Push(const int16_t* samples, std::size_t count);
  void Clear();                 // drops what is queued and restarts the consumed count
  uint64_t Consumed();          // samples taken by the callback since the last Clear
  std::size_t Queued();
  void MixInto(int16_t* stream, std::size_t count);  // audio callback side

 private:
  std::mutex mutex_;
  std::vector<int16_t> ring_;
  std::size_t head_ = 0;  // next sample to play
  std::size_t size_ = 0;
  uint64_t consumed_ = 0;
};

class AudioOutput {
 public:
  AudioOutput() = default;
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  // Opens the output when it is not open yet; false when there is none.
  bool Open();
  bool IsOpen() const { return open_; }
  // The queue mixed in after the mixer (the CD's audio); nullptr removes it. When this returns,
  // the callback no longer uses the previous queue.
  void SetPostMixQueue(PcmQueue* queue);

 private:
  bool open_ = false;
};

}  // namespace platform
