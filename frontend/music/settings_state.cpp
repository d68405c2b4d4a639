#include "frontend/music/settings_state.h"

namespace Lorvane_BGM {

int16_t BgmKind = 0;
int16_t BgmRepeat = 0;
QString BgmFile;
QString BgmFolder;

}  // namespace Lorvane_BGM
