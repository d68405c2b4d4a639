#pragma once
// The platform's message box.
#include <QString>

namespace platform {

// Shows text in a modal box with caption as its title, an OK button and no icon; returns when
// the user has closed it.
void ShowMessageBox(const QString& text, const QString& caption);

}  // namespace platform
