#pragma once
// The store in which a host keeps the properties of its control instances. Keys are matched
// without regard to case; a value equal to its default is not stored, and a missing key reads as
// the default given.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class PropertyBag {
 public:
  PropertyBag() = default;
  // A store filled by the host, e.g. {{"caption", "設定"}, {"font", QFont(...)}}.
  PropertyBag(std::initializer_list<std::pair<QString, QVariant>> values);

  QVariant ReadProperty(const QString& name, const QVariant& defaultValue) const;
  // Stores value under name, or drops the key when value equals defaultValue.
  void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue);
  // Stores value under name unconditionally (the host's own keys, such as the extents).
  void WriteProperty(const QString& name, const QVariant& value);

  bool Contains(const QString& name) const;
  // Stored keys in the order in which they were first written.
  QStringList Keys() const;

  // Whether a value equals a default: numbers compare by value, also against a text that holds a
  // number (so 1 equals "1" and True equals -1); texts compare exactly; fonts by every attribute.
  static bool SameValue(const QVariant& value, const QVariant& defaultValue);

 private:
  std::vector<std::pair<QString, QVariant>>::iterator Find(const QString& name);
  std::vector<std::pair<QString, QVariant>>::const_iterator Find(const QString& name) const;

  std::vector<std::pair<QString, QVariant>> values_;
};

// Conversions of stored values into the types of the properties; nullopt when the value does not
// convert (the property then keeps its previous value).
namespace property_conversion {

// A number, a Boolean (True is -1) or a text that holds a decimal number (blanks around it
// allowed).
std::optional<double> ToNumber(const QVariant& value);
std::optional<bool> ToBoolean(const QVariant& value);
std::optional<uint8_t> ToByte(const QVariant& value);
std::optional<int16_t> ToInt16(const QVariant& value);
std::optional<int32_t> ToInt32(const QVariant& value);
std::optional<QString> ToText(const QVariant& value);

}  // namespace property_conversion
