#pragma once
// The music module Lorvane_BGM: a small layer over media command strings, the audio-CD player
// polled every 200 ms and the sound-file players (MP3 polled every second, WAV looping by itself).
// Everything here runs on the front end's one thread. The settings live in settings_state.h.
#include <QString>
#include <cstdint>
#include <memory>

#include "frontend/music/settings_state.h"

namespace platform {
class MediaCommands;
}

namespace Lorvane_BGM {

// Command layer.
extern QString MCI_Reply;  // text result of the last MCI_Send made by MCI_Query or MCI_Play
int32_t MCI_Send(const QString& command, QString& reply);  // 0, -1 for an empty command, or a code
QString MCI_Query(const QString& command);                 // the reply, or "Error:<code>"
int32_t MCI_Play(const QString& device, const QString& startPosition, const QString& endPosition);

// Audio CD.
extern bool CD_Polling;  // result of the last CD_Poll: keep polling while true
void CD_Open();
void CD_Poll();
void CD_Close();

// Sound files.
void MP3_Open();
bool MP3_IsPlaying();
void MP3_Poll();
void MP3_Close();
void WAV_Play();
void WAV_Stop();

// The interpreter the module talks to. Without a call here the real one is created on first use;
// a null pointer goes back to that.
void UseMediaCommands(std::unique_ptr<platform::MediaCommands> commands);
// Closes every device and sound and releases the audio output; called once at the program's end.
void MCI_Shutdown();

}  // namespace Lorvane_BGM
