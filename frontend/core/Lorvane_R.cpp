#include "frontend/core/Lorvane_R.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPalette>
#include <QPixmap>

#include "frontend/resources/pictures.h"

Lorvane_R::Lorvane_R() : Img_Prev(this) {
  setWindowTitle(QStringLiteral("Preview Window"));
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  setAutoFillBackground(true);

  Img_Prev.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Img_Prev.setScaledContents(false);
  Img_Prev.setPixmap(QPixmap(resources::PicturePath(QStringLiteral("star_preview.png"))));
}

Lorvane_R::~Lorvane_R() = default;

bool Lorvane_R::Setup(uint32_t previewWindow) {
  // 1, 2. The preview window's size. It is kept in pixels, the form's own unit: sizes in twips
  // would not fit 16 bits beyond 2184 pixels.
  auto size = platform::ForeignWindowSize(previewWindow);
  if (!size) return false;
  // 3 to 5. A child of the preview window (which makes it borderless there, outside any window
  // manager). Failing that, the form would stand alone on the desktop: show nothing instead.
  if (!platform::SetParentWindow(*this, previewWindow)) return false;
  // Qt is never told when the parent dies and takes this window with it.
  destroyedWatch_ = std::make_unique<platform::WindowDestroyedWatch>(
      static_cast<uint32_t>(winId()), [this] { Form_Unload(); });
  // 6, 7. Over the whole preview area, the picture control too.
  setGeometry(0, 0, size->width(), size->height());
  Img_Prev.setGeometry(0, 0, size->width(), size->height());
  // 8.
  show();
  return true;
}

void Lorvane_R::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  // With its last form gone, the program ends.
  QCoreApplication::exit(0);
}

void Lorvane_R::closeEvent(QCloseEvent* event) {
  event->accept();
  Form_Unload();
}
