#pragma once
// Devices of type MPEGVideo: a sound file on SDL2_mixer's music channel. The mixer has one music
// channel, so playing one such device halts another.
#include <memory>

#include "platform/media/media_device.h"

struct _Mix_Music;

namespace platform {

struct MusicChannel {
  const void* owner = nullptr;  // the device whose music the mixer holds
};

// Takes ownership of music.
std::unique_ptr<MediaDevice> CreateMpegDevice(_Mix_Music* music, MusicChannel& channel);

}  // namespace platform
