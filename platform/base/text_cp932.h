#pragma once
// Code page 932 (the Japanese ANSI code page) <-> UTF-8, through the C library's iconv.
// A text that cannot be converted gives nullopt: nothing is silently replaced or dropped.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

std::optional<std::string> Cp932FromUtf8(std::string_view utf8);
std::optional<std::string> Utf8FromCp932(std::string_view cp932);

}  // namespace platform
