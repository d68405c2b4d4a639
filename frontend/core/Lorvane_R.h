#pragma once
// Form Lorvane_R: the preview. A borderless black form put into the display settings' preview
// window, showing the still star picture at its top left, until that window takes it away.
#include <QLabel>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "platform/qt/foreign_window.h"

class Lorvane_R final : public QWidget {
 public:
  Lorvane_R();
  ~Lorvane_R() override;
  Lorvane_R(const Lorvane_R&) = delete;
  Lorvane_R& operator=(const Lorvane_R&) = delete;

  // The preview set-up inside previewWindow. False when that window does not exist (0, or an id
  // that names no window) or cannot take the form: nothing is shown and the program ends.
  bool Setup(uint32_t previewWindow);

  QLabel Img_Prev;  // the preview picture, unscaled, from the top-left corner

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Unload();

  std::unique_ptr<platform::WindowDestroyedWatch> destroyedWatch_;
  bool unloaded_ = false;
};
