#pragma once
// Text at the boundary of the "A" functions: the front end's QString <-> code page 932 bytes.
// nullopt when the text has no form in the other encoding; nothing is silently replaced.
#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

std::optional<QByteArray> ToAnsi(const QString& text);
std::optional<QString> FromAnsi(const QByteArray& cp932);

}  // namespace platform
