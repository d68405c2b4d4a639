#pragma once
// The "cdaudio" device: a disc read with libcdio and played through the audio output. Position
// and current track follow what the audio callback has actually taken.
#include <memory>

#include "platform/media/audio_output.h"
#include "platform/media/disc_source.h"
#include "platform/media/media_device.h"

namespace platform {

std::unique_ptr<MediaDevice> CreateCdDevice(std::unique_ptr<Disc> disc, AudioOutput& output);

}  // namespace platform
