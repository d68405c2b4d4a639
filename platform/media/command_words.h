#pragma once
// Splitting a command string into words. A word in double quotes may hold spaces; it must be
// followed by a space or the end, and a word without quotes may hold none. So a quote inside a
// quoted path never turns the rest of the path into further words: the command is malformed.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct CommandWord {
  std::string text;
  bool quoted = false;
};

std::optional<std::vector<CommandWord>> SplitCommand(std::string_view command);
// ASCII case-insensitive comparison, as command words and names are matched.
bool SameWord(std::string_view a, std::string_view b);
std::string LowerWord(std::string_view word);

}  // namespace platform
