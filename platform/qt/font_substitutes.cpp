#include "platform/qt/font_substitutes.h"

#include <QFont>
#include <QString>

namespace platform {

void InstallFontSubstitutes() {
  static const bool installed = [] {
    // IPAPGothic and IPAGothic (fonts-ipafont-gothic) are drawn to the proportional and the
    // fixed-pitch Windows Gothic faces' metrics.
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"));
    return true;
  }();
  (void)installed;
}

}  // namespace platform
