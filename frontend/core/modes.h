#pragma once
// The three modes that Main hands over to. The program wires the real forms; tests wire their own.
#include <cstdint>

namespace Lorvane_B {

class Modes {
 public:
  virtual ~Modes() = default;
  // Preview set-up inside the given window. True when the preview form stays loaded and the
  // program must run its event loop until the form ends it.
  virtual bool Preview(uint32_t previewWindow) = 0;
  // The settings dialog, modal: returns when it has closed.
  virtual void SettingsDialog() = 0;
  // Loads the hidden host form. True when it stays loaded (the program then runs its event loop
  // until the host ends it).
  virtual bool Run() = 0;
};

}  // namespace Lorvane_B
