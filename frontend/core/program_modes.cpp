#include "frontend/core/program_modes.h"

namespace Lorvane_B {
namespace {

// Each mode hands over to its form. A mode whose form is not part of the program yet does
// nothing, and the program ends.
class FormModes final : public Modes {
 public:
  bool Preview(uint32_t previewWindow) override {
    (void)previewWindow;
    return false;
  }
  void SettingsDialog() override {}
  bool Run() override { return false; }
};

}  // namespace

Modes& ProgramModes() {
  static FormModes modes;
  return modes;
}

}  // namespace Lorvane_B
