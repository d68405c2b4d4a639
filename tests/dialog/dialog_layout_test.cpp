// The settings dialog's look: window, controls, fonts, pictures and the two gradients.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include "frontend/button/Command.h"
#include "frontend/dialog/Lorvane_P.h"
#include "frontend/music/settings_state.h"
#include "frontend/resources/pictures.h"
#include "tests/support/qt_application.h"

namespace {

struct QtApp {
  QtApp() { testsupport::QtApplication(); }
};

class DialogLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    Lorvane_BGM::BgmKind = 0;
    Lorvane_BGM::BgmRepeat = 0;
    Lorvane_BGM::BgmFile.clear();
    Lorvane_BGM::BgmFolder.clear();
    dialog = std::make_unique<Lorvane_P>(QStringLiteral("Z:\\nonexistent\\Lorvane.ini"));
    dialog->Load();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  }
  template <typename T = QWidget>
  T* Control(const char* name) {
    return dialog->findChild<T*>(QString::fromLatin1(name));
  }
  QtApp app;
  std::unique_ptr<Lorvane_P> dialog;
};

TEST_F(DialogLayout, WindowIsFixedTitledAndPlaced) {
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("<Lorvane>"));
  EXPECT_EQ(dialog->size(), QSize(496, 243));
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
  const Qt::WindowFlags flags = dialog->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(dialog->windowIcon().isNull());
  // Centred across, one third of the free height down.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QRect frame = dialog->frameGeometry();
  EXPECT_NEAR(frame.left(), (screen.width() - frame.width()) / 2.0, 1.0);
  EXPECT_NEAR(frame.top(), (screen.height() - frame.height()) / 3.0, 1.0);
}

TEST_F(DialogLayout, ControlsSitWhereTheDesignPutsThem) {
  struct Place {
    const char* name;
    QRect geometry;
  } places[] = {
      {"Pic_C(0)", {12, 16, 469, 165}},     {"Shape3", {20, 20, 113, 21}},
      {"lbl(15)", {20, 24, 111, 13}},       {"Img_BGM(1)", {28, 56, 13, 13}},
      {"BGM_Repeat", {112, 52, 41, 20}},    {"Img_BGM(0)", {28, 76, 13, 13}},
      {"Img_BGM(2)", {28, 96, 13, 13}},     {"Cmd_File(0)", {28, 116, 41, 21}},
      {"lbl_Fname(0)", {72, 116, 373, 33}}, {"Cmd_Set", {324, 200, 77, 25}},
      {"Cmd_Can", {404, 200, 77, 25}},
  };
  for (const auto& place : places) {
    QWidget* control = Control(place.name);
    ASSERT_NE(control, nullptr) << place.name;
    EXPECT_EQ(control->geometry(), place.geometry) << place.name;
  }
  // Labels sized to their text: the design font's widths, followed by the substitute's.
  struct Sized {
    const char* name;
    QPoint at;
    int designWidth;
    const char* parent;
  } sized[] = {
      {"lbl_BGM(1)", {44, 56}, 43, "Pic_C(0)"}, {"lbl(14)", {156, 56}, 66, "Pic_C(0)"},
      {"lbl_BGM(0)", {44, 76}, 22, "Pic_C(0)"}, {"lbl_BGM(2)", {44, 96}, 60, "Pic_C(0)"},
      {"lbl(7)", {12, 192}, 165, "Lorvane_P"},  {"lbl_URL", {12, 208}, 219, "Lorvane_P"},
  };
  for (const auto& label : sized) {
    QWidget* control = Control(label.name);
    ASSERT_NE(control, nullptr) << label.name;
    EXPECT_EQ(control->pos(), label.at) << label.name;
    EXPECT_EQ(control->parentWidget()->objectName(), QString::fromLatin1(label.parent));
    EXPECT_GE(control->height(), 13);
    EXPECT_GT(control->width(), 0);
    if (label.designWidth < 100) {
      EXPECT_NEAR(control->width(), label.designWidth, 6) << label.name;
    }
  }
  // The hidden markers are pictures, never shown; the selected row shows the selected one.
  const QImage selected(resources::PicturePath(QStringLiteral("marker_selected.png")));
  const QImage unselected(resources::PicturePath(QStringLiteral("marker_unselected.png")));
  EXPECT_EQ(selected.size(), QSize(12, 12));
  EXPECT_EQ(unselected.size(), QSize(12, 12));
}

TEST_F(DialogLayout, CaptionsAndFonts) {
  struct Text {
    const char* name;
    QString text;
  } texts[] = {
      {"lbl(15)", QStringLiteral("BGM")},         {"lbl_BGM(0)", QStringLiteral("なし")},
      {"lbl_BGM(1)", QStringLiteral("音楽CD")},   {"lbl_BGM(2)", QStringLiteral("MP3、WAV")},
      {"lbl(14)", QStringLiteral("曲目をﾘﾋﾟｰﾄ")},
  };
  for (const auto& t : texts) {
    auto* label = Control<QLabel>(t.name);
    ASSERT_NE(label, nullptr) << t.name;
    EXPECT_EQ(label->text(), t.text);
  }
  EXPECT_TRUE(Control<QLabel>("lbl(7)")->text().endsWith(QStringLiteral("Ver.1.0.0")));
  EXPECT_TRUE(Control<QLabel>("lbl_URL")->text().startsWith(QStringLiteral("https://")));
  EXPECT_EQ(Control<Command>("Cmd_Set")->Caption(), QStringLiteral("設定"));
  EXPECT_EQ(Control<Command>("Cmd_Can")->Caption(), QStringLiteral("ｷｬﾝｾﾙ"));
  EXPECT_EQ(Control<Command>("Cmd_File(0)")->Caption(), QStringLiteral("..."));

  // Every label and button caption: the Windows font name at 9.75 pt, drawn by IPAPGothic.
  std::vector<QFont> fonts;
  for (QLabel* label : dialog->findChildren<QLabel*>()) {
    if (label->objectName().startsWith(QStringLiteral("Img_"))) continue;
    fonts.push_back(label->font());
    EXPECT_EQ(label->font().underline(), label->objectName() == QStringLiteral("lbl_URL"))
        << label->objectName().toStdString();
  }
  for (Command* button : dialog->findChildren<Command*>()) fonts.push_back(button->Font());
  ASSERT_GE(fonts.size(), 12u);
  for (const QFont& font : fonts) {
    EXPECT_EQ(font.family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.75);
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(font.italic());
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("IPAPGothic"));
  }
  // The track box keeps the platform's own font.
  EXPECT_NE(Control("BGM_Repeat")->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));

  // Black text in the panel, white below it.
  EXPECT_EQ(Control("lbl_BGM(1)")->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_EQ(Control("lbl(7)")->palette().color(QPalette::WindowText), QColor(Qt::white));
  EXPECT_EQ(Control("lbl_URL")->palette().color(QPalette::WindowText), QColor(Qt::white));
}

TEST_F(DialogLayout, LinkHasTheHandCursorAndPicturesTheirSizes) {
  const QCursor cursor = Control("lbl_URL")->cursor();
  EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
  EXPECT_EQ(cursor.hotSpot(), QPoint(12, 10));
  EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
  const QImage hand = cursor.pixmap().toImage();
  EXPECT_EQ(qAlpha(hand.pixel(12, 10)), 255);  // the fingertip is the hot spot
  EXPECT_EQ(qAlpha(hand.pixel(0, 0)), 0);

  const QImage icon(resources::PicturePath(QStringLiteral("star_icon.png")));
  EXPECT_EQ(icon.size(), QSize(32, 32));
  EXPECT_EQ(icon.format(), QImage::Format_Indexed8);
  EXPECT_EQ(QColor(icon.pixel(0, 0)), QColor(Qt::black));
  EXPECT_EQ(QColor(icon.pixel(16, 16)), QColor(Qt::white));
}

TEST_F(DialogLayout, GradientRowsOfDialogAndPanel) {
  const QImage shown = dialog->grab().toImage();
  ASSERT_EQ(shown.size(), QSize(496, 243));
  // Dialog: RGB(c, c, c + 30), column 5 is free of controls.
  const std::pair<int, int> dialogRows[] = {{0, 0},    {1, 3},     {10, 28},   {30, 83},
                                            {60, 154}, {121, 220}, {200, 116}, {242, 3}};
  for (auto [y, c] : dialogRows) {
    EXPECT_EQ(QColor(shown.pixel(5, y)), QColor(c, c, c + 30)) << "dialog row " << y;
    EXPECT_EQ(QColor(shown.pixel(490, y)), QColor(c, c, c + 30)) << "dialog row " << y;
  }
  // Panel at (12, 16): RGB(c + 30, c + 30, c + 30), its column 460 is free.
  const std::pair<int, int> panelRows[] = {{0, 0},    {10, 42},  {30, 119},
                                           {60, 200}, {81, 220}, {121, 163}};
  for (auto [y, c] : panelRows) {
    EXPECT_EQ(QColor(shown.pixel(12 + 460, 16 + y)), QColor(c + 30, c + 30, c + 30))
        << "panel row " << y;
    EXPECT_EQ(QColor(shown.pixel(12 + 1, 16 + y)), QColor(c + 30, c + 30, c + 30));
  }
  // No component passes 250 anywhere in either gradient.
  for (int y = 0; y < 243; ++y) {
    EXPECT_LE(qBlue(shown.pixel(5, y)), 250);
    EXPECT_LE(qRed(shown.pixel(472, std::clamp(y, 16, 180))), 250);
  }
}

TEST_F(DialogLayout, LongPathIsCutOffInsideTheFileLabel) {
  auto* label = Control<QLabel>("lbl_Fname(0)");
  label->setText(QStringLiteral("Z:\\") + QString(400, u'x') + QStringLiteral(" words that wrap ") +
                 QString(40, u'y'));
  QCoreApplication::processEvents();
  EXPECT_EQ(label->geometry(), QRect(72, 116, 373, 33));
  EXPECT_TRUE(label->wordWrap());
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

}  // namespace
