// The audio-CD player: opens the device, and on every poll restarts the whole disc when it has
// stopped, or jumps back to the chosen track when play has left it.
#include <array>
#include <string_view>

#include "frontend/music/Lorvane_BGM.h"
#include "frontend/music/media_access.h"

namespace Lorvane_BGM {

bool CD_Polling = false;

namespace {

// Not cleared between polls: the decision reads the buffer as the last query left it.
std::array<char, 255> modeBuffer{};

}  // namespace

void CD_Open() {
  try {
    SendString(QStringLiteral("open cdaudio"), nullptr, 0);
    // Track positions then come back in a form that "play ... from" takes.
    SendString(QStringLiteral("set cdaudio time format tmsf"), nullptr, 0);
  } catch (...) {
  }
}

void CD_Poll() {
  CD_Polling = true;
  try {
    QString current = MCI_Query(QStringLiteral("status cdaudio current track"));
    if (current.toUpper().contains(QStringLiteral("ERR"))) {
      CD_Polling = false;
      return;
    }
    QString count = MCI_Query(QStringLiteral("status cdaudio number of tracks"));
    if (count.toUpper().contains(QStringLiteral("ERR"))) {
      CD_Polling = false;
      return;
    }
    SendString(QStringLiteral("status cdaudio mode"), modeBuffer.data(), modeBuffer.size());
    bool stopped = std::string_view(modeBuffer.data(), 7) == "stopped";

    if (BgmRepeat != 0) {
      // A reply that is no number cannot be compared: the poll fails.
      bool isNumber = false;
      double track = current.trimmed().toDouble(&isNumber);
      if (!isNumber) {
        CD_Polling = false;
        return;
      }
      if (stopped || track != BgmRepeat) {
        QString start =
            MCI_Query(QStringLiteral("status cdaudio position track ") + QString::number(BgmRepeat));
        MCI_Play(QStringLiteral("cdaudio"), start, QString());
      }
    } else if (stopped) {
      MCI_Play(QStringLiteral("cdaudio"), QString(), QString());
    }
  } catch (...) {
    CD_Polling = false;
  }
}

void CD_Close() {
  try {
    SendString(QStringLiteral("stop cdaudio"), nullptr, 0);
    SendString(QStringLiteral("close cdaudio"), nullptr, 0);
  } catch (...) {
  }
}

}  // namespace Lorvane_BGM
