#include "platform/base/text_cp932.h"

#include <iconv.h>

#include <cerrno>

namespace platform {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::optional<std::string> Convert(std::string_view in) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    char buffer[1024];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, sizeof buffer - dstLeft);
      if (rc == static_cast<size_t>(-1)) {
        if (errno != E2BIG) return std::nullopt;  // EILSEQ or EINVAL: not a text of that code page
      } else if (rc != 0) {
        return std::nullopt;  // an irreversible conversion would change the text
      }
    }
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return std::nullopt;
    out.append(buffer, sizeof buffer - dstLeft);
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::optional<std::string> Cp932FromUtf8(std::string_view utf8) {
  auto cp932 = Converter("CP932", "UTF-8").Convert(utf8);
  // Some characters fold onto others (U+00A5 becomes 0x5C, the backslash): only a text that
  // comes back unchanged was really held by the code page.
  if (!cp932 || Utf8FromCp932(*cp932) != utf8) return std::nullopt;
  return cp932;
}

std::optional<std::string> Utf8FromCp932(std::string_view cp932) {
  return Converter("UTF-8", "CP932").Convert(cp932);
}

}  // namespace platform
