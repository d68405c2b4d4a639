#include "frontend/core/Lorvane_B.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "frontend/music/settings_state.h"
#include "platform/base/files.h"
#include "platform/base/profile.h"
#include "platform/base/program_folder.h"
#include "platform/qt/cursor.h"
#include "platform/qt/message_box.h"
#include "platform/qt/text.h"
#include "platform/x11/window_search.h"

namespace Lorvane_B {

QString ArgumentString;
int32_t CursorCount = 0;

namespace {

// The profile functions hand names through fields of 128 characters, the NUL included.
constexpr qsizetype kNameField = 128;
// GetPrivateProfileStringA's buffer: a value keeps at most 255 bytes.
constexpr size_t kValueBuffer = 256;

std::string Bytes(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A setting's text as a whole 16-bit number: a decimal number (sign, digits, fraction, exponent),
// rounded down. nullopt for text that is not a number or a whole number outside -32768..32767.
std::optional<int16_t> SettingNumber(const QString& text) {
  QString t = text.trimmed();
  qsizetype i = 0;
  auto digits = [&] {
    qsizetype start = i;
    while (i < t.size() && IsDigit(t[i])) ++i;
    return i - start;
  };
  if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ++i;
  qsizetype mantissa = digits();
  if (i < t.size() && t[i] == u'.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return std::nullopt;
  if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
    ++i;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ++i;
    if (digits() == 0) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;

  // Only ASCII is left; from_chars takes no leading plus.
  std::string ascii = t.toStdString();
  const char* begin = ascii.data();
  if (*begin == '+') ++begin;
  double value = 0;
  auto [end, error] = std::from_chars(begin, ascii.data() + ascii.size(), value);
  if (error != std::errc() || end != ascii.data() + ascii.size()) return std::nullopt;
  double whole = std::floor(value);
  if (!(whole >= -32768.0 && whole <= 32767.0)) return std::nullopt;
  return static_cast<int16_t>(whole);
}

int16_t ReadSetting(const QString& key, const QString& settingsFile) {
  QString text = ReadIniValue(SettingsSection(), key, settingsFile);
  if (text.isEmpty()) return 0;
  return SettingNumber(text).value_or(0);
}

}  // namespace

QString SwitchLetter() {
  if (ArgumentString.size() < 2) return {};
  return ArgumentString.mid(1, 1).toUpper();
}

QString ProgramFolder() {
  auto folder = platform::ProgramFolder();
  if (!folder) return {};
  return platform::FromAnsi(QByteArray(folder->data(), static_cast<qsizetype>(folder->size())))
      .value_or(QString());
}

QString SettingsFilePath() { return ProgramFolder() + QStringLiteral("\\Lorvane.ini"); }

QString ReadIniValue(const QString& section, const QString& key, const QString& filePath) {
  auto ansiSection = platform::ToAnsi(section);
  auto ansiKey = platform::ToAnsi(key);
  auto ansiPath = platform::ToAnsi(filePath);
  if (!ansiSection || !ansiKey || !ansiPath) return {};
  std::string value = platform::ReadProfileString(Bytes(*ansiSection), Bytes(*ansiKey),
                                                  Bytes(*ansiPath), kValueBuffer);
  // Bytes that are no code-page text cannot be told apart from a changed value: none is read.
  return platform::FromAnsi(QByteArray(value.data(), static_cast<qsizetype>(value.size())))
      .value_or(QString());
}

void WriteIniValue(const QString& section, const QString& key, const QString& value,
                   const QString& filePath) {
  auto ansiSection = platform::ToAnsi(section.left(kNameField - 1));
  auto ansiKey = platform::ToAnsi(key.left(kNameField - 1));
  auto ansiValue = platform::ToAnsi(value);
  auto ansiPath = platform::ToAnsi(filePath);
  if (!ansiSection || !ansiKey || !ansiValue || !ansiPath) return;
  platform::WriteProfileString(Bytes(*ansiSection), Bytes(*ansiKey), Bytes(*ansiValue),
                               Bytes(*ansiPath));
}

bool FileExists(const QString& path) {
  QString file = path;
  if (file.endsWith(u'\\')) file.chop(1);
  // What still ends with a separator names a folder, which no file open accepts.
  if (file.isEmpty() || file.endsWith(u'\\') || file.endsWith(u'/')) return false;
  auto ansi = platform::ToAnsi(file);
  if (!ansi) return false;
  return platform::ReadOnlyFile::Open(Bytes(*ansi)).has_value();
}

QString FolderOfPath(const QString& path) {
  qsizetype last = -1;
  for (qsizetype i = 0; i < path.size(); ++i) {
    if (path[i] == u':' || path[i] == u'\\') last = i;
  }
  QString folder = path.left(last + 1);
  if (folder.endsWith(u'\\')) folder.chop(1);
  return folder;
}

void LoadSettingsFrom(const QString& settingsFile, const QString& programFolder) {
  using namespace Lorvane_BGM;
  BgmKind = ReadSetting(KeyBgmKind(), settingsFile);
  BgmRepeat = ReadSetting(KeyBgmRepeat(), settingsFile);

  QString file = ReadIniValue(SettingsSection(), KeyBgmFile(), settingsFile);
  if (!file.isEmpty() && !FileExists(file)) file.clear();
  BgmFile = file;
  if (BgmFile.isEmpty() && BgmKind == 2) BgmKind = 0;

  BgmFolder = BgmFile.isEmpty() ? programFolder : FolderOfPath(BgmFile);
}

void LoadSettings() { LoadSettingsFrom(SettingsFilePath(), ProgramFolder()); }

uint32_t PreviewWindowHandle() {
  QString text = ArgumentString.mid(3);
  qsizetype i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  // Reading goes on over every digit, but a number past 32 bits stays marked as too large.
  constexpr uint64_t kLimit = uint64_t{1} << 32;
  uint64_t value = 0;
  bool tooLarge = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (!tooLarge) value = value * 10 + static_cast<uint64_t>(text[i].unicode() - u'0');
    if (value >= kLimit) tooLarge = true;
  }
  if (tooLarge) return 0;
  if (!negative) return static_cast<uint32_t>(value);
  // A negative number is a 32-bit signed handle: it keeps its two's-complement bits.
  if (value > uint64_t{1} << 31) return 0;
  return static_cast<uint32_t>(kLimit - value);
}

bool Main(Modes& modes) { return Main(modes, ProgramFolder()); }

bool Main(Modes& modes, const QString& programFolder) {
  // Another screensaver host or settings dialog on screen: end without a word. Both searches
  // always run.
  bool hostFound = platform::FindTopLevelWindow("Lorvane_Main") != 0;
  bool dialogFound = platform::FindTopLevelWindow("<Lorvane>") != 0;
  if (hostFound || dialogFound) return false;

  QString letter = SwitchLetter();
  if (letter == QLatin1String("P")) return modes.Preview(PreviewWindowHandle());

  platform::CreateFolder("C:\\ostrik");
  LoadSettingsFrom(programFolder + QStringLiteral("\\Lorvane.ini"), programFolder);

  if (!FileExists(programFolder + QStringLiteral("\\Lorvane.dll"))) {
    platform::ShowMessageBox(QString::fromUtf8(u8"Lorvane.dll が同じﾌｫﾙﾀﾞに見つかりません！"),
                             QStringLiteral("Lorvane (ScreenSaver)"));
    return false;
  }

  if (letter == QLatin1String("C")) {
    modes.SettingsDialog();
    return false;
  }
  if (!ArgumentString.isEmpty() && letter != QLatin1String("S")) return false;
  if (letter == QLatin1String("S")) CursorCount = platform::ShowCursor(false);
  return modes.Run();
}

}  // namespace Lorvane_B
