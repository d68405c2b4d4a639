// The command layer: sends command strings to the interpreter and turns the outcome into a code
// and a text.
#include <QByteArray>
#include <array>
#include <cstring>

#include "frontend/music/Lorvane_BGM.h"
#include "frontend/music/media_access.h"
#include "platform/media/media_commands.h"
#include "platform/qt/text.h"

namespace Lorvane_BGM {

QString MCI_Reply;

namespace {

std::unique_ptr<platform::MediaCommands> commands;

std::array<char, 512> replyBuffer{};
std::array<char, 256> errorBuffer{};

}  // namespace

platform::MediaCommands& Media() {
  if (!commands) commands = platform::CreateMediaCommands();
  return *commands;
}

void UseMediaCommands(std::unique_ptr<platform::MediaCommands> replacement) {
  commands = std::move(replacement);
}

void MCI_Shutdown() { commands.reset(); }

uint32_t SendString(const QString& command, char* buffer, std::size_t size) {
  auto ansi = platform::ToAnsi(command);
  if (!ansi) return platform::kMediaUnreadableText;
  return Media().Send(std::string_view(ansi->constData(), static_cast<std::size_t>(ansi->size())),
                      buffer, size);
}

QString TextUpToNul(const char* buffer, std::size_t size) {
  const void* nul = std::memchr(buffer, 0, size);
  std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer) : size;
  auto text = platform::FromAnsi(QByteArray(buffer, static_cast<qsizetype>(length)));
  return text ? *text : QString();
}

int32_t MCI_Send(const QString& command, QString& reply) {
  try {
    if (command.isEmpty()) {
      reply = QStringLiteral("コマンド文字列が指定されていません");
      return -1;
    }
    uint32_t code = SendString(command, replyBuffer.data(), replyBuffer.size());
    if (code != 0) {
      if (!Media().ErrorText(code, errorBuffer.data(), errorBuffer.size())) {
        reply = QStringLiteral("Error (文字列が取れません)");
      } else {
        reply = TextUpToNul(errorBuffer.data(), errorBuffer.size());
      }
      return static_cast<int32_t>(code);
    }
    reply = TextUpToNul(replyBuffer.data(), replyBuffer.size());
    return 0;
  } catch (...) {
    reply = QStringLiteral("Error (文字列が取れません)");
    return static_cast<int32_t>(platform::kMediaUnreadableText);
  }
}

QString MCI_Query(const QString& command) {
  int32_t code = MCI_Send(command, MCI_Reply);
  if (code != 0) return QStringLiteral("Error:") + QString::number(code);
  return MCI_Reply;
}

int32_t MCI_Play(const QString& device, const QString& startPosition, const QString& endPosition) {
  QString command = QStringLiteral("play ") + device;
  if (!startPosition.isEmpty()) command += QStringLiteral(" from ") + startPosition;
  if (!endPosition.isEmpty()) command += QStringLiteral(" to ") + endPosition;
  return MCI_Send(command, MCI_Reply);
}

}  // namespace Lorvane_BGM
