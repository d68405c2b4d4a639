#pragma once
// The button control Command: an owner-drawn push button. A two-colour vertical gradient fills it,
// a frame cut from one of six face pictures is stretched over it, and a caption sits on top. It
// follows hover, focus and presses with its own states, polls the pointer every 100 ms to notice
// that it has gone, and raises Click on a release.
#include <QFont>
#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "frontend/button/property_bag.h"

class QLabel;

class Command : public QWidget {
  Q_OBJECT

 public:
  enum class Face { Normal, HighLight, HighLightSelect, Selected, Pressed, Disable };

  // A fresh instance, or one restored from the host's stored properties.
  explicit Command(QWidget* parent = nullptr, const PropertyBag* stored = nullptr);

  // Starts the tracking: state 1 and the 100 ms pointer poll. Draws nothing.
  void Initialize();

  QString Caption() const;
  void SetCaption(const QString& New_Caption);
  // Reading Enabled redraws the face; the first read of a fresh instance also enables it.
  bool Enabled();
  void SetEnabled(bool New_Enabled);
  // Background style: 0 transparent (only the caption shows), anything else opaque (read as 255).
  uint8_t Visible();
  void SetVisible(uint8_t New_Visible);
  // Caption colour as 0x00BBGGRR.
  int32_t FontColour();
  void SetFontColour(int32_t New_FontColour);
  QFont Font() const;
  void SetFont(const QFont& New_Font);

  void UserControl_ReadProperties(const PropertyBag& PropBag);
  void UserControl_WriteProperties(PropertyBag& PropBag);

  // What the control holds, for its host and for tests.
  uint8_t GetState() const { return State; }
  bool GetMouseHeld() const { return MouseHeld; }
  int16_t GetGradientFlip() const { return GradientFlip; }
  // The persistent surface that the control shows while its background is opaque.
  const QImage& Surface() const { return surface_; }
  QLabel* CaptionLabel() const { return LblMsg; }

  // The face pictures, 64 x 25 pixels each.
  static const QImage& FacePicture(Face face);

 signals:
  void Click();
  // A property changed, so that the host may save the instance again.
  void PropertyChanged(const QString& name);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Button: 1 left, 2 right, 4 middle. Shift, X and Y are passed on but not used.
  void UserControl_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
  void UserControl_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
  void UserControl_MouseUp(int16_t Button, int16_t Shift, float X, float Y);
  void UserControl_GotFocus();
  void UserControl_LostFocus();
  void UserControl_Resize();
  void TmrMouse_Timer();

  void DrawFace(Face face);
  void DrawGradient();
  void EndHover();
  void RefreshEnabled();
  void ShowNormalFace();

  void ClearSurface();
  // Draws part of a picture into a rectangle of the surface, all in twips; a destination size
  // left empty means "the source size". Parts outside the picture or the surface are left out.
  void PaintPicture(const QImage& picture, int64_t x, int64_t y, std::optional<int64_t> width,
                    std::optional<int64_t> height, int64_t sourceX, int64_t sourceY,
                    int64_t sourceWidth, int64_t sourceHeight);
  void SetCaptionColour(int32_t colour);
  int32_t CaptionColour() const;

  QLabel* LblMsg;
  QTimer TmrMouse;
  QImage surface_;
  bool opaque_ = true;

  uint8_t State = 0;
  bool MouseHeld = false;
  bool IsEnabled = false;
  uint8_t FirstRun = 0;
  int16_t GradientFlip = 0;
  // Whether the keyboard focus is on this control within its window: a window that loses and
  // regains the activation keeps the focus where it was.
  bool focusInWindow_ = false;
};
