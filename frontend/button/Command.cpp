#include "frontend/button/Command.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

#include "frontend/resources/pictures.h"
#include "platform/qt/font_substitutes.h"
#include "platform/qt/widget_under_pointer.h"

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kFrame = 60;           // frame thickness, 4 pixels
constexpr int kCaptionHeight = 195;  // the caption label's fixed height, 13 pixels
constexpr QRgb kBackColour = 0xECE9D8;
// The gradient's colours as colour texts: red, green, blue from the left.
const QString kLightColour = QStringLiteral("&HFFFFFF");
const QString kDarkColour = QStringLiteral("&HC6C5D7");

// Twips to whole pixels, to the nearest (the 1-twip offsets of the frame land on pixel 0).
int64_t Px(int64_t twips) {
  return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                    : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

// A colour text "&HRRGGBB" as three 16-bit components, each holding its 8-bit value in the high
// byte ("C6" gives C600).
std::optional<std::array<uint32_t, 3>> ParseColourText(const QString& text) {
  if (!text.startsWith(QStringLiteral("&H")) || text.size() != 8) return std::nullopt;
  const QString digits = text.mid(2);
  std::array<uint32_t, 3> components{};
  for (int i = 0; i < 3; ++i) {
    bool ok = false;
    components[i] = (digits.mid(i * 2, 2) + QStringLiteral("00")).toUInt(&ok, 16);
    if (!ok) return std::nullopt;
  }
  return components;
}

QColor FromBgr(int32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

int32_t ToBgr(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

int16_t ButtonCode(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return 1;
    case Qt::RightButton:
      return 2;
    case Qt::MiddleButton:
      return 4;
    default:
      return 0;
  }
}

int16_t ButtonsCode(Qt::MouseButtons buttons) {
  int16_t code = 0;
  if (buttons & Qt::LeftButton) code |= 1;
  if (buttons & Qt::RightButton) code |= 2;
  if (buttons & Qt::MiddleButton) code |= 4;
  return code;
}

int16_t ShiftCode(Qt::KeyboardModifiers modifiers) {
  int16_t code = 0;
  if (modifiers & Qt::ShiftModifier) code |= 1;
  if (modifiers & Qt::ControlModifier) code |= 2;
  if (modifiers & Qt::AltModifier) code |= 4;
  return code;
}

QFont DesignFont() {
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPointSizeF(9.75);
  font.setWeight(QFont::Normal);
  return font;
}

}  // namespace

const QImage& Command::FacePicture(Face face) {
  static const std::array<QImage, 6> pictures = [] {
    const char* names[] = {"face_normal.png",   "face_highlight.png", "face_highlightselect.png",
                           "face_selected.png", "face_pressed.png",   "face_disable.png"};
    std::array<QImage, 6> loaded;
    for (size_t i = 0; i < loaded.size(); ++i) {
      loaded[i] = QImage(resources::PicturePath(QString::fromLatin1(names[i])))
                      .convertToFormat(QImage::Format_RGB32);
    }
    return loaded;
  }();
  return pictures[static_cast<size_t>(face)];
}

Command::Command(QWidget* parent, const PropertyBag* stored) : QWidget(parent), TmrMouse(this) {
  platform::InstallFontSubstitutes();
  // The Tab key and a left press give the focus (see mousePressEvent); the other buttons do not.
  setFocusPolicy(Qt::TabFocus);
  setMouseTracking(true);

  // The caption lets the mouse through: the pointer over it is over the control, and its
  // presses, moves and releases reach the control's own handlers.
  LblMsg = new QLabel(QStringLiteral("Command"), this);
  LblMsg->setAttribute(Qt::WA_TransparentForMouseEvents);
  LblMsg->setTextFormat(Qt::PlainText);
  LblMsg->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  LblMsg->setWordWrap(true);
  LblMsg->setFont(DesignFont());
  LblMsg->setGeometry(0, 90 / kTwipsPerPixel, 1635 / kTwipsPerPixel,
                      kCaptionHeight / kTwipsPerPixel);
  SetCaptionColour(0);

  TmrMouse.setObjectName(QStringLiteral("TmrMouse"));
  TmrMouse.stop();
  TmrMouse.setInterval(100);
  connect(&TmrMouse, &QTimer::timeout, this, &Command::TmrMouse_Timer);

  resize(1755 / kTwipsPerPixel, 420 / kTwipsPerPixel);
  if (stored) UserControl_ReadProperties(*stored);
}

void Command::Initialize() {
  State = 1;
  TmrMouse.setInterval(100);
  TmrMouse.start();
}

// ---- Drawing ----

void Command::ClearSurface() {
  if (surface_.size() != size()) surface_ = QImage(size(), QImage::Format_RGB32);
  if (!surface_.isNull()) surface_.fill(kBackColour);
}

void Command::PaintPicture(const QImage& picture, int64_t x, int64_t y,
                           std::optional<int64_t> width, std::optional<int64_t> height,
                           int64_t sourceX, int64_t sourceY, int64_t sourceWidth,
                           int64_t sourceHeight) {
  if (surface_.isNull() || picture.isNull()) return;
  int64_t dx = Px(x), dy = Px(y);
  int64_t sx = Px(sourceX), sy = Px(sourceY), sw = Px(sourceWidth), sh = Px(sourceHeight);
  int64_t dw = width ? Px(*width) : sw;
  int64_t dh = height ? Px(*height) : sh;
  // A negative or empty size draws nothing (sizes below the two corners).
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;

  // Only the part inside the picture is drawn, onto the matching part of the destination.
  const int64_t cutLeft = std::max<int64_t>(0, -sx);
  const int64_t cutTop = std::max<int64_t>(0, -sy);
  const int64_t cutRight = std::max<int64_t>(0, sx + sw - picture.width());
  const int64_t cutBottom = std::max<int64_t>(0, sy + sh - picture.height());
  if (cutLeft + cutRight >= sw || cutTop + cutBottom >= sh) return;
  const int64_t dLeft = cutLeft * dw / sw, dRight = cutRight * dw / sw;
  const int64_t dTop = cutTop * dh / sh, dBottom = cutBottom * dh / sh;
  dx += dLeft;
  dw -= dLeft + dRight;
  dy += dTop;
  dh -= dTop + dBottom;
  sx += cutLeft;
  sw -= cutLeft + cutRight;
  sy += cutTop;
  sh -= cutTop + cutBottom;
  if (dw <= 0 || dh <= 0) return;

  // The surface clips the rest; coordinates that a painter cannot take are left out.
  constexpr int64_t kLimit = std::numeric_limits<int>::max() / 2;
  if (std::abs(dx) > kLimit || std::abs(dy) > kLimit || dw > kLimit || dh > kLimit) return;
  QPainter painter(&surface_);
  painter.drawImage(
      QRect(static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(dw), static_cast<int>(dh)),
      picture,
      QRect(static_cast<int>(sx), static_cast<int>(sy), static_cast<int>(sw),
            static_cast<int>(sh)));
}

void Command::DrawGradient() {
  const QString& topText = GradientFlip == 0 ? kLightColour : kDarkColour;
  const QString& bottomText = GradientFlip == 0 ? kDarkColour : kLightColour;
  const auto top = ParseColourText(topText);
  const auto bottom = ParseColourText(bottomText);
  if (!top || !bottom || surface_.isNull()) return;

  // The fill spans vertex 0 at (0, 0) to vertex 1 at (width - 1, height - 1), right and bottom
  // edges excluded; row y takes the colour a y-th of the way from the top to the vertex 1 row.
  const int64_t right = surface_.width() - 1;
  const int64_t bottomRow = surface_.height() - 1;
  if (right <= 0 || bottomRow <= 0) return;
  QPainter painter(&surface_);
  for (int64_t y = 0; y < bottomRow; ++y) {
    int channel[3];
    for (int i = 0; i < 3; ++i) {
      const int64_t a = (*top)[i], b = (*bottom)[i];
      channel[i] = static_cast<int>((a + (b - a) * y / bottomRow) >> 8);
    }
    painter.fillRect(QRect(0, static_cast<int>(y), static_cast<int>(right), 1),
                     QColor(channel[0], channel[1], channel[2]));
  }
}

void Command::DrawFace(Face face) {
  if (State == 1) {
    GradientFlip = 0;
  } else if (State == 2) {
    GradientFlip = -1;
  } else if (State == 3) {
    GradientFlip = 0;
  }
  // Geometry in twips; wider than 16 bits, so very large controls draw like any other.
  const int64_t W = static_cast<int64_t>(width()) * kTwipsPerPixel;
  const int64_t H = static_cast<int64_t>(height()) * kTwipsPerPixel;
  ClearSurface();
  DrawGradient();

  const QImage& picture = FacePicture(face);
  const std::optional<int64_t> same;
  PaintPicture(picture, 1, 1, same, same, 0, 0, kFrame, kFrame);               // top left
  PaintPicture(picture, kFrame, 1, W - 2 * kFrame, same, 60, 1, 840, kFrame);  // top
  PaintPicture(picture, W - kFrame, 1, same, same, 900, 1, kFrame, kFrame);    // top right
  PaintPicture(picture, W - kFrame, kFrame, same, H - 2 * kFrame, 900, 60, kFrame, 255);  // right
  // The source runs 45 twips past the picture's bottom and the destination past the control's;
  // what is inside both is the picture's bottom-right corner at 1:1.
  PaintPicture(picture, W - kFrame, H - kFrame, same, same, 900, 315, kFrame, 105);  // bottom right
  PaintPicture(picture, kFrame, H - kFrame, W - 2 * kFrame, same, 60, 315, 840, kFrame);  // bottom
  PaintPicture(picture, 1, H - kFrame, same, same, 0, 315, kFrame, kFrame);    // bottom left
  PaintPicture(picture, 1, kFrame, same, H - 2 * kFrame, 1, 60, kFrame, 255);  // left
  update();

  const double top = static_cast<double>(H - kCaptionHeight - 20) / 2.0;
  LblMsg->setGeometry(0, static_cast<int>(std::lround(top / kTwipsPerPixel)), width(),
                      LblMsg->height());
}

void Command::paintEvent(QPaintEvent*) {
  // The face lives in the surface; a paint request only copies it.
  if (!opaque_ || surface_.isNull()) return;
  QPainter painter(this);
  painter.drawImage(0, 0, surface_);
}

// ---- States and the pointer ----

void Command::UserControl_MouseDown(int16_t Button, int16_t, float, float) {
  if (!IsEnabled) return;
  if (Button == 1) {
    MouseHeld = true;
    DrawFace(Face::Pressed);
  }
}

void Command::UserControl_MouseMove(int16_t, int16_t, float, float) {
  if (!IsEnabled) return;
  if (State == 1) {
    State = 2;
    DrawFace(Face::HighLight);
  } else if (State == 3 && !MouseHeld) {
    State = 4;
    DrawFace(Face::HighLightSelect);
  }
}

void Command::UserControl_MouseUp(int16_t Button, int16_t, float, float) {
  if (!IsEnabled) return;
  if (Button == 1) {
    MouseHeld = false;
    if (State == 2) {
      DrawFace(Face::Normal);
    } else if (State == 4) {
      DrawFace(Face::HighLightSelect);
    }
  }
  // A release after dragging off the focused control (state 3 by then) is no click.
  if (State != 3 && IsEnabled) emit Click();
}

void Command::UserControl_GotFocus() {
  if (!IsEnabled) return;
  if (State != 2) {
    State = 3;
    DrawFace(Face::Selected);
  } else {
    State = 4;
    DrawFace(Face::Pressed);
  }
}

void Command::UserControl_LostFocus() {
  if (!IsEnabled) return;
  if (State != 1) {
    State = 1;
    DrawFace(Face::Normal);
  }
}

void Command::UserControl_Resize() { RefreshEnabled(); }

void Command::TmrMouse_Timer() {
  // Over the host form, or over anything that is not this control (its caption counts as the
  // control), the hover ends.
  QWidget* under = platform::WidgetUnderPointer();
  if (under == window()) {
    EndHover();
  } else if (under != this) {
    EndHover();
  }
}

void Command::EndHover() {
  if (!IsEnabled) return;
  if (State == 2) {
    State = 1;
    DrawFace(Face::Normal);
  } else if (State == 4) {
    State = 3;
    DrawFace(Face::Selected);
  }
}

void Command::RefreshEnabled() {
  if (IsEnabled) {
    DrawFace(Face::Normal);
    LblMsg->setEnabled(true);
  } else {
    DrawFace(Face::Disable);
    LblMsg->setEnabled(false);
  }
}

void Command::resizeEvent(QResizeEvent*) { UserControl_Resize(); }

void Command::mousePressEvent(QMouseEvent* event) {
  // Like a push button, the control takes the focus on a left press, before handling the press;
  // a host that sets Qt::NoFocus keeps it from ever taking the focus.
  if (event->button() == Qt::LeftButton && (focusPolicy() & Qt::TabFocus) && !hasFocus()) {
    setFocus(Qt::MouseFocusReason);
  }
  const QPointF p = event->position() * kTwipsPerPixel;
  UserControl_MouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()),
                        static_cast<float>(p.x()), static_cast<float>(p.y()));
}

// The second press of a double click is a press like any other.
void Command::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void Command::mouseMoveEvent(QMouseEvent* event) {
  const QPointF p = event->position() * kTwipsPerPixel;
  UserControl_MouseMove(ButtonsCode(event->buttons()), ShiftCode(event->modifiers()),
                        static_cast<float>(p.x()), static_cast<float>(p.y()));
}

void Command::mouseReleaseEvent(QMouseEvent* event) {
  // Only the three buttons that the control knows release it; the others are not its business.
  const int16_t button = ButtonCode(event->button());
  if (button == 0) return;
  const QPointF p = event->position() * kTwipsPerPixel;
  UserControl_MouseUp(button, ShiftCode(event->modifiers()), static_cast<float>(p.x()),
                      static_cast<float>(p.y()));
}

void Command::focusInEvent(QFocusEvent* event) {
  // The window coming back to the front returns the focus it had; that is no new focus.
  if (event->reason() == Qt::ActiveWindowFocusReason && focusInWindow_) return;
  focusInWindow_ = true;
  UserControl_GotFocus();
}

void Command::focusOutEvent(QFocusEvent* event) {
  // Another window or a pop-up taking the activation leaves the focus on this control.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) {
    return;
  }
  focusInWindow_ = false;
  UserControl_LostFocus();
}

// ---- Properties ----

void Command::SetCaptionColour(int32_t colour) {
  QPalette palette = LblMsg->palette();
  palette.setColor(QPalette::Active, QPalette::WindowText, FromBgr(colour));
  palette.setColor(QPalette::Inactive, QPalette::WindowText, FromBgr(colour));
  LblMsg->setPalette(palette);
}

int32_t Command::CaptionColour() const {
  return ToBgr(LblMsg->palette().color(QPalette::Active, QPalette::WindowText));
}

void Command::ShowNormalFace() {
  if (!IsEnabled) return;
  LblMsg->setEnabled(true);
  if (FirstRun == 0) SetCaptionColour(0);
  DrawFace(Face::Normal);
}

QString Command::Caption() const { return LblMsg->text(); }

void Command::SetCaption(const QString& New_Caption) {
  LblMsg->setText(New_Caption);
  emit PropertyChanged(QStringLiteral("Caption"));
}

bool Command::Enabled() {
  // A fresh instance has no handler of its own for its creation: its first read enables it.
  if (FirstRun == 0) {
    ShowNormalFace();
    FirstRun = 1;
    IsEnabled = true;
  }
  const bool result = IsEnabled;
  RefreshEnabled();
  return result;
}

void Command::SetEnabled(bool New_Enabled) {
  IsEnabled = New_Enabled;
  emit PropertyChanged(QStringLiteral("Enabled"));
  RefreshEnabled();
}

uint8_t Command::Visible() {
  if (!opaque_) return 0;
  ShowNormalFace();
  return 255;
}

void Command::SetVisible(uint8_t New_Visible) {
  if (New_Visible == 0) {
    opaque_ = false;
    update();
  } else {
    opaque_ = true;
    ShowNormalFace();
    update();
  }
  emit PropertyChanged(QStringLiteral("Visible"));
}

int32_t Command::FontColour() {
  const int32_t colour = CaptionColour();
  ShowNormalFace();
  return colour;
}

void Command::SetFontColour(int32_t New_FontColour) {
  SetCaptionColour(New_FontColour);
  ShowNormalFace();
  emit PropertyChanged(QStringLiteral("FontColour"));
}

QFont Command::Font() const { return LblMsg->font(); }

void Command::SetFont(const QFont& New_Font) {
  LblMsg->setFont(New_Font);
  emit PropertyChanged(QStringLiteral("Font"));
}

namespace {

QFont AmbientFont(const QWidget* control) {
  return control->parentWidget() ? control->parentWidget()->font() : QApplication::font();
}

}  // namespace

void Command::UserControl_ReadProperties(const PropertyBag& PropBag) {
  using namespace property_conversion;
  // Each key is restored on its own; a value that does not convert leaves the property as it was.
  if (auto v = ToBoolean(PropBag.ReadProperty(QStringLiteral("Enabled"), true))) IsEnabled = *v;
  // Read with the same default it is written with, so that the caption "Command" survives a save
  // and a load.
  if (auto v = ToText(PropBag.ReadProperty(QStringLiteral("Caption"), QStringLiteral("Command")))) {
    LblMsg->setText(*v);
  }
  const QVariant font = PropBag.ReadProperty(QStringLiteral("Font"), AmbientFont(this));
  if (font.typeId() == QMetaType::QFont) LblMsg->setFont(font.value<QFont>());
  if (auto v = ToByte(PropBag.ReadProperty(QStringLiteral("FirstRun"), QStringLiteral("1")))) {
    FirstRun = *v;
  }
  if (auto v = ToInt32(PropBag.ReadProperty(QStringLiteral("FontColour"), QStringLiteral("0")))) {
    SetCaptionColour(*v);
  }
  if (auto v = ToInt16(PropBag.ReadProperty(QStringLiteral("Visible"), QStringLiteral("1")))) {
    opaque_ = *v != 0;
  }
  ShowNormalFace();
}

void Command::UserControl_WriteProperties(PropertyBag& PropBag) {
  PropBag.WriteProperty(QStringLiteral("Enabled"), IsEnabled, true);
  PropBag.WriteProperty(QStringLiteral("Caption"), LblMsg->text(), QStringLiteral("Command"));
  PropBag.WriteProperty(QStringLiteral("FirstRun"), FirstRun, QStringLiteral("1"));
  PropBag.WriteProperty(QStringLiteral("Font"), LblMsg->font(), AmbientFont(this));
  PropBag.WriteProperty(QStringLiteral("FontColour"), CaptionColour(), QStringLiteral("0"));
  PropBag.WriteProperty(QStringLiteral("Visible"), static_cast<int16_t>(opaque_ ? 1 : 0),
                        QStringLiteral("1"));
  ShowNormalFace();
}
