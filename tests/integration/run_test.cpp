// Lorvane.scr /s end to end: the texture file, the renderer, the music, and every way a run ends.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QImage>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "frontend/resources/pictures.h"
#include "platform/qt/picture_file.h"
#include "tests/integration/screensaver.h"
#include "tests/support/poll.h"

namespace integration {
namespace {

using namespace std::chrono_literals;
using testsupport::PollUntil;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The texture file the front end must write: its own sprite picture in the renderer's layout.
std::string ExpectedTexture() {
  QImage sprite(resources::PicturePath(QStringLiteral("cloud_sprite.png")));
  QByteArray bytes = platform::BitmapFileOf(sprite);
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

class Run : public Screensaver {
 protected:
  // Starts `Lorvane.scr args`, waits for the renderer's window and finds the renderer process.
  void StartRun(const std::vector<std::string>& args = {"/s"}) {
    frontEnd = StartFrontEnd(args);
    ASSERT_TRUE(frontEnd->Started());
    ASSERT_TRUE(RendererWindowShown()) << ReadAll(scratch.Path() + "/frontend.log");
    auto pid = ChildNamed(frontEnd->Pid(), "Lorvane.dll");
    ASSERT_TRUE(pid);
    renderer = *pid;
  }
  // The front end has ended with code 0 and the renderer is gone, not left as a zombie.
  void ExpectBothGone(std::chrono::milliseconds deadline) {
    EXPECT_EQ(frontEnd->WaitForExit(deadline), 0) << ReadAll(scratch.Path() + "/frontend.log");
    EXPECT_EQ(ProcessState(renderer), 0) << "renderer left behind";
  }
  void TearDown() override { EndOrphan(renderer); }

  std::unique_ptr<testsupport::ChildProcess> frontEnd;
  pid_t renderer = -1;
};

TEST_F(Run, WholeRunWithMusicEndsOnEscape) {
  scratch.WriteFile("music/tone.wav", ToneWav());
  WriteSettings(2, 0, WindowsPath("music/tone.wav"));
  StartRun();

  EXPECT_TRUE(ReadAll(TextureFile()) == ExpectedTexture());
  auto host = x.TopLevelTitled("Lorvane_Main");
  ASSERT_TRUE(host);
  EXPECT_FALSE(x.GeometryOf(*host)->mapped);
  EXPECT_TRUE(PollUntil([&] { return MusicRecorded(); })) << "no music in the disk output";

  auto pressed = std::chrono::steady_clock::now();
  ASSERT_TRUE(Xdotool({"key", "Escape"}));
  ExpectBothGone(3s);
  auto took = std::chrono::steady_clock::now() - pressed;
  EXPECT_LT(took, 2s) << "the front end is to end at its next 500 ms tick";
  EXPECT_FALSE(x.TopLevelTitled("Lorvane_Main"));
}

TEST_F(Run, MusicByTheNamesLastThreeLetters) {
  // An MP3 named in lower case and a WAV in upper case play; the same bytes named ".ogg" play
  // nothing.
  scratch.WriteFile("tone.wav", ToneWav());
  testsupport::ChildProcess lame("/usr/bin/lame", {"--quiet", scratch.Path() + "/tone.wav",
                                                   scratch.Path() + "/tone.mp3"});
  ASSERT_EQ(lame.WaitForExit(20s), 0);
  struct Case { const char* source; const char* name; bool plays; };
  for (Case c : {Case{"tone.mp3", "song.mp3", true}, Case{"tone.wav", "tone.WAV", true},
                 Case{"tone.wav", "tone.ogg", false}}) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(AudioFile());
    scratch.WriteFile(std::string("music/") + c.name, ReadAll(scratch.Path() + "/" + c.source));
    WriteSettings(2, 0, WindowsPath(std::string("music/") + c.name));
    StartRun();
    if (c.plays) {
      EXPECT_TRUE(PollUntil([&] { return MusicRecorded(); }));
    }
    ASSERT_TRUE(Xdotool({"key", "Escape"}));
    ExpectBothGone(5s);
    // The music starts while the host loads, before the renderer has a window; a player
    // started for a file of another type would have opened the audio output by then.
    if (!c.plays) {
      EXPECT_FALSE(std::filesystem::exists(AudioFile()));
    }
  }
}

TEST_F(Run, KilledRendererEndsTheFrontEndAtItsNextTick) {
  scratch.WriteFile("music/tone.wav", ToneWav());
  WriteSettings(2, 0, WindowsPath("music/tone.wav"));
  StartRun();
  ASSERT_TRUE(PollUntil([&] { return MusicRecorded(); }));
  kill(renderer, SIGKILL);
  ExpectBothGone(3s);
}

TEST_F(Run, AnEmptyArgumentStringRunsTheSame) {
  StartRun({});
  EXPECT_TRUE(ReadAll(TextureFile()) == ExpectedTexture());
  ASSERT_TRUE(Xdotool({"key", "Escape"}));
  ExpectBothGone(5s);
}

TEST_F(Run, ARendererSlowToShowItsWindowKeepsTheRunGoing) {
  // A renderer whose window comes well after the host's first check, as software GL on a busy
  // machine does: the run goes on with its music until Escape.
  std::filesystem::rename(ProgramFolder() + "/Lorvane.dll", ProgramFolder() + "/slow-renderer");
  ReplaceRenderer("#!/bin/sh\nsleep 1.5\nexec \"$(dirname \"$0\")/slow-renderer\"\n");
  scratch.WriteFile("music/tone.wav", ToneWav());
  WriteSettings(2, 0, WindowsPath("music/tone.wav"));
  frontEnd = StartFrontEnd({"/s"});
  ASSERT_TRUE(RendererWindowShown());
  auto pid = ChildNamed(frontEnd->Pid(), "slow-renderer");
  ASSERT_TRUE(pid);
  renderer = *pid;
  EXPECT_TRUE(frontEnd->Running());
  EXPECT_TRUE(PollUntil([&] { return MusicRecorded(); }));
  ASSERT_TRUE(Xdotool({"key", "Escape"}));
  ExpectBothGone(5s);
}

TEST_F(Run, ASecondRunEndsAtOnceAndLeavesTheFirst) {
  StartRun();
  testsupport::ChildProcess second(ProgramFolder() + "/Lorvane.scr", {"/s"}, Environment());
  EXPECT_EQ(second.WaitForExit(10s), 0);
  EXPECT_EQ(x.TopLevelsTitled("Lorvane_VC").size(), 1u);
  EXPECT_TRUE(frontEnd->Running());
  ASSERT_TRUE(Xdotool({"key", "Escape"}));
  ExpectBothGone(5s);
}

TEST_F(Run, TheTextureNeverGoesThroughALinkPlantedAtItsPath) {
  std::filesystem::create_directories(scratch.DriveC() + "/ostrik");
  scratch.WriteFile("victim", "precious");
  ASSERT_EQ(symlink((scratch.Path() + "/victim").c_str(), TextureFile().c_str()), 0);
  StartRun();
  EXPECT_EQ(scratch.ReadFile("victim"), "precious");
  struct stat st {};
  ASSERT_EQ(lstat(TextureFile().c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_TRUE(ReadAll(TextureFile()) == ExpectedTexture());
  ASSERT_TRUE(Xdotool({"key", "Escape"}));
  ExpectBothGone(5s);
}

TEST_F(Run, WithoutATextureFolderTheRendererRunsAnyway) {
  // A file where the folder must be: nothing can be written there, not even by root.
  scratch.WriteFile("home/.local/share/lorvane/drive_c/ostrik", "in the way");
  StartRun();
  EXPECT_EQ(scratch.ReadFile("home/.local/share/lorvane/drive_c/ostrik"), "in the way");
  ASSERT_TRUE(Xdotool({"key", "Escape"}));
  ExpectBothGone(5s);
}

TEST_F(Run, ARendererThatCannotRunEndsTheRunAtTheFirstTick) {
  struct Case { const char* what; const char* script; unsigned mode; };
  for (Case c : {Case{"not executable", "#!/bin/sh\nexit 0\n", 0644},
                 Case{"crashing at start", "#!/bin/sh\nkill -SEGV $$\n", 0755},
                 Case{"not a program", "no interpreter line\n", 0755}}) {
    SCOPED_TRACE(c.what);
    scratch.WriteFile("music/tone.wav", ToneWav());
    WriteSettings(2, 0, WindowsPath("music/tone.wav"));
    ReplaceRenderer(c.script, c.mode);
    auto run = StartFrontEnd({"/s"});
    ASSERT_TRUE(run->Started());
    EXPECT_EQ(run->WaitForExit(10s), 0);
    EXPECT_TRUE(std::filesystem::exists(TextureFile()));
    EXPECT_FALSE(ChildNamed(run->Pid(), "Lorvane.dll")) << "renderer left as a zombie";
  }
}

TEST_F(Run, SignalsFromTheSystemEndTheRunAndLeaveTheRenderer) {
  for (int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    scratch.WriteFile("music/tone.wav", ToneWav());
    WriteSettings(2, 0, WindowsPath("music/tone.wav"));
    StartRun();
    ASSERT_TRUE(PollUntil([&] { return MusicRecorded(); }));
    frontEnd->Signal(signal);
    EXPECT_EQ(frontEnd->WaitForExit(5s), 0);
    // The renderer is not the front end's to close; it ends on its own Escape.
    EXPECT_TRUE(x.TopLevelTitled("Lorvane_VC"));
    ASSERT_TRUE(Xdotool({"key", "Escape"}));
    EXPECT_TRUE(PollUntil([&] { return !x.TopLevelTitled("Lorvane_VC"); }));
    EndOrphan(renderer);
  }
}

TEST_F(Run, TheXServerGoingAwayEndsTheRun) {
  // A server of its own: the fixture's connection would take the test down with it.
  auto server = std::make_unique<testsupport::XvfbServer>(320, 240);
  ASSERT_TRUE(server->Running());
  auto env = Environment();
  env["DISPLAY"] = server->Display();
  testsupport::ChildProcess run(ProgramFolder() + "/Lorvane.scr", {"/s"}, env);
  {
    testsupport::XConnection own(server->Display());
    ASSERT_TRUE(PollUntil([&] { return own.TopLevelTitled("Lorvane_VC").has_value(); }, 20s));
  }
  renderer = ChildNamed(run.Pid(), "Lorvane.dll").value_or(-1);
  server.reset();
  EXPECT_TRUE(run.WaitForExit(10s).has_value());
  EXPECT_EQ(ProcessState(renderer), 0) << "renderer left behind";
}

TEST_F(Run, AMusicFileDeletedDuringTheRunStopsNothingElse) {
  scratch.WriteFile("music/tone.wav", ToneWav());
  WriteSettings(2, 0, WindowsPath("music/tone.wav"));
  StartRun();
  std::filesystem::remove(scratch.Path() + "/music/tone.wav");
  ASSERT_TRUE(Xdotool({"key", "Escape"}));
  ExpectBothGone(5s);
}

}  // namespace
}  // namespace integration
