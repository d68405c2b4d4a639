#pragma once
// Profile (INI) files read and written key by key, with the rules of the Windows profile
// functions: section and key names match without regard to case, blanks around names and values
// are dropped, a value in matching quotes loses them, and the first of duplicate keys wins.
// All text is code page 932 bytes; a double-byte character is never split or misread.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Profile files larger than this are treated as unreadable.
inline constexpr size_t kMaxProfileBytes = 16 * 1024 * 1024;

// The value of key in section of the profile text, or empty when the section or key is missing.
// Like a C buffer of bufferSize bytes: the value ends at its first NUL and keeps at most
// bufferSize - 1 bytes, cut before a double-byte character that would not fit whole.
std::string ProfileValue(std::string_view contents, std::string_view section,
                         std::string_view key, size_t bufferSize);

// The profile text with key set to value: the key's line replaced in place, or a new line at the
// end of its section, or a new section at the end of the text. Every other byte is kept; the
// lines written end with CR LF. nullopt for names or a value that a profile line cannot hold
// (an empty key, a line break, a NUL, "]" in a section name, "=" in a key name).
std::optional<std::string> WithProfileValue(std::string_view contents, std::string_view section,
                                            std::string_view key, std::string_view value);

// GetPrivateProfileStringA with an empty default: the value from the file at windowsPath, or
// empty when the file cannot be read.
std::string ReadProfileString(std::string_view section, std::string_view key,
                              std::string_view windowsPath, size_t bufferSize = 256);

// WritePrivateProfileStringA: sets one key, creating the file and the section when missing.
// The file is replaced atomically; on failure (an existing file that cannot be read, a folder
// that cannot be written, names that cannot be stored) the old file stays as it was.
bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view windowsPath);

}  // namespace platform
