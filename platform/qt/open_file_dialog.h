#pragma once
// GetOpenFileNameA: the open-file dialog, with Windows paths in and out.
#include <QString>
#include <optional>

class QWidget;

namespace platform {

struct OpenFileRequest {
  QWidget* owner = nullptr;
  QString title;
  // One filter: its description and its patterns in the Windows form, "*.MP3;*.WAV". Patterns
  // match without regard to case, as on Windows.
  QString filterDescription;
  QString filterPatterns;
  // Windows path of the folder to start in; a folder that does not map or does not exist starts
  // the dialog in its default folder.
  QString initialFolder;
  // Size of the caller's path buffer in code-page bytes, the terminating NUL included.
  int pathBufferSize = 260;
};

// Shows the dialog modally. The chosen file as a Z:\ path; nullopt when the user cancels, and
// also when the path has no code page 932 form or does not fit the buffer: no path is ever
// shortened or changed into another.
std::optional<QString> ChooseFileToOpen(const OpenFileRequest& request);

}  // namespace platform
