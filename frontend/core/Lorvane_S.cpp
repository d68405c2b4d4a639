#include "frontend/core/Lorvane_S.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QPixmap>

#include <chrono>
#include <cstdlib>

#include "frontend/core/Lorvane_B.h"
#include "frontend/music/Lorvane_BGM.h"
#include "frontend/resources/pictures.h"
#include "platform/qt/cursor.h"
#include "platform/qt/picture_file.h"
#include "platform/qt/text.h"
#include "platform/x11/window_search.h"

namespace {

const char kTexturePath[] = "C:\\ostrik\\Lorvane.bmp";
// How long a renderer whose process runs may take to show its window.
constexpr qint64 kRendererStartGraceMs = 10000;

// The loaded host, for the clean-up when the program is ended from outside the event loop (the
// X connection breaking makes the toolkit end the process through exit()).
Lorvane_S* loadedHost = nullptr;

// The sound file's type: the last three characters of its name, upper-cased.
QString SoundFileType() { return Lorvane_BGM::BgmFile.right(3).toUpper(); }

}  // namespace

Lorvane_S::Lorvane_S() : Display(this) {
  setWindowTitle(QStringLiteral("Lorvane_Main"));
  Timer1.setInterval(1000);
  Timer2.setInterval(200);
  Timer3.setInterval(500);
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  connect(&Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });
  connect(&Timer3, &QTimer::timeout, this, [this] { Timer3_Timer(); });

  Display.setGeometry(0, 0, 256, 256);
  QPalette black = Display.palette();
  black.setColor(QPalette::Window, Qt::black);
  Display.setPalette(black);
  Display.setAutoFillBackground(true);
  Display.setPixmap(QPixmap(resources::PicturePath(QStringLiteral("cloud_sprite.png"))));
}

Lorvane_S::~Lorvane_S() {
  if (loadedHost == this) loadedHost = nullptr;
}

void Lorvane_S::Load() {
  winId();
  // Flushed now, not at the first turn of the event loop: a second start must find the host at
  // once.
  QGuiApplication::sync();
  endSignals_ = std::make_unique<platform::EndSignalWatch>([this] { Unload(false); });
  if (!loadedHost) {
    loadedHost = this;
    static bool registered = false;
    if (!registered) registered = std::atexit(&Lorvane_S::UnloadAtExit) == 0;
  }
  Form_Load();
  Timer3.start();
}

void Lorvane_S::Form_Load() {
  using namespace Lorvane_BGM;
  // 1. The sprite for the renderer, complete before the renderer starts.
  platform::SavePicture(Display.pixmap().toImage(), QString::fromLatin1(kTexturePath));
  // 2, 3. The renderer, by path, with no arguments; not waited for.
  RendererPath = Lorvane_B::ProgramFolder() + QStringLiteral("\\Lorvane.dll");
  if (auto path = platform::ToAnsi(RendererPath)) {
    renderer_ = platform::ChildProgram::Start(
        std::string_view(path->constData(), static_cast<size_t>(path->size())));
  }
  rendererStart_.start();
  // 4. Audio CD.
  if (BgmKind == 1) {
    CD_Open();
    Timer2.start();
  }
  // 5. Sound file.
  if (BgmKind == 2) {
    if (SoundFileType() == QLatin1String("WAV")) WAV_Play();
    if (SoundFileType() == QLatin1String("MP3")) {
      MP3_Open();
      Timer1.start();
    }
  }
}

void Lorvane_S::Timer1_Timer() { Lorvane_BGM::MP3_Poll(); }

void Lorvane_S::Timer2_Timer() {
  Lorvane_BGM::CD_Poll();
  if (!Lorvane_BGM::CD_Polling) Timer2.stop();
}

void Lorvane_S::Timer3_Timer() {
  // Also collects a renderer that has ended, so that it does not linger as a zombie.
  const bool rendererRuns = renderer_ && renderer_->Running();
  if (platform::FindTopLevelWindow("Lorvane_VC") != 0) {
    rendererWindowSeen_ = true;
    return;
  }
  // A renderer still starting has no window yet: with software GL on a busy machine that takes
  // longer than one tick. It gets a grace time while its process runs; once its window has been
  // seen, only the window counts.
  if (!rendererWindowSeen_ && rendererRuns && rendererStart_.elapsed() < kRendererStartGraceMs)
    return;
  Timer3.stop();
  Unload(true);
}

void Lorvane_S::Form_QueryUnload() {
  using namespace Lorvane_BGM;
  // 1. Audio CD, unless its watch has already stopped itself.
  if (Timer2.isActive()) {
    Timer2.stop();
    CD_Close();
  }
  // 2. Sound file.
  if (BgmKind == 2) {
    if (SoundFileType() == QLatin1String("WAV")) WAV_Stop();
    if (SoundFileType() == QLatin1String("MP3")) {
      Timer1.stop();
      MP3_Close();
    }
  }
  // 3. The cursor, only where the run mode hid it.
  if (Lorvane_B::SwitchLetter() == QLatin1String("S")) {
    Lorvane_B::CursorCount = platform::ShowCursor(true);
  }
}

void Lorvane_S::Unload(bool rendererWindowGone) {
  if (unloaded_) return;
  unloaded_ = true;
  Timer3.stop();
  Form_QueryUnload();
  Lorvane_BGM::MCI_Shutdown();
  // 4. The end of the program. A renderer whose window has just gone is ending too; collect it
  // rather than leave it to whoever inherits it.
  if (rendererWindowGone && renderer_) renderer_->WaitForEnd(std::chrono::milliseconds(300));
  QCoreApplication::exit(0);
}

void Lorvane_S::closeEvent(QCloseEvent* event) {
  event->accept();
  Unload(false);
}

void Lorvane_S::UnloadAtExit() {
  Lorvane_S* host = loadedHost;
  if (!host || host->unloaded_) return;
  host->unloaded_ = true;
  host->Form_QueryUnload();
  Lorvane_BGM::MCI_Shutdown();
  // The renderer loses the same X connection and is ending too.
  if (host->renderer_) host->renderer_->WaitForEnd(std::chrono::milliseconds(300));
}
