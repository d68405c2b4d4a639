#include "platform/base/profile.h"

#include <sys/stat.h>

#include <cerrno>
#include <vector>

#include "platform/base/drives.h"
#include "platform/base/files.h"

namespace platform {
namespace {

bool IsLeadByte(char c) {
  auto b = static_cast<unsigned char>(c);
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length of the character that starts at i: two for a lead byte with its trail, else one.
size_t CharLength(std::string_view text, size_t i) {
  return IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
}

// Position of an ASCII byte that stands as a character of its own, not as the trail byte of a
// double-byte character ("]" and "\" are possible trail bytes).
size_t FindChar(std::string_view text, char wanted) {
  for (size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    if (text[i] == wanted) return i;
  }
  return std::string_view::npos;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Names compare without regard to the case of ASCII letters; double-byte characters compare
// exactly, so a trail byte that happens to be a letter is never folded.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size();) {
    size_t length = CharLength(a, i);
    if (length == 2) {
      if (a.substr(i, 2) != b.substr(i, 2)) return false;
    } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
    i += length;
  }
  return true;
}

// One line of the text: [begin, contentEnd) without its line end, [begin, end) with it.
// CR LF, LF and a lone CR each end a line.
struct Line {
  size_t begin = 0;
  size_t contentEnd = 0;
  size_t end = 0;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t stop = text.find_first_of("\r\n", begin);
    Line line;
    line.begin = begin;
    if (stop == std::string_view::npos) {
      line.contentEnd = line.end = text.size();
    } else {
      line.contentEnd = stop;
      line.end = stop + 1;
      if (text[stop] == '\r' && line.end < text.size() && text[line.end] == '\n') ++line.end;
    }
    lines.push_back(line);
    begin = line.end;
  }
  return lines;
}

enum class Kind { kOther, kSection, kKey };

struct Parsed {
  Kind kind = Kind::kOther;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key value, trimmed, quotes kept
};

Parsed Parse(std::string_view content) {
  std::string_view line = Trim(content);
  Parsed parsed;
  if (line.empty() || line.front() == ';') return parsed;
  if (line.front() == '[') {
    // A header without its closing bracket is no header: the line is kept as it is.
    size_t close = FindChar(line, ']');
    if (close == std::string_view::npos) return parsed;
    parsed.kind = Kind::kSection;
    parsed.name = Trim(line.substr(1, close - 1));
    return parsed;
  }
  size_t equals = FindChar(line, '=');
  if (equals == std::string_view::npos) return parsed;
  parsed.kind = Kind::kKey;
  parsed.name = Trim(line.substr(0, equals));
  parsed.value = Trim(line.substr(equals + 1));
  return parsed;
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// Where the key is, or where a new key of the section would go.
struct Location {
  std::optional<size_t> keyLine;      // index of the key's line
  std::optional<size_t> sectionLast;  // index of the first matching section's last entry
};

Location Locate(std::string_view text, const std::vector<Line>& lines, std::string_view section,
                std::string_view key) {
  Location where;
  bool inSection = false;
  bool inFirstSection = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view content = text.substr(lines[i].begin, lines[i].contentEnd - lines[i].begin);
    Parsed parsed = Parse(content);
    if (parsed.kind == Kind::kSection) {
      inSection = SameName(parsed.name, section);
      inFirstSection = inSection && !where.sectionLast;
      if (inFirstSection) where.sectionLast = i;
      continue;
    }
    // A comment at the end of a section may well belong to the next one: a new key goes after
    // the section's last line that is neither blank nor a comment.
    std::string_view trimmed = Trim(content);
    if (inFirstSection && !trimmed.empty() && trimmed.front() != ';') where.sectionLast = i;
    if (inSection && parsed.kind == Kind::kKey && SameName(parsed.name, key)) {
      where.keyLine = i;
      return where;
    }
  }
  return where;
}

bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool EndsWithLineEnd(std::string_view text) {
  return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

}  // namespace

std::string ProfileValue(std::string_view contents, std::string_view section,
                         std::string_view key, size_t bufferSize) {
  if (bufferSize == 0) return {};
  section = Trim(section);
  key = Trim(key);
  std::vector<Line> lines = SplitLines(contents);
  Location where = Locate(contents, lines, section, key);
  if (!where.keyLine) return {};
  const Line& line = lines[*where.keyLine];
  std::string_view value =
      Unquoted(Parse(contents.substr(line.begin, line.contentEnd - line.begin)).value);
  value = value.substr(0, value.find('\0'));
  size_t kept = 0;
  while (kept < value.size()) {
    size_t length = CharLength(value, kept);
    if (kept + length > bufferSize - 1) break;
    kept += length;
  }
  return std::string(value.substr(0, kept));
}

std::optional<std::string> WithProfileValue(std::string_view contents, std::string_view section,
                                            std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  if (key.empty() || HasLineBreakOrNul(section) || HasLineBreakOrNul(key) ||
      HasLineBreakOrNul(value) || FindChar(section, ']') != std::string_view::npos ||
      FindChar(key, '=') != std::string_view::npos || key.front() == '[' || key.front() == ';')
    return std::nullopt;

  std::string keyLine = std::string(key) + "=" + std::string(value) + "\r\n";
  std::vector<Line> lines = SplitLines(contents);
  Location where = Locate(contents, lines, section, key);
  std::string result;
  if (where.keyLine) {
    const Line& line = lines[*where.keyLine];
    result.append(contents.substr(0, line.begin));
    result.append(keyLine);
    result.append(contents.substr(line.end));
  } else if (where.sectionLast) {
    const Line& line = lines[*where.sectionLast];
    result.append(contents.substr(0, line.end));
    if (line.end == line.contentEnd) result.append("\r\n");  // the text's last line had no end
    result.append(keyLine);
    result.append(contents.substr(line.end));
  } else {
    result.append(contents);
    if (!contents.empty() && !EndsWithLineEnd(contents)) result.append("\r\n");
    result.append("[").append(section).append("]\r\n").append(keyLine);
  }
  return result;
}

std::string ReadProfileString(std::string_view section, std::string_view key,
                              std::string_view windowsPath, size_t bufferSize) {
  auto contents = ReadWholeFile(windowsPath, kMaxProfileBytes);
  if (!contents) return {};
  return ProfileValue(*contents, section, key, bufferSize);
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view windowsPath) {
  auto path = LinuxPathOf(windowsPath);
  if (!path) return false;
  std::string contents;
  struct stat st {};
  if (lstat(path->c_str(), &st) == 0) {
    // An existing file that cannot be read is never replaced by one holding only this key.
    auto old = ReadWholeFile(windowsPath, kMaxProfileBytes);
    if (!old) return false;
    contents = std::move(*old);
  } else if (errno != ENOENT) {
    return false;
  }
  auto updated = WithProfileValue(contents, section, key, value);
  return updated && ReplaceFile(windowsPath, *updated);
}

}  // namespace platform
