// The sound-file players: an MP3 under the alias MP3Play, restarted by the host's one-second poll
// once it has ended; a WAV that loops by itself.
#include <array>
#include <string_view>

#include "frontend/music/Lorvane_BGM.h"
#include "frontend/music/media_access.h"
#include "platform/media/media_commands.h"
#include "platform/qt/text.h"

namespace Lorvane_BGM {

namespace {

// Not cleared between calls.
std::array<char, 30> playModeBuffer{};

}  // namespace

void MP3_Open() {
  try {
    // Between double quotes so that spaces in the path are part of it.
    QString command =
        QStringLiteral("open \"") + BgmFile + QStringLiteral("\" type MPEGVideo Alias MP3Play");
    if (SendString(command, nullptr, 0) == 0) SendString(QStringLiteral("play MP3Play"), nullptr, 0);
  } catch (...) {
  }
}

bool MP3_IsPlaying() {
  try {
    SendString(QStringLiteral("status MP3Play mode"), playModeBuffer.data(), playModeBuffer.size());
    return std::string_view(playModeBuffer.data(), 7) == "playing";
  } catch (...) {
    return false;
  }
}

void MP3_Poll() {
  try {
    if (MP3_IsPlaying()) return;
    SendString(QStringLiteral("stop MP3Play"), nullptr, 0);
    SendString(QStringLiteral("play MP3Play from 0"), nullptr, 0);
  } catch (...) {
  }
}

void MP3_Close() {
  try {
    SendString(QStringLiteral("stop MP3Play"), nullptr, 0);
    SendString(QStringLiteral("close MP3Play"), nullptr, 0);
  } catch (...) {
  }
}

void WAV_Play() {
  try {
    if (Media().WaveOutputCount() <= 0) return;
    auto name = platform::ToAnsi(BgmFile);
    if (!name) return;
    Media().PlaySound(name->constData(), platform::kSoundAsync | platform::kSoundLoop);
  } catch (...) {
  }
}

void WAV_Stop() {
  try {
    Media().PlaySound(nullptr, 0);
  } catch (...) {
  }
}

}  // namespace Lorvane_BGM
