#pragma once
// Where the CD device finds its disc: the computer's default drive, or a CUE/BIN image (tests).
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

inline constexpr int kCdFramesPerSecond = 75;         // sectors of audio per second
inline constexpr int kCdSamplesPerSector = 588;       // stereo 16-bit samples at 44100 Hz
inline constexpr int kCdBytesPerSector = 2352;

// One disc as the CD device plays it. Sector numbers are logical (the first track starts near 0).
class Disc {
 public:
  virtual ~Disc() = default;
  virtual int FirstTrack() const = 0;
  virtual int LastTrack() const = 0;
  virtual int32_t TrackStart(int track) const = 0;  // first sector of a track
  virtual int32_t DiscEnd() const = 0;              // first sector after the last track
  virtual bool IsAudioTrack(int track) const = 0;
  // Reads `count` audio sectors from `sector` into out (count * 2352 bytes, little-endian PCM).
  virtual bool ReadAudio(int32_t sector, int count, uint8_t* out) = 0;
};

class DiscSource {
 public:
  virtual ~DiscSource() = default;
  // The disc now in the drive; nullptr for no drive or no disc. Never waits long.
  virtual std::unique_ptr<Disc> Open() = 0;
};

// The default CD drive, read with paranoia's error correction.
std::unique_ptr<DiscSource> DefaultDrive();
// A CUE/BIN image at a Linux path.
std::unique_ptr<DiscSource> DiscImage(std::string cuePath);

}  // namespace platform
