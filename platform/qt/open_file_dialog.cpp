#include "platform/qt/open_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "platform/base/drives.h"
#include "platform/qt/text.h"

namespace platform {
namespace {

std::optional<QString> LinuxFolderOf(const QString& windowsFolder) {
  auto ansi = ToAnsi(windowsFolder);
  if (!ansi || ansi->isEmpty()) return std::nullopt;
  auto linuxPath =
      LinuxPathOf(std::string_view(ansi->constData(), static_cast<size_t>(ansi->size())));
  if (!linuxPath) return std::nullopt;
  QString folder = QString::fromStdString(*linuxPath);
  if (!QFileInfo(folder).isDir()) return std::nullopt;
  return folder;
}

}  // namespace

std::optional<QString> ChooseFileToOpen(const OpenFileRequest& request) {
  QFileDialog dialog(request.owner, request.title);
  // Qt's own dialog on every desktop: its filter can be told to ignore case, and it behaves the
  // same everywhere.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  const QStringList patterns = request.filterPatterns.split(u';', Qt::SkipEmptyParts);
  dialog.setNameFilter(request.filterDescription + QStringLiteral(" (") + patterns.join(u' ') +
                       u')');
  // Linux names keep their case; song.mp3 must match *.MP3.
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  if (auto folder = LinuxFolderOf(request.initialFolder)) dialog.setDirectory(*folder);

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;

  const QByteArray linuxPath = QDir::cleanPath(chosen.first()).toUtf8();
  auto windows =
      WindowsPathOf(std::string_view(linuxPath.constData(), static_cast<size_t>(linuxPath.size())));
  if (!windows) return std::nullopt;
  // The path and its NUL must fit the buffer, as GetOpenFileNameA requires.
  if (static_cast<long long>(windows->size()) >= request.pathBufferSize) return std::nullopt;
  return FromAnsi(QByteArray(windows->data(), static_cast<qsizetype>(windows->size())));
}

}  // namespace platform
