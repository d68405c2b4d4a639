#include "frontend/core/program_modes.h"

#include <QCoreApplication>
#include <memory>

#include "frontend/core/Lorvane_R.h"
#include "frontend/core/Lorvane_S.h"
#include "frontend/dialog/Lorvane_P.h"

namespace Lorvane_B {
namespace {

// Each mode hands over to its form.
class FormModes final : public Modes {
 public:
  bool Preview(uint32_t previewWindow) override {
    auto form = std::make_unique<Lorvane_R>();
    if (!form->Setup(previewWindow)) return false;
    KeepUntilQuit(std::move(form));
    return true;
  }
  void SettingsDialog() override {
    Lorvane_P dialog;
    dialog.ShowModal();
  }
  bool Run() override {
    auto form = std::make_unique<Lorvane_S>();
    form->Load();
    KeepUntilQuit(std::move(form));
    return true;
  }

 private:
  // A loaded form lives until the event loop ends, and goes before the application object.
  static void KeepUntilQuit(std::unique_ptr<QObject> form) {
    QObject* owned = form.release();
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [owned] { delete owned; });
  }
};

}  // namespace

Modes& ProgramModes() {
  static FormModes modes;
  return modes;
}

}  // namespace Lorvane_B
