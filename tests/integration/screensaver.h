#pragma once
// The real programs side by side in a program folder of their own, on a private X server, with
// SDL's disk audio driver recording what the front end plays.
#include <sys/types.h>

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/x11_windows.h"
#include "tests/support/xvfb_server.h"

namespace integration {

// The state letter of a process ('Z' for a zombie), 0 once it is gone.
char ProcessState(pid_t pid);
// The first child of parent whose program file is named name.
std::optional<pid_t> ChildNamed(pid_t parent, const std::string& name);
// Kills and reaps a program that the front end left behind. The test process adopts such orphans
// (it is their subreaper), so that a program the front end failed to reap shows as a zombie here.
void EndOrphan(pid_t pid);
// A one-second 440 Hz stereo tone as a WAV file.
std::string ToneWav();

class Screensaver : public ::testing::Test {
 protected:
  void SetUp() override;

  std::string ProgramFolder() const { return scratch.Path() + "/prog"; }
  std::string TextureFile() const { return scratch.DriveC() + "/ostrik/Lorvane.bmp"; }
  std::string AudioFile() const { return scratch.Path() + "/audio.raw"; }
  // The Z:\ path of a file in the scratch folder.
  std::string WindowsPath(const std::string& relative) const;
  // Lorvane.ini beside the programs, in code page 932; file is a Windows path (UTF-8 here).
  void WriteSettings(int kind, int repeat, const std::string& file) const;
  // Replaces the renderer beside the front end with a script.
  void ReplaceRenderer(const std::string& script, unsigned mode = 0755) const;

  std::map<std::string, std::string> Environment() const;
  std::unique_ptr<testsupport::ChildProcess> StartFrontEnd(const std::vector<std::string>& args);
  // Waits for the renderer's window to be mapped.
  bool RendererWindowShown();
  bool Xdotool(const std::vector<std::string>& args) const;
  // Whether the disk output holds any sample louder than near silence.
  bool MusicRecorded() const;

  std::unique_ptr<testsupport::XvfbServer> xvfb =
      std::make_unique<testsupport::XvfbServer>(320, 240);
  testsupport::XConnection x{xvfb->Display()};
  testsupport::ScratchFolder scratch;
};

}  // namespace integration
