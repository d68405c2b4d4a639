#pragma once
// The music settings, held for the whole run of the front end. Loaded once at start, changed in
// place by the settings dialog, read by the host and the players.
#include <QString>
#include <cstdint>

namespace Lorvane_BGM {

extern int16_t BgmKind;    // 0 none, 1 audio CD, 2 sound file
extern int16_t BgmRepeat;  // audio-CD track to repeat, 0 = the whole disc
extern QString BgmFile;    // full Windows path of the MP3 or WAV file, empty = none
extern QString BgmFolder;  // start folder of the dialog's file browser (derived, not stored)

}  // namespace Lorvane_BGM
