#include "frontend/dialog/Lorvane_P.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <limits>

#include "frontend/button/Command.h"
#include "frontend/button/property_bag.h"
#include "frontend/core/Lorvane_B.h"
#include "frontend/dialog/controls.h"
#include "frontend/music/settings_state.h"
#include "frontend/resources/pictures.h"
#include "platform/qt/application_pointer.h"
#include "platform/qt/font_substitutes.h"
#include "platform/qt/open_file_dialog.h"
#include "platform/qt/open_url.h"
#include "platform/qt/outline_animation.h"
#include "platform/qt/widget_under_pointer.h"

namespace {

constexpr int kTwipsPerPixel = 15;

// The credit before the version and the home-page address: the project's own.
const QString kCredit = QStringLiteral("Lorvane Project  Ver.1.0.0");
const QString kHomePage = QStringLiteral("https://lorvane.example/");

// The open-file dialog's texts, and GetOpenFileNameA's path buffer of 255 bytes.
const QString kOpenTitle = QStringLiteral("ﾌｧｲﾙを開く");
const QString kFilterDescription = QStringLiteral("BGMﾌｧｲﾙ (MP3 WAV)");
const QString kFilterPatterns = QStringLiteral("*.MP3;*.WAV");
constexpr int kPathBuffer = 255;

QFont DialogFont(bool underline = false) {
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPointSizeF(9.75);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  font.setStrikeOut(false);
  font.setUnderline(underline);
  return font;
}

// A number in the pattern "##": no leading zeros, a minus sign when negative, empty for 0.
QString FormatHashes(int value) { return value == 0 ? QString() : QString::number(value); }

int PixelsOfTwips(int64_t twips) {
  return static_cast<int>(twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                                     : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel));
}

// One arch of the sine over the surface's height, line by line:
// c = |sin(y / (H / 3.142)) x 220|, rounded half to even.
template <typename ColourOf>
void PaintArch(QImage& image, ColourOf colourOf) {
  if (image.isNull()) return;
  QPainter painter(&image);
  const double H = image.height();
  const double D = H / 3.142;
  const auto N = static_cast<int>(std::nearbyint(H));
  for (int y = 0; y <= N; ++y) {
    const int c = static_cast<int>(std::nearbyint(std::fabs(std::sin(y / D) * 220.0)));
    const int W = image.width();
    painter.fillRect(QRect(0, y, W, 1), colourOf(c));
  }
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry,
                  QColor colour, bool sizedToText, bool underline = false) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setText(text);
  label->setFont(DialogFont(underline));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  // Sized to its text in both directions, as the font gives it (the underline included).
  if (sizedToText) {
    geometry.setWidth(label->fontMetrics().horizontalAdvance(text));
    geometry.setHeight(std::max(geometry.height(), label->fontMetrics().height()));
  }
  label->setGeometry(geometry);
  return label;
}

PropertyBag StoredButton(const QString& caption, int extentX, int extentY) {
  return PropertyBag{{QStringLiteral("_extentx"), extentX},
                     {QStringLiteral("_extenty"), extentY},
                     {QStringLiteral("caption"), caption},
                     {QStringLiteral("font"), DialogFont()}};
}

}  // namespace

Lorvane_P::Lorvane_P() : Lorvane_P(Lorvane_B::SettingsFilePath()) {}

Lorvane_P::Lorvane_P(const QString& settingsFile)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settingsFile_(settingsFile) {
  platform::InstallFontSubstitutes();
  setObjectName(QStringLiteral("Lorvane_P"));
  setWindowTitle(QStringLiteral("<Lorvane>"));
  setWindowIcon(QIcon(resources::PicturePath(QStringLiteral("star_icon.png"))));
  setFixedSize(496, 243);
  CreateControls();
  // Another instance looks for the title before this window is ever shown.
  (void)winId();
}

Lorvane_P::~Lorvane_P() = default;

void Lorvane_P::CreateControls() {
  const QColor black(0, 0, 0), white(255, 255, 255);

  Pic_C[0] = new PictureBox(this, QColor(224, 224, 224));
  Pic_C[0]->setObjectName(QStringLiteral("Pic_C(0)"));
  Pic_C[0]->setGeometry(12, 16, 469, 165);
  QWidget* panel = Pic_C[0];

  Shape[3] = new ShapeOutline(panel, black);
  Shape[3]->setObjectName(QStringLiteral("Shape3"));
  Shape[3]->setGeometry(20, 20, 113, 21);
  lbl[15] = MakeLabel(panel, QStringLiteral("lbl(15)"), QStringLiteral("BGM"),
                      QRect(20, 24, 111, 13), black, false);
  lbl[15]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  const int rowTop[3] = {76, 56, 96};
  const QString rowCaption[3] = {QStringLiteral("なし"), QStringLiteral("音楽CD"),
                                 QStringLiteral("MP3、WAV")};
  for (int i = 0; i < 3; ++i) {
    Img_BGM[i] = new QLabel(panel);
    Img_BGM[i]->setObjectName(QStringLiteral("Img_BGM(%1)").arg(i));
    Img_BGM[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Img_BGM[i]->setGeometry(28, rowTop[i], 13, 13);
    Img_BGM[i]->installEventFilter(this);
    lbl_BGM[i] = MakeLabel(panel, QStringLiteral("lbl_BGM(%1)").arg(i), rowCaption[i],
                           QRect(44, rowTop[i], 0, 13), black, true);
    lbl_BGM[i]->installEventFilter(this);
  }

  // The track box keeps the platform's dialog font of its own.
  BGM_Repeat = new QComboBox(panel);
  BGM_Repeat->setObjectName(QStringLiteral("BGM_Repeat"));
  BGM_Repeat->setEditable(true);
  BGM_Repeat->setInsertPolicy(QComboBox::NoInsert);
  BGM_Repeat->setCompleter(nullptr);
  BGM_Repeat->setGeometry(112, 52, 41, 20);
  lbl[14] = MakeLabel(panel, QStringLiteral("lbl(14)"), QStringLiteral("曲目をﾘﾋﾟｰﾄ"),
                      QRect(156, 56, 0, 13), black, true);

  const PropertyBag fileButton = StoredButton(QStringLiteral("..."), 1085, 556);
  Cmd_File[0] = new Command(panel, &fileButton);
  Cmd_File[0]->setObjectName(QStringLiteral("Cmd_File(0)"));
  Cmd_File[0]->setGeometry(28, 116, 41, 21);
  connect(Cmd_File[0], &Command::Click, this, [this] { Cmd_File_Click(0); });

  lbl_Fname[0] = MakeLabel(panel, QStringLiteral("lbl_Fname(0)"), QString(),
                           QRect(72, 116, 373, 33), black, false);
  lbl_Fname[0]->setFrameStyle(QFrame::Box | QFrame::Plain);
  lbl_Fname[0]->setLineWidth(1);
  // Wraps at spaces; what does not fit the box is cut off, and the box never grows.
  lbl_Fname[0]->setWordWrap(true);

  lbl[7] = MakeLabel(this, QStringLiteral("lbl(7)"), kCredit, QRect(12, 192, 0, 13), white, true);
  lbl_URL = MakeLabel(this, QStringLiteral("lbl_URL"), kHomePage, QRect(12, 208, 0, 13), white,
                      true, true);
  lbl_URL->setCursor(
      QCursor(QPixmap(resources::PicturePath(QStringLiteral("hand_cursor.png"))), 12, 10));
  lbl_URL->installEventFilter(this);

  const PropertyBag setButton = StoredButton(QStringLiteral("設定"), 2037, 661);
  Cmd_Set = new Command(this, &setButton);
  Cmd_Set->setObjectName(QStringLiteral("Cmd_Set"));
  Cmd_Set->setGeometry(324, 200, 77, 25);
  connect(Cmd_Set, &Command::Click, this, [this] { Cmd_Set_Click(); });

  const PropertyBag cancelButton = StoredButton(QStringLiteral("ｷｬﾝｾﾙ"), 2037, 661);
  Cmd_Can = new Command(this, &cancelButton);
  Cmd_Can->setObjectName(QStringLiteral("Cmd_Can"));
  Cmd_Can->setGeometry(404, 200, 77, 25);
  connect(Cmd_Can, &Command::Click, this, [this] { Cmd_Can_Click(); });

  Img_Ra[0] = QPixmap(resources::PicturePath(QStringLiteral("marker_unselected.png")));
  Img_Ra[1] = QPixmap(resources::PicturePath(QStringLiteral("marker_selected.png")));

  setTabOrder(BGM_Repeat, Cmd_File[0]);
  setTabOrder(Cmd_File[0], Cmd_Set);
  setTabOrder(Cmd_Set, Cmd_Can);
}

void Lorvane_P::ShowModal() {
  Load();
  exec();
}

void Lorvane_P::Load() {
  if (loaded_) return;
  loaded_ = true;
  Form_Load();
}

// ---- Opening ----

void Lorvane_P::Form_Load() {
  using namespace Lorvane_BGM;
  // Centred across the screen, one third of the free height down; the sizes are the outer ones,
  // in twips, divided as whole numbers.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    const QSize outer = frameGeometry().size();
    const int64_t left = static_cast<int64_t>(area.width() - outer.width()) * kTwipsPerPixel / 2;
    const int64_t top = static_cast<int64_t>(area.height() - outer.height()) * kTwipsPerPixel / 3;
    move(area.left() + PixelsOfTwips(left), area.top() + PixelsOfTwips(top));
  }

  InitButtons(this);
  BGM_Repeat->setEnabled(false);
  for (QLabel* marker : Img_BGM) marker->setPixmap(Img_Ra[0]);
  if (BgmKind >= 0 && BgmKind <= 2) Img_BGM[static_cast<size_t>(BgmKind)]->setPixmap(Img_Ra[1]);
  if (BgmKind == 1) BGM_Repeat->setEnabled(true);
  Cmd_File[0]->SetEnabled(BgmKind == 2);

  const QString track = FormatHashes(BgmRepeat);
  BGM_Repeat->setEditText(track);
  for (int i = 0; i <= 30; ++i) BGM_Repeat->addItem(FormatHashes(i));
  // Adding the first entry makes it current and puts its text into the box; the text set above
  // stays.
  BGM_Repeat->setEditText(track);

  lbl_Fname[0]->setText(BgmFile);

  const QPoint pointer = platform::PointerPosition();
  constexpr int kMin = std::numeric_limits<int16_t>::min();
  constexpr int kMax = std::numeric_limits<int16_t>::max();
  if (pointer.x() >= kMin && pointer.x() <= kMax && pointer.y() >= kMin && pointer.y() <= kMax) {
    AnimOriginX = static_cast<int16_t>(pointer.x());
    AnimOriginY = static_cast<int16_t>(pointer.y());
  } else {
    AnimOriginX = 0;
    AnimOriginY = 0;
  }
  AnimateWindowOpen();
  platform::SetApplicationPointer(platform::ApplicationPointer::Default);
}

void Lorvane_P::InitButtons(QWidget* form) {
  for (Command* button : form->findChildren<Command*>()) button->Initialize();
}

// ---- Look ----

void Lorvane_P::Form_Resize() {
  if (surface_.size() != size()) {
    surface_ = QImage(size(), QImage::Format_RGB32);
    if (!surface_.isNull()) surface_.fill(QColor(192, 192, 192));
  }
  PaintArch(surface_, [](int c) { return QColor(c, c, c + 30); });
  PaintArch(Pic_C[0]->Image(), [](int c) { return QColor(c + 30, c + 30, c + 30); });
  update();
  Pic_C[0]->update();
}

void Lorvane_P::resizeEvent(QResizeEvent*) { Form_Resize(); }

void Lorvane_P::paintEvent(QPaintEvent*) {
  // The gradient drawn by Form_Resize is the persistent background; painting only shows it.
  QPainter painter(this);
  if (surface_.isNull()) {
    painter.fillRect(rect(), QColor(192, 192, 192));
  } else {
    painter.drawImage(0, 0, surface_);
  }
}

// ---- Choosing the music ----

void Lorvane_P::SelectSource(int Index) {
  if (Index < 0 || Index > 2) return;
  Lorvane_BGM::BgmKind = static_cast<int16_t>(Index);
  Cmd_File[0]->SetEnabled(false);
  BGM_Repeat->setEnabled(false);
  for (QLabel* marker : Img_BGM) marker->setPixmap(Img_Ra[0]);
  Img_BGM[static_cast<size_t>(Index)]->setPixmap(Img_Ra[1]);
  if (Index == 1) BGM_Repeat->setEnabled(true);
  if (Index == 2) Cmd_File[0]->SetEnabled(true);
}

void Lorvane_P::Img_BGM_MouseDown(int Index, int16_t, int16_t, float, float) {
  SelectSource(Index);
}

void Lorvane_P::lbl_BGM_MouseDown(int Index, int16_t, int16_t, float, float) {
  SelectSource(Index);
}

void Lorvane_P::Cmd_File_Click(int Index) {
  using namespace Lorvane_BGM;
  if (Index < 0 || Index >= static_cast<int>(lbl_Fname.size())) return;
  platform::OpenFileRequest request;
  request.owner = this;
  request.title = kOpenTitle;
  request.filterDescription = kFilterDescription;
  request.filterPatterns = kFilterPatterns;
  request.initialFolder = BgmFolder;
  request.pathBufferSize = kPathBuffer;
  const auto chosen = platform::ChooseFileToOpen(request);
  if (!chosen) return;
  BgmFile = *chosen;
  lbl_Fname[static_cast<size_t>(Index)]->setText(BgmFile);
  BgmFolder = Lorvane_B::FolderOfPath(BgmFile);
}

std::optional<int16_t> Lorvane_P::TrackOfText(const QString& text) {
  static const QRegularExpression number(QStringLiteral(R"(^[ \t]*[+-]?(\d+\.?\d*|\.\d+)[ \t]*$)"));
  if (!number.match(text).hasMatch()) return 0;
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  const double whole = std::nearbyint(value);  // halves to even
  if (whole < std::numeric_limits<int16_t>::min() || whole > std::numeric_limits<int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int16_t>(whole);
}

void Lorvane_P::Cmd_Set_Click() {
  using namespace Lorvane_BGM;
  const QString section = Lorvane_B::SettingsSection();
  Lorvane_B::WriteIniValue(section, Lorvane_B::KeyBgmKind(), QString::number(BgmKind),
                           settingsFile_);
  if (auto track = TrackOfText(BGM_Repeat->currentText())) BgmRepeat = *track;
  Lorvane_B::WriteIniValue(section, Lorvane_B::KeyBgmRepeat(), QString::number(BgmRepeat),
                           settingsFile_);
  Lorvane_B::WriteIniValue(section, Lorvane_B::KeyBgmFile(), BgmFile, settingsFile_);
  close();
}

void Lorvane_P::Cmd_Can_Click() { close(); }

void Lorvane_P::lbl_URL_Click() {
  platform::SetApplicationPointer(platform::ApplicationPointer::Busy);
  platform::OpenUrl(lbl_URL->text());
  platform::SetApplicationPointer(platform::ApplicationPointer::Default);
}

// ---- Closing ----

void Lorvane_P::Form_Unload(int16_t&) { AnimateWindowClose(); }

void Lorvane_P::closeEvent(QCloseEvent* event) {
  int16_t Cancel = 0;
  Form_Unload(Cancel);
  if (Cancel != 0) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

// Neither Enter nor Escape confirms or cancels; the buttons answer the mouse only.
void Lorvane_P::keyPressEvent(QKeyEvent* event) { QWidget::keyPressEvent(event); }

void Lorvane_P::AnimateWindowOpen() {
  platform::AnimateOutline(QRect(AnimOriginX, AnimOriginY, 0, 0), frameGeometry());
}

void Lorvane_P::AnimateWindowClose() {
  platform::AnimateOutline(frameGeometry(), QRect(AnimOriginX, AnimOriginY, 0, 0));
}

// ---- Mouse on the rows and the link ----

namespace {

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

}  // namespace

bool Lorvane_P::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
      type != QEvent::MouseButtonRelease) {
    return QDialog::eventFilter(watched, event);
  }
  auto* mouse = static_cast<QMouseEvent*>(event);
  const int16_t button = ButtonCode(mouse->button());
  const auto x = static_cast<float>(mouse->position().x() * kTwipsPerPixel);
  const auto y = static_cast<float>(mouse->position().y() * kTwipsPerPixel);

  for (int i = 0; i < 3; ++i) {
    const bool onImage = watched == Img_BGM[static_cast<size_t>(i)];
    const bool onLabel = watched == lbl_BGM[static_cast<size_t>(i)];
    if (!onImage && !onLabel) continue;
    // Any button selects the row on its press, without waiting for the release.
    if (type != QEvent::MouseButtonRelease && button != 0) {
      if (onImage) Img_BGM_MouseDown(i, button, 0, x, y);
      if (onLabel) lbl_BGM_MouseDown(i, button, 0, x, y);
    }
    return true;
  }

  if (watched == lbl_URL) {
    // A click: the left button pressed and released over the link.
    if (mouse->button() == Qt::LeftButton) {
      if (type == QEvent::MouseButtonRelease) {
        const bool click = urlPressed_ && lbl_URL->rect().contains(mouse->position().toPoint());
        urlPressed_ = false;
        if (click) lbl_URL_Click();
      } else {
        urlPressed_ = true;
      }
    }
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
