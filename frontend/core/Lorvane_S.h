#pragma once
// Form Lorvane_S: the hidden host of the run mode. Loading it writes the sprite texture file,
// starts the renderer and the music; its timers keep the music going and watch for the
// renderer's window; when that window is gone, the music stops and the program ends.
#include <QElapsedTimer>
#include <QLabel>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "platform/base/process.h"
#include "platform/qt/end_signals.h"

class Lorvane_S final : public QWidget {
 public:
  Lorvane_S();
  ~Lorvane_S() override;
  Lorvane_S(const Lorvane_S&) = delete;
  Lorvane_S& operator=(const Lorvane_S&) = delete;

  // Loads the form without showing it: its native window is created and titled first, so that
  // other processes find "Lorvane_Main" for the whole run; then Form_Load.
  void Load();

  QTimer Timer1;  // 1000 ms, MP3 watch
  QTimer Timer2;  // 200 ms, audio-CD watch
  QTimer Timer3;  // 500 ms, renderer watch
  QLabel Display;  // 256 x 256, black, holds the sprite picture
  QString RendererPath;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Load();
  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();
  // The clean-up of every way the run ends; Unload then ends the program.
  void Form_QueryUnload();
  void Unload(bool rendererWindowGone);
  static void UnloadAtExit();

  std::optional<platform::ChildProgram> renderer_;
  QElapsedTimer rendererStart_;
  bool rendererWindowSeen_ = false;
  std::unique_ptr<platform::EndSignalWatch> endSignals_;
  bool unloaded_ = false;
};
