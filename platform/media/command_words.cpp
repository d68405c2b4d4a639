#include "platform/media/command_words.h"

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

// Code page 932 trail bytes never take the values of a space or a double quote, so scanning
// bytes is safe.
std::optional<std::vector<CommandWord>> SplitCommand(std::string_view command) {
  std::vector<CommandWord> words;
  std::size_t i = 0;
  while (true) {
    while (i < command.size() && IsBlank(command[i])) ++i;
    if (i >= command.size()) break;
    CommandWord word;
    if (command[i] == '"') {
      std::size_t close = command.find('"', i + 1);
      if (close == std::string_view::npos) return std::nullopt;
      if (close + 1 < command.size() && !IsBlank(command[close + 1])) return std::nullopt;
      word.text = std::string(command.substr(i + 1, close - i - 1));
      word.quoted = true;
      i = close + 1;
    } else {
      std::size_t end = i;
      while (end < command.size() && !IsBlank(command[end])) {
        if (command[end] == '"' || command[end] == '\0') return std::nullopt;
        ++end;
      }
      word.text = std::string(command.substr(i, end - i));
      i = end;
    }
    words.push_back(std::move(word));
  }
  return words;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string LowerWord(std::string_view word) {
  std::string lower(word);
  for (char& c : lower) c = Lower(c);
  return lower;
}

}  // namespace platform
