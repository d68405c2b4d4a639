#include "platform/qt/text.h"

#include "platform/base/text_cp932.h"

namespace platform {

std::optional<QByteArray> ToAnsi(const QString& text) {
  // A lone surrogate has no UTF-8 form; toUtf8 would replace it, so refuse it here.
  for (qsizetype i = 0; i < text.size(); ++i) {
    QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      ++i;
    } else if (c.isSurrogate()) {
      return std::nullopt;
    }
  }
  QByteArray utf8 = text.toUtf8();
  auto cp932 = Cp932FromUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
  if (!cp932) return std::nullopt;
  return QByteArray(cp932->data(), static_cast<qsizetype>(cp932->size()));
}

std::optional<QString> FromAnsi(const QByteArray& cp932) {
  auto utf8 = Utf8FromCp932(std::string_view(cp932.constData(), static_cast<size_t>(cp932.size())));
  if (!utf8) return std::nullopt;
  return QString::fromUtf8(utf8->data(), static_cast<qsizetype>(utf8->size()));
}

}  // namespace platform
