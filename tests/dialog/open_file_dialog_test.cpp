// The open-file dialog stand-in: its texts and start folder, case-blind patterns, Z:\ results,
// and the paths that cannot be chosen.
#include "platform/qt/open_file_dialog.h"

#include <gtest/gtest.h>

#include <QFileSystemModel>
#include <QTest>
#include <filesystem>

#include "platform/base/drives.h"
#include "platform/qt/text.h"
#include "tests/dialog/file_dialogs.h"
#include "tests/support/qt_application.h"
#include "tests/support/scratch_folder.h"

namespace {

using dialogtest::FileDialogAnswer;

QString WindowsPath(const std::string& linuxPath) {
  auto ansi = platform::WindowsPathOf(linuxPath);
  if (!ansi) return {};
  return platform::FromAnsi(QByteArray(ansi->data(), static_cast<qsizetype>(ansi->size())))
      .value_or(QString());
}

class OpenFileDialog : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::QtApplication(); }
  platform::OpenFileRequest Request(const std::string& folder) const {
    platform::OpenFileRequest request;
    request.title = QStringLiteral("ﾌｧｲﾙを開く");
    request.filterDescription = QStringLiteral("BGMﾌｧｲﾙ (MP3 WAV)");
    request.filterPatterns = QStringLiteral("*.MP3;*.WAV");
    request.initialFolder = WindowsPath(folder);
    request.pathBufferSize = 255;
    return request;
  }
  testsupport::ScratchFolder scratch;
};

TEST_F(OpenFileDialog, ShowsItsTextsAndMatchesPatternsWithoutCase) {
  for (const char* name : {"song.mp3", "LOUD.MP3", "Mixed.Wav", "notes.txt", "song.mp3.bak"}) {
    scratch.WriteFile(std::string("music/") + name, "x");
  }
  const std::string folder = scratch.Path() + "/music";
  QStringList listed;
  FileDialogAnswer answer([&](QFileDialog& dialog) {
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    const QModelIndex root = model->index(QString::fromStdString(folder));
    EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(root) >= 3; }, 5000));
    for (int i = 0; i < model->rowCount(root); ++i) {
      listed << model->fileName(model->index(i, 0, root));
    }
    dialog.reject();
  });
  EXPECT_EQ(platform::ChooseFileToOpen(Request(folder)), std::nullopt);
  ASSERT_TRUE(answer.shown);
  EXPECT_EQ(answer.title, QStringLiteral("ﾌｧｲﾙを開く"));
  ASSERT_EQ(answer.nameFilters.size(), 1);
  EXPECT_TRUE(answer.nameFilters.front().startsWith(QStringLiteral("BGMﾌｧｲﾙ (MP3 WAV)")));
  EXPECT_EQ(answer.directory, QString::fromStdString(folder));
  listed.sort();
  EXPECT_EQ(listed, (QStringList{QStringLiteral("LOUD.MP3"), QStringLiteral("Mixed.Wav"),
                                 QStringLiteral("song.mp3")}));
}

TEST_F(OpenFileDialog, ChosenFileComesBackAsAZPath) {
  scratch.WriteFile("music/song.mp3", "x");
  const std::string file = scratch.Path() + "/music/song.mp3";
  FileDialogAnswer answer(dialogtest::Choose(QString::fromStdString(file)));
  auto chosen = platform::ChooseFileToOpen(Request(scratch.Path() + "/music"));
  ASSERT_TRUE(chosen.has_value());
  EXPECT_TRUE(chosen->startsWith(QStringLiteral("Z:\\")));
  EXPECT_EQ(*chosen, WindowsPath(file));
}

// A start folder that is missing, or on a missing drive, still opens the dialog.
TEST_F(OpenFileDialog, MissingStartFolderStillOpens) {
  for (QString folder :
       {QStringLiteral("Q:\\nowhere"), QStringLiteral("Z:\\no\\such\\folder"), QString()}) {
    platform::OpenFileRequest request = Request(scratch.Path());
    request.initialFolder = folder;
    FileDialogAnswer answer(dialogtest::Cancel);
    EXPECT_EQ(platform::ChooseFileToOpen(request), std::nullopt);
    EXPECT_TRUE(answer.shown);
  }
}

// The buffer holds 255 bytes with the NUL: a path of 254 can be chosen, one of 255 cannot.
TEST_F(OpenFileDialog, PathsThatDoNotFitTheBufferCannotBeChosen) {
  const std::string base = scratch.Path() + "/";
  // Z: + the Linux path: 2 + length bytes.
  const size_t folderLength = 252 - base.size() - std::string("/a.mp3").size();
  ASSERT_LT(folderLength, 250u);
  const std::string folder = std::string(folderLength, 'f');
  scratch.WriteFile(folder + "/a.mp3", "x");
  scratch.WriteFile(folder + "/ab.mp3", "x");
  const std::string fits = base + folder + "/a.mp3";
  const std::string tooLong = base + folder + "/ab.mp3";
  ASSERT_EQ(WindowsPath(fits).size(), 254);
  ASSERT_EQ(WindowsPath(tooLong).size(), 255);

  {
    FileDialogAnswer answer(dialogtest::Choose(QString::fromStdString(fits)));
    EXPECT_EQ(platform::ChooseFileToOpen(Request(base + folder)), WindowsPath(fits));
  }
  {
    FileDialogAnswer answer(dialogtest::Choose(QString::fromStdString(tooLong)));
    EXPECT_EQ(platform::ChooseFileToOpen(Request(base + folder)), std::nullopt);
    EXPECT_TRUE(answer.shown);
  }
}

// A name that code page 932 cannot hold is never turned into another name.
TEST_F(OpenFileDialog, NamesOutsideTheCodePageCannotBeChosen) {
  scratch.WriteFile("music/caf\xC3\xA9.mp3", "x");  // é has no code page 932 form
  scratch.WriteFile("music/曲.mp3", "x");
  const QString folder = QString::fromStdString(scratch.Path() + "/music/");
  {
    FileDialogAnswer answer(dialogtest::Choose(folder + QStringLiteral("café.mp3")));
    EXPECT_EQ(platform::ChooseFileToOpen(Request(scratch.Path() + "/music")), std::nullopt);
    EXPECT_TRUE(answer.shown);
  }
  {
    FileDialogAnswer answer(dialogtest::Choose(folder + QStringLiteral("曲.mp3")));
    auto chosen = platform::ChooseFileToOpen(Request(scratch.Path() + "/music"));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_TRUE(chosen->endsWith(QStringLiteral("\\music\\曲.mp3")));
  }
}

}  // namespace
