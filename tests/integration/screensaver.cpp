#include "tests/integration/screensaver.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/base/drives.h"
#include "platform/base/text_cp932.h"
#include "tests/support/poll.h"

namespace integration {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

}  // namespace

char ProcessState(pid_t pid) {
  std::string stat = ReadAll("/proc/" + std::to_string(pid) + "/stat");
  size_t close = stat.rfind(')');
  return close != std::string::npos && close + 2 < stat.size() ? stat[close + 2] : 0;
}

std::optional<pid_t> ChildNamed(pid_t parent, const std::string& name) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ignored)) {
    std::string file = entry.path().filename();
    if (file.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string stat = ReadAll(entry.path().string() + "/stat");
    size_t open = stat.find('('), close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close + 4 >= stat.size())
      continue;
    if (stat.substr(open + 1, close - open - 1) != name.substr(0, 15)) continue;
    pid_t ppid = std::stoi(stat.substr(stat.find(' ', close + 3) + 1));
    if (ppid == parent) return static_cast<pid_t>(std::stoi(file));
  }
  return std::nullopt;
}

void EndOrphan(pid_t pid) {
  if (pid <= 0 || ProcessState(pid) == 0) return;
  kill(pid, SIGKILL);
  testsupport::PollUntil([&] {
    waitpid(pid, nullptr, WNOHANG);
    return ProcessState(pid) == 0;
  }, std::chrono::seconds(5));
}

std::string ToneWav() {
  constexpr uint32_t kRate = 44100, kFrames = 44100;
  std::string pcm;
  for (uint32_t i = 0; i < kFrames; ++i) {
    auto sample = static_cast<int16_t>(8000 * std::sin(2 * 3.14159265358979 * 440 * i / kRate));
    PutLe(pcm, static_cast<uint16_t>(sample), 2);
    PutLe(pcm, static_cast<uint16_t>(sample), 2);
  }
  std::string wav = "RIFF";
  PutLe(wav, static_cast<uint32_t>(36 + pcm.size()), 4);
  wav += "WAVEfmt ";
  PutLe(wav, 16, 4);
  PutLe(wav, 1, 2);  // PCM
  PutLe(wav, 2, 2);  // channels
  PutLe(wav, kRate, 4);
  PutLe(wav, kRate * 4, 4);
  PutLe(wav, 4, 2);
  PutLe(wav, 16, 2);
  wav += "data";
  PutLe(wav, static_cast<uint32_t>(pcm.size()), 4);
  return wav + pcm;
}

void Screensaver::SetUp() {
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  ASSERT_TRUE(xvfb->Running());
  ASSERT_TRUE(x);
  std::filesystem::create_directories(ProgramFolder());
  for (const char* program : {"Lorvane.scr", "Lorvane.dll"}) {
    std::filesystem::copy_file(std::string(LORVANE_BIN_DIR) + "/" + program,
                               ProgramFolder() + "/" + program);
  }
}

std::string Screensaver::WindowsPath(const std::string& relative) const {
  auto cp932 = platform::WindowsPathOf(scratch.Path() + "/" + relative);
  auto utf8 = cp932 ? platform::Utf8FromCp932(*cp932) : std::nullopt;
  return utf8 ? *utf8 : std::string();
}

void Screensaver::WriteSettings(int kind, int repeat, const std::string& file) const {
  std::string text = "[Section]\r\nBGM区分=" + std::to_string(kind) + "\r\nBGMﾘﾋﾟｰﾄ=" +
                     std::to_string(repeat) + "\r\nBGMﾌｧｲﾙ=" + file + "\r\n";
  scratch.WriteFile("prog/Lorvane.ini", platform::Cp932FromUtf8(text).value_or(""));
}

void Screensaver::ReplaceRenderer(const std::string& script, unsigned mode) const {
  std::filesystem::remove(ProgramFolder() + "/Lorvane.dll");
  scratch.WriteFile("prog/Lorvane.dll", script);
  chmod((ProgramFolder() + "/Lorvane.dll").c_str(), static_cast<mode_t>(mode));
}

std::map<std::string, std::string> Screensaver::Environment() const {
  auto env = scratch.HomeEnvironment();
  env["DISPLAY"] = xvfb->Display();
  env["QT_QPA_PLATFORM"] = "xcb";
  env["SDL_AUDIODRIVER"] = "disk";
  env["SDL_DISKAUDIOFILE"] = AudioFile();
  return env;
}

std::unique_ptr<testsupport::ChildProcess> Screensaver::StartFrontEnd(
    const std::vector<std::string>& args) {
  return std::make_unique<testsupport::ChildProcess>(ProgramFolder() + "/Lorvane.scr", args,
                                                     Environment(),
                                                     scratch.Path() + "/frontend.log");
}

bool Screensaver::RendererWindowShown() {
  return testsupport::PollUntil([&] {
    auto window = x.TopLevelTitled("Lorvane_VC");
    auto geometry = window ? x.GeometryOf(*window) : std::nullopt;
    return geometry && geometry->mapped;
  }, std::chrono::seconds(20));
}

bool Screensaver::Xdotool(const std::vector<std::string>& args) const {
  testsupport::ChildProcess tool("/usr/bin/xdotool", args, {{"DISPLAY", xvfb->Display()}});
  return tool.WaitForExit(std::chrono::seconds(10)) == 0;
}

bool Screensaver::MusicRecorded() const {
  std::string pcm = ReadAll(AudioFile());
  for (size_t i = 0; i + 1 < pcm.size(); i += 2) {
    auto sample = static_cast<int16_t>(static_cast<uint8_t>(pcm[i]) |
                                       static_cast<uint8_t>(pcm[i + 1]) << 8);
    if (sample > 1000 || sample < -1000) return true;
  }
  return false;
}

}  // namespace integration
