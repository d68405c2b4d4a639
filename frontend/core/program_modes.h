#pragma once
// The modes of the program itself: the real preview form, settings dialog and host form.
#include "frontend/core/modes.h"

namespace Lorvane_B {

Modes& ProgramModes();

}  // namespace Lorvane_B
