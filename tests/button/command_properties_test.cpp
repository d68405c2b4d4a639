// The properties, FirstRun, and the store they are saved in and restored from.
#include <gtest/gtest.h>

#include <QCursor>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "tests/button/faces.h"

namespace {

using buttontest::FaceShown;
using Face = Command::Face;

QFont DialogFont() {
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPointSizeF(9.75);
  return font;
}

TEST(PropertyBag, KeysIgnoreCaseAndDefaultsAreNotStored) {
  PropertyBag bag{{QStringLiteral("caption"), QStringLiteral("設定")}};
  EXPECT_EQ(bag.ReadProperty(QStringLiteral("Caption"), QStringLiteral("x")).toString(),
            QStringLiteral("設定"));
  EXPECT_EQ(bag.ReadProperty(QStringLiteral("Missing"), 7).toInt(), 7);

  // Writing under another case replaces the value; writing the default drops the key.
  bag.WriteProperty(QStringLiteral("CAPTION"), QStringLiteral("ｷｬﾝｾﾙ"), QStringLiteral("Command"));
  EXPECT_EQ(bag.Keys(), QStringList{QStringLiteral("caption")});
  bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Command"),
                    QStringLiteral("Command"));
  EXPECT_FALSE(bag.Contains(QStringLiteral("caption")));
}

TEST(PropertyBag, ValuesEqualToTheirDefaults) {
  struct Case {
    QVariant value, defaultValue;
    bool same;
  } cases[] = {
      {QVariant::fromValue<uint8_t>(1), QStringLiteral("1"), true},
      {0, QStringLiteral("0"), true},
      {QVariant::fromValue<int16_t>(1), QStringLiteral(" 1 "), true},
      {2, QStringLiteral("1"), false},
      {true, true, true},
      {true, -1, true},
      {false, true, false},
      {1, QStringLiteral("1.0"), true},
      {1, QStringLiteral("abc"), false},
      {QStringLiteral("1"), QStringLiteral("1.0"), false},  // two texts compare as texts
      {QStringLiteral("Command"), QStringLiteral("command"), false},
      {QVariant(DialogFont()), QVariant(DialogFont()), true},
      {QVariant(DialogFont()), QStringLiteral("ＭＳ Ｐゴシック"), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PropertyBag::SameValue(c.value, c.defaultValue), c.same)
        << c.value.toString().toStdString() << " / " << c.defaultValue.toString().toStdString();
  }
}

class CommandProperties : public ::testing::Test {
 protected:
  void SetUp() override {
    host.resize(200, 100);
    host.show();
  }
  Command* Make(const PropertyBag* stored) {
    auto* button = new Command(&host, stored);
    button->setGeometry(10, 10, 64, 25);
    button->show();
    return button;
  }
  buttontest::QtApp app;
  QWidget host;
};

TEST_F(CommandProperties, CaptionCommandIsNotStoredAndSurvivesARoundTrip) {
  Command* button = Make(nullptr);
  (void)button->Enabled();
  button->SetCaption(QStringLiteral("Command"));
  PropertyBag bag;
  button->UserControl_WriteProperties(bag);
  EXPECT_FALSE(bag.Contains(QStringLiteral("Caption")));
  Command* restored = Make(&bag);
  EXPECT_EQ(restored->Caption(), QStringLiteral("Command"));
}

// How the dialog stores its buttons: only the caption and the font, in lower case.
TEST_F(CommandProperties, DialogsStoredInstanceRestoresEnabledOpaqueBlack) {
  const PropertyBag stored{{QStringLiteral("caption"), QStringLiteral("設定")},
                           {QStringLiteral("font"), DialogFont()}};
  Command* button = Make(&stored);
  EXPECT_EQ(FaceShown(button->Surface()), Face::Normal);
  EXPECT_EQ(button->Caption(), QStringLiteral("設定"));
  EXPECT_EQ(button->Font(), DialogFont());
  EXPECT_EQ(button->FontColour(), 0);
  EXPECT_EQ(button->Visible(), 255);
  EXPECT_TRUE(button->Enabled());
  // FirstRun is 1 (its default): saving stores nothing of it, and a later colour stays.
  PropertyBag saved;
  button->UserControl_WriteProperties(saved);
  EXPECT_EQ(saved.Keys(), (QStringList{QStringLiteral("Caption"), QStringLiteral("Font")}));
  button->SetFontColour(0xFF0000);
  EXPECT_EQ(button->FontColour(), 0xFF0000);
  EXPECT_EQ(button->CaptionLabel()->palette().color(QPalette::Active, QPalette::WindowText),
            QColor(0, 0, 255));
}

TEST_F(CommandProperties, SavingDefaultsStoresNoneOfTheOwnKeys) {
  Command* button = Make(nullptr);
  ASSERT_TRUE(button->Enabled());  // FirstRun 1, enabled, black
  button->SetCaption(QStringLiteral("Command"));
  PropertyBag bag;
  button->UserControl_WriteProperties(bag);
  for (const char* key : {"Enabled", "Caption", "FirstRun", "FontColour", "Visible"}) {
    EXPECT_FALSE(bag.Contains(QString::fromLatin1(key))) << key;
  }
  // The design font differs from the host's, so it is stored; and everything stored reads back.
  EXPECT_TRUE(bag.Contains(QStringLiteral("font")));
  button->SetEnabled(false);
  button->SetVisible(0);
  button->SetFontColour(0x123456);
  PropertyBag changed;
  button->UserControl_WriteProperties(changed);
  Command* restored = Make(&changed);
  EXPECT_FALSE(restored->Enabled());
  EXPECT_EQ(restored->Visible(), 0);
  EXPECT_EQ(restored->FontColour(), 0x123456);
  EXPECT_EQ(FaceShown(restored->Surface()), Face::Disable);
}

TEST_F(CommandProperties, FreshInstanceShowsDisableUntilEnabledIsRead) {
  Command* button = Make(nullptr);
  EXPECT_EQ(FaceShown(button->Surface()), Face::Disable);
  EXPECT_FALSE(button->CaptionLabel()->isEnabled());
  EXPECT_EQ(button->Caption(), QStringLiteral("Command"));
  EXPECT_TRUE(button->Enabled());
  EXPECT_EQ(FaceShown(button->Surface()), Face::Normal);
  EXPECT_TRUE(button->CaptionLabel()->isEnabled());
}

// Enabled by a write before any read, FirstRun is still 0: every redraw resets the colour.
TEST_F(CommandProperties, ColourOnAFreshInstanceEnabledByAWriteStaysBlack) {
  Command* button = Make(nullptr);
  QSignalSpy changes(button, &Command::PropertyChanged);
  button->SetEnabled(true);
  button->SetFontColour(0xFF0000);
  EXPECT_EQ(button->FontColour(), 0);
  EXPECT_EQ(changes.count(), 2);
  EXPECT_EQ(changes.at(1).at(0).toString(), QStringLiteral("FontColour"));
}

TEST_F(CommandProperties, VisibleIsAByteReadAs255OrZero) {
  host.setAutoFillBackground(true);
  QPalette palette = host.palette();
  palette.setColor(QPalette::Window, QColor(10, 200, 10));
  host.setPalette(palette);
  Command* button = Make(nullptr);
  (void)button->Enabled();

  button->SetVisible(7);
  EXPECT_EQ(button->Visible(), 255);
  EXPECT_EQ(host.grab().toImage().pixel(10 + 32, 10 + 22), button->Surface().pixel(32, 22));

  // Transparent: the host shows where the face was; the caption stays.
  button->SetVisible(0);
  EXPECT_EQ(button->Visible(), 0);
  const QImage shown = host.grab().toImage();
  EXPECT_EQ(QColor(shown.pixel(10 + 2, 10 + 2)), QColor(10, 200, 10));
  EXPECT_EQ(QColor(shown.pixel(10 + 32, 10 + 22)), QColor(10, 200, 10));
  EXPECT_TRUE(button->CaptionLabel()->isVisible());
}

TEST_F(CommandProperties, ReadingFontColourDrawsNormalAndKeepsTheState) {
  const PropertyBag stored{{QStringLiteral("caption"), QStringLiteral("OK")}};
  Command* button = Make(&stored);
  button->Initialize();
  host.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
  button->setFocus();  // state 3
  QCursor::setPos(button->mapToGlobal(QPoint(32, 12)));
  QTest::mouseMove(button, QPoint(32, 12));  // state 4
  ASSERT_EQ(button->GetState(), 4);
  ASSERT_EQ(FaceShown(button->Surface()), Face::HighLight);
  EXPECT_EQ(button->FontColour(), 0);
  EXPECT_EQ(FaceShown(button->Surface()), Face::Normal);
  EXPECT_EQ(button->GetState(), 4);
}

// A stored value that does not convert leaves its property as it was.
TEST_F(CommandProperties, UnconvertibleStoredValuesAreSkipped) {
  const PropertyBag stored{{QStringLiteral("FontColour"), QStringLiteral("blue")},
                           {QStringLiteral("Enabled"), QStringLiteral("maybe")},
                           {QStringLiteral("FirstRun"), 300},
                           {QStringLiteral("Visible"), QStringLiteral("0")},
                           {QStringLiteral("Font"), QStringLiteral("not a font")}};
  Command* button = Make(&stored);
  EXPECT_EQ(button->FontColour(), 0);
  EXPECT_EQ(button->Visible(), 0);
  // Enabled stayed False and FirstRun 0: the first read enables it.
  EXPECT_TRUE(button->Enabled());
  EXPECT_EQ(button->Font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
}

}  // namespace
