#pragma once
// The front end's pictures live in its resources as ":/pictures/<file name>".
#include <QString>

namespace resources {

inline QString PicturePath(const QString& fileName) { return ":/pictures/" + fileName; }

}  // namespace resources
