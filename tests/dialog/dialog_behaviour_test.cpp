// The settings dialog at work: rows and enabled states, the track box, browsing, OK's bytes,
// Cancel and the close box, the link and the animations, driven by real mouse and key events.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "frontend/button/Command.h"
#include "frontend/dialog/Lorvane_P.h"
#include "frontend/music/settings_state.h"
#include "frontend/resources/pictures.h"
#include "platform/base/drives.h"
#include "platform/qt/text.h"
#include "tests/dialog/file_dialogs.h"
#include "tests/dialog/ui.h"
#include "tests/dialog/watchers.h"
#include "tests/support/qt_application.h"
#include "tests/support/scratch_folder.h"

namespace {

using dialogtest::ClickOn;
using dialogtest::FileDialogAnswer;

QString WindowsPath(const std::string& linuxPath) {
  auto ansi = platform::WindowsPathOf(linuxPath);
  if (!ansi) return {};
  return platform::FromAnsi(QByteArray(ansi->data(), static_cast<qsizetype>(ansi->size())))
      .value_or(QString());
}

// The settings file's bytes in code page 932: [Section] and the three keys.
const std::string kSectionLine = "[Section]\r\n";
const std::string kKind = "BGM\x8B\xE6\x95\xAA=";
const std::string kRepeat = "BGM\xD8\xCB\xDF\xB0\xC4=";
const std::string kFile = "BGM\xCC\xA7\xB2\xD9=";

class Dialog : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::QtApplication();
    Lorvane_BGM::BgmKind = 0;
    Lorvane_BGM::BgmRepeat = 0;
    Lorvane_BGM::BgmFile.clear();
    Lorvane_BGM::BgmFolder = WindowsPath(scratch.Path());
  }
  void TearDown() override {
    if (dialog) dialog->hide();
  }

  void Open() {
    dialog = std::make_unique<Lorvane_P>(WindowsPath(scratch.Path() + "/Lorvane.ini"));
    dialog->Load();
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  }
  template <typename T = QWidget>
  T* Control(const QString& name) {
    T* control = dialog->findChild<T*>(name);
    EXPECT_NE(control, nullptr) << name.toStdString();
    return control;
  }
  Command* Button(const char* name) { return Control<Command>(QString::fromLatin1(name)); }
  QComboBox* TrackBox() { return Control<QComboBox>(QStringLiteral("BGM_Repeat")); }
  QLabel* Marker(int i) { return Control<QLabel>(QStringLiteral("Img_BGM(%1)").arg(i)); }
  QLabel* RowLabel(int i) { return Control<QLabel>(QStringLiteral("lbl_BGM(%1)").arg(i)); }
  QLabel* FileLabel() { return Control<QLabel>(QStringLiteral("lbl_Fname(0)")); }

  // The index of the row whose marker shows the selected picture, -1 for none.
  int SelectedRow() {
    const QImage selected = QImage(resources::PicturePath(QStringLiteral("marker_selected.png")))
                                .convertToFormat(QImage::Format_RGB32);
    const QImage unselected =
        QImage(resources::PicturePath(QStringLiteral("marker_unselected.png")))
            .convertToFormat(QImage::Format_RGB32);
    int row = -1;
    for (int i = 0; i < 3; ++i) {
      const QImage shown = Marker(i)->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
      if (shown == selected) {
        EXPECT_EQ(row, -1) << "two rows selected";
        row = i;
      } else {
        EXPECT_EQ(shown, unselected) << "row " << i;
      }
    }
    return row;
  }
  bool BrowseEnabled() { return Button("Cmd_File(0)")->CaptionLabel()->isEnabled(); }

  void TypeTrack(const QString& text) {
    QLineEdit* edit = TrackBox()->lineEdit();
    ClickOn(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }
  std::string SettingsBytes() const { return scratch.ReadFile("Lorvane.ini"); }
  bool SettingsExist() const { return std::filesystem::exists(scratch.Path() + "/Lorvane.ini"); }

  testsupport::ScratchFolder scratch;
  std::unique_ptr<Lorvane_P> dialog;
};

TEST_F(Dialog, RowStateFollowsTheStoredKind) {
  struct Case {
    int16_t kind;
    int row;
    bool track, browse;
  } cases[] = {{0, 0, false, false},
               {1, 1, true, false},
               {2, 2, false, true},
               {7, -1, false, false},
               {-1, -1, false, false}};
  for (const auto& c : cases) {
    Lorvane_BGM::BgmKind = c.kind;
    Lorvane_BGM::BgmFile = c.kind == 2 ? QStringLiteral("Z:\\music\\song.mp3") : QString();
    Open();
    EXPECT_EQ(SelectedRow(), c.row) << c.kind;
    EXPECT_EQ(TrackBox()->isEnabled(), c.track) << c.kind;
    EXPECT_EQ(BrowseEnabled(), c.browse) << c.kind;
    EXPECT_EQ(FileLabel()->text(), Lorvane_BGM::BgmFile);
    dialog->hide();
  }
}

TEST_F(Dialog, TrackBoxShowsTheStoredTrackAndOffersThirtyOne) {
  for (auto [stored, text] : {std::pair<int16_t, QString>{0, QString()},
                              {12, QStringLiteral("12")},
                              {-3, QStringLiteral("-3")},
                              {45, QStringLiteral("45")}}) {
    Lorvane_BGM::BgmRepeat = stored;
    Open();
    QComboBox* box = TrackBox();
    EXPECT_EQ(box->currentText(), text);
    ASSERT_EQ(box->count(), 31);
    EXPECT_EQ(box->itemText(0), QString());
    EXPECT_EQ(box->itemText(1), QStringLiteral("1"));
    EXPECT_EQ(box->itemText(30), QStringLiteral("30"));
    dialog->hide();
  }
}

TEST_F(Dialog, PressingARowSelectsItAndItsControl) {
  Lorvane_BGM::BgmRepeat = 4;
  Lorvane_BGM::BgmFile = QStringLiteral("Z:\\music\\song.mp3");
  Open();
  ASSERT_EQ(SelectedRow(), 0);

  // On the label, with the left button: the press alone selects.
  dialogtest::MoveTo(RowLabel(1), QPoint(5, 5));
  dialogtest::Press(RowLabel(1), Qt::LeftButton, QPoint(5, 5));
  EXPECT_EQ(Lorvane_BGM::BgmKind, 1);
  EXPECT_EQ(SelectedRow(), 1);
  EXPECT_TRUE(TrackBox()->isEnabled());
  EXPECT_FALSE(BrowseEnabled());
  dialogtest::Release(RowLabel(1), Qt::LeftButton, QPoint(5, 5));

  // On the marker, with the right button.
  ClickOn(Marker(2), Qt::RightButton, QPoint(5, 5));
  EXPECT_EQ(Lorvane_BGM::BgmKind, 2);
  EXPECT_EQ(SelectedRow(), 2);
  EXPECT_FALSE(TrackBox()->isEnabled());
  EXPECT_TRUE(BrowseEnabled());

  ClickOn(Marker(0), Qt::LeftButton, QPoint(5, 5));
  ClickOn(RowLabel(0));  // the selected row again: the same state
  EXPECT_EQ(Lorvane_BGM::BgmKind, 0);
  EXPECT_EQ(SelectedRow(), 0);
  EXPECT_FALSE(TrackBox()->isEnabled());
  EXPECT_FALSE(BrowseEnabled());

  // Neither the track text nor the file changed.
  EXPECT_EQ(TrackBox()->currentText(), QStringLiteral("4"));
  EXPECT_EQ(Lorvane_BGM::BgmFile, QStringLiteral("Z:\\music\\song.mp3"));
  EXPECT_EQ(FileLabel()->text(), QStringLiteral("Z:\\music\\song.mp3"));
}

TEST_F(Dialog, OkWritesTheThreeKeysInCodePage932) {
  Open();
  ClickOn(RowLabel(1));
  TypeTrack(QStringLiteral("7"));
  ClickOn(Button("Cmd_Set"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }));
  EXPECT_EQ(SettingsBytes(), kSectionLine + kKind + "1\r\n" + kRepeat + "7\r\n" + kFile + "\r\n");
  EXPECT_EQ(Lorvane_BGM::BgmRepeat, 7);
}

// The file keeps every other byte; a file path in code page 932 is written as such.
TEST_F(Dialog, OkRewritesOnlyItsKeysAndKeepsTheTrackAndFileOfOtherSources) {
  const std::string before = "; mine\r\n[Other]\r\nx=1\r\n[Section]\r\n" + kKind + "2\r\n" +
                             kRepeat + "3\r\n" + kFile + "Z:\\old.mp3\r\n";
  scratch.WriteFile("Lorvane.ini", before);
  Lorvane_BGM::BgmKind = 2;
  Lorvane_BGM::BgmRepeat = 3;
  Lorvane_BGM::BgmFile = QStringLiteral("Z:\\音楽\\曲.mp3");
  Open();
  ClickOn(RowLabel(0));
  ClickOn(Button("Cmd_Set"));
  EXPECT_EQ(SettingsBytes(), "; mine\r\n[Other]\r\nx=1\r\n[Section]\r\n" + kKind + "0\r\n" +
                                 kRepeat + "3\r\n" + kFile +
                                 "Z:\\\x89\xB9\x8A\x79\\\x8B\xC8.mp3\r\n");
}

TEST_F(Dialog, SoundFileRowWithoutAFileWritesAnEmptyPath) {
  Open();
  ClickOn(RowLabel(2));
  ClickOn(Button("Cmd_Set"));
  EXPECT_EQ(SettingsBytes(), kSectionLine + kKind + "2\r\n" + kRepeat + "0\r\n" + kFile + "\r\n");
}

TEST_F(Dialog, TrackTextRules) {
  struct Case {
    QString text;
    std::optional<int16_t> track;
  } cases[] = {
      {QStringLiteral("7"), 7},
      {QStringLiteral("abc"), 0},
      {QStringLiteral("2.5"), 2},
      {QStringLiteral("3.5"), 4},
      {QStringLiteral("-4"), -4},
      {QStringLiteral("45"), 45},
      {QString(), 0},
      {QStringLiteral(" 12 "), 12},
      {QStringLiteral("+3"), 3},
      {QStringLiteral("0.5"), 0},
      {QStringLiteral("1.5"), 2},
      {QStringLiteral("-2.5"), -2},
      {QStringLiteral(".7"), 1},
      {QStringLiteral("1e3"), 0},
      {QStringLiteral("1 2"), 0},
      {QStringLiteral("１２"), 0},
      {QStringLiteral("32767.4"), 32767},
      {QStringLiteral("-32768"), -32768},
      {QStringLiteral("32767.5"), std::nullopt},
      {QStringLiteral("40000"), std::nullopt},
      {QStringLiteral("-32769"), std::nullopt},
      {QString(400, u'9'), std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Lorvane_P::TrackOfText(c.text), c.track) << c.text.toStdString();
  }
}

// Through the dialog: a half rounds to even, and a number beyond 16 bits keeps the stored track
// rather than becoming another one.
TEST_F(Dialog, OkTakesTheTrackTextAsTyped) {
  for (auto [typed, written] : {std::pair<QString, std::string>{QStringLiteral("2.5"), "2"},
                                {QStringLiteral("abc"), "0"},
                                {QStringLiteral("70000"), "5"}}) {
    Lorvane_BGM::BgmKind = 1;
    Lorvane_BGM::BgmRepeat = 5;
    Open();
    TypeTrack(typed);
    ClickOn(Button("Cmd_Set"));
    EXPECT_EQ(SettingsBytes(),
              kSectionLine + kKind + "1\r\n" + kRepeat + written + "\r\n" + kFile + "\r\n")
        << typed.toStdString();
    std::filesystem::remove(scratch.Path() + "/Lorvane.ini");
  }
}

TEST_F(Dialog, CancelAndTheCloseBoxLeaveTheFileAsItWas) {
  const std::string before = "[Section]\n" + kKind + " 2 \n" + kRepeat + "9\nodd line\n";
  scratch.WriteFile("Lorvane.ini", before);
  Open();
  ClickOn(RowLabel(1));
  TypeTrack(QStringLiteral("12"));
  ClickOn(Button("Cmd_Can"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }));
  EXPECT_EQ(SettingsBytes(), before);

  Open();
  ClickOn(RowLabel(2));
  dialog->close();  // the title bar's close box
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(SettingsBytes(), before);

  // Without a file, none appears.
  std::filesystem::remove(scratch.Path() + "/Lorvane.ini");
  Open();
  ClickOn(Button("Cmd_Can"));
  EXPECT_FALSE(SettingsExist());
}

TEST_F(Dialog, EnterAndEscapeDoNothing) {
  Open();
  for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
    QTest::keyClick(dialog.get(), static_cast<Qt::Key>(key));
    QTest::keyClick(TrackBox(), static_cast<Qt::Key>(key));
    EXPECT_TRUE(dialog->isVisible());
  }
  EXPECT_FALSE(SettingsExist());
}

TEST_F(Dialog, BrowsingChoosesTheFileAndTheNextStartFolder) {
  scratch.WriteFile("first/a.mp3", "x");
  scratch.WriteFile("second/b.WAV", "x");
  Lorvane_BGM::BgmKind = 2;
  Open();

  {
    // Cancelled: nothing changes.
    FileDialogAnswer answer(dialogtest::Cancel);
    ClickOn(Button("Cmd_File(0)"));
    ASSERT_TRUE(answer.shown);
    EXPECT_EQ(answer.title, QStringLiteral("ﾌｧｲﾙを開く"));
    EXPECT_EQ(answer.directory, QString::fromStdString(scratch.Path()));
    EXPECT_TRUE(Lorvane_BGM::BgmFile.isEmpty());
    EXPECT_TRUE(FileLabel()->text().isEmpty());
    EXPECT_EQ(Lorvane_BGM::BgmFolder, WindowsPath(scratch.Path()));
  }
  const QString first = WindowsPath(scratch.Path() + "/first/a.mp3");
  {
    FileDialogAnswer answer(
        dialogtest::Choose(QString::fromStdString(scratch.Path() + "/first/a.mp3")));
    ClickOn(Button("Cmd_File(0)"));
    ASSERT_TRUE(answer.shown);
    EXPECT_EQ(Lorvane_BGM::BgmFile, first);
    EXPECT_EQ(FileLabel()->text(), first);
    EXPECT_EQ(Lorvane_BGM::BgmFolder, WindowsPath(scratch.Path() + "/first"));
  }
  {
    // The next browse starts in the first file's folder; cancelling keeps the first file.
    FileDialogAnswer answer(dialogtest::Cancel);
    ClickOn(Button("Cmd_File(0)"));
    ASSERT_TRUE(answer.shown);
    EXPECT_EQ(answer.directory, QString::fromStdString(scratch.Path() + "/first"));
    EXPECT_EQ(Lorvane_BGM::BgmFile, first);
  }
  EXPECT_EQ(Lorvane_BGM::BgmKind, 2);  // choosing a file does not change the source
  ClickOn(Button("Cmd_Set"));
  const QByteArray path = *platform::ToAnsi(first);
  EXPECT_EQ(SettingsBytes(), kSectionLine + kKind + "2\r\n" + kRepeat + "0\r\n" + kFile +
                                 path.toStdString() + "\r\n");
}

TEST_F(Dialog, LinkOpensThroughTheUrlHandlerWithTheHourglass) {
  dialogtest::UrlCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");
  Open();
  auto* link = Control<QLabel>(QStringLiteral("lbl_URL"));
  ClickOn(link, Qt::RightButton);
  EXPECT_TRUE(catcher.opened.empty());
  ClickOn(link);
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  ASSERT_EQ(catcher.opened.size(), 1u);
  EXPECT_EQ(catcher.opened.front().toString(), link->text());
  EXPECT_TRUE(catcher.busyPointerSeen);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  // Pressed on the link and released elsewhere: no click.
  dialogtest::MoveTo(link, QPoint(3, 3));
  dialogtest::Press(link, Qt::LeftButton, QPoint(3, 3));
  dialogtest::Release(dialog.get(), Qt::LeftButton, QPoint(400, 100));
  EXPECT_EQ(catcher.opened.size(), 1u);
}

// The dialog grows out of the pointer's place at opening and shrinks back into it at closing,
// even when the pointer has moved meanwhile.
TEST_F(Dialog, AnimationsStartAndEndAtThePointerOfTheOpening) {
  const QPoint origin(40, 30);
  QCursor::setPos(origin);
  dialog = std::make_unique<Lorvane_P>(WindowsPath(scratch.Path() + "/Lorvane.ini"));
  {
    dialogtest::OutlineRecorder recorder;
    dialog->Load();
    ASSERT_FALSE(recorder.rects.empty());
    EXPECT_LT((recorder.rects.front().center() - origin).manhattanLength(), 80);
    EXPECT_EQ(recorder.rects.back(), dialog->frameGeometry());
  }
  EXPECT_EQ(dialogtest::VisibleToolTips(), 0);
  dialog->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  QCursor::setPos(QPoint(700, 700));
  {
    dialogtest::OutlineRecorder recorder;
    ClickOn(Button("Cmd_Can"));
    ASSERT_FALSE(recorder.rects.empty());
    EXPECT_LE(recorder.rects.back().width(), 1);
    EXPECT_EQ(recorder.rects.back().topLeft(), origin);
  }
  EXPECT_EQ(dialogtest::VisibleToolTips(), 0);
}

TEST_F(Dialog, FocusOrderRunsThroughTheFourControls) {
  Lorvane_BGM::BgmKind = 1;
  Open();
  QWidget* order[] = {TrackBox(), Button("Cmd_File(0)"), Button("Cmd_Set"), Button("Cmd_Can")};
  ASSERT_TRUE(QTest::qWaitFor([&] { return order[0]->hasFocus(); }));
  for (int i = 1; i < 4; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(order[i]->hasFocus()) << i;
  }
}

}  // namespace
