#pragma once
// Plain controls of the settings dialog that Qt has no exact match for.
#include <QImage>
#include <QWidget>

// A picture box that keeps what was drawn on it: its image is its background, and a paint
// request only shows it.
class PictureBox : public QWidget {
 public:
  explicit PictureBox(QWidget* parent, QColor backColour);
  // The persistent image, sized to the box (emptied to the back colour when the size changed).
  QImage& Image();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
  QColor backColour_;
};

// A rectangle shape: a one-pixel outline, transparent inside, deaf to the mouse.
class ShapeOutline : public QWidget {
 public:
  ShapeOutline(QWidget* parent, QColor colour);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_;
};
