#include "frontend/button/property_bag.h"

#include <QFont>
#include <QRegularExpression>
#include <cmath>
#include <limits>

PropertyBag::PropertyBag(std::initializer_list<std::pair<QString, QVariant>> values) {
  for (const auto& [name, value] : values) WriteProperty(name, value);
}

std::vector<std::pair<QString, QVariant>>::iterator PropertyBag::Find(const QString& name) {
  for (auto it = values_.begin(); it != values_.end(); ++it) {
    if (it->first.compare(name, Qt::CaseInsensitive) == 0) return it;
  }
  return values_.end();
}

std::vector<std::pair<QString, QVariant>>::const_iterator PropertyBag::Find(
    const QString& name) const {
  for (auto it = values_.begin(); it != values_.end(); ++it) {
    if (it->first.compare(name, Qt::CaseInsensitive) == 0) return it;
  }
  return values_.end();
}

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const {
  auto it = Find(name);
  return it == values_.end() ? defaultValue : it->second;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value,
                                const QVariant& defaultValue) {
  if (SameValue(value, defaultValue)) {
    auto it = Find(name);
    if (it != values_.end()) values_.erase(it);
    return;
  }
  WriteProperty(name, value);
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value) {
  auto it = Find(name);
  if (it != values_.end()) {
    it->second = value;
  } else {
    values_.emplace_back(name, value);
  }
}

bool PropertyBag::Contains(const QString& name) const { return Find(name) != values_.end(); }

QStringList PropertyBag::Keys() const {
  QStringList keys;
  for (const auto& entry : values_) keys << entry.first;
  return keys;
}

namespace {

bool IsText(const QVariant& v) { return v.typeId() == QMetaType::QString; }
bool IsFont(const QVariant& v) { return v.typeId() == QMetaType::QFont; }

}  // namespace

bool PropertyBag::SameValue(const QVariant& value, const QVariant& defaultValue) {
  if (IsFont(value) || IsFont(defaultValue)) {
    return IsFont(value) && IsFont(defaultValue) &&
           value.value<QFont>() == defaultValue.value<QFont>();
  }
  if (IsText(value) && IsText(defaultValue)) return value.toString() == defaultValue.toString();
  auto a = property_conversion::ToNumber(value);
  auto b = property_conversion::ToNumber(defaultValue);
  return a && b && *a == *b;
}

namespace property_conversion {

std::optional<double> ToNumber(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Bool:
      return value.toBool() ? -1.0 : 0.0;
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
      return value.toDouble();
    case QMetaType::QString: {
      static const QRegularExpression number(QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)\s*$)"));
      const QString text = value.toString();
      if (!number.match(text).hasMatch()) return std::nullopt;
      bool ok = false;
      double d = text.trimmed().toDouble(&ok);
      if (!ok || !std::isfinite(d)) return std::nullopt;
      return d;
    }
    default:
      return std::nullopt;
  }
}

std::optional<bool> ToBoolean(const QVariant& value) {
  if (IsText(value)) {
    const QString text = value.toString().trimmed();
    if (text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) return true;
    if (text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) return false;
  }
  auto n = ToNumber(value);
  if (!n) return std::nullopt;
  return *n != 0.0;
}

namespace {

// Rounds to the nearest whole number, halves to even, and checks the range.
template <typename T>
std::optional<T> ToWhole(const QVariant& value) {
  auto n = ToNumber(value);
  if (!n) return std::nullopt;
  const double r = std::nearbyint(*n);
  if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
      r > static_cast<double>(std::numeric_limits<T>::max())) {
    return std::nullopt;
  }
  return static_cast<T>(r);
}

}  // namespace

std::optional<uint8_t> ToByte(const QVariant& value) { return ToWhole<uint8_t>(value); }
std::optional<int16_t> ToInt16(const QVariant& value) { return ToWhole<int16_t>(value); }
std::optional<int32_t> ToInt32(const QVariant& value) { return ToWhole<int32_t>(value); }

std::optional<QString> ToText(const QVariant& value) {
  if (IsText(value)) return value.toString();
  if (value.typeId() == QMetaType::Bool) {
    return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
  }
  auto n = ToNumber(value);
  if (!n) return std::nullopt;
  return QString::number(*n, 'g', 15);
}

}  // namespace property_conversion
