#include "frontend/dialog/controls.h"

#include <QPainter>

PictureBox::PictureBox(QWidget* parent, QColor backColour)
    : QWidget(parent), backColour_(backColour) {}

QImage& PictureBox::Image() {
  if (image_.size() != size()) {
    image_ = QImage(size(), QImage::Format_RGB32);
    if (!image_.isNull()) image_.fill(backColour_);
  }
  return image_;
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QImage& image = Image();
  if (image.isNull()) return;
  painter.drawImage(0, 0, image);
}

ShapeOutline::ShapeOutline(QWidget* parent, QColor colour) : QWidget(parent), colour_(colour) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeOutline::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(colour_);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
