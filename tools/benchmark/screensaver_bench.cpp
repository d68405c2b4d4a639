// The whole screensaver, Lorvane.scr /s, on a private Xvfb: time to the renderer's first frame
// with the burst, time from Escape to the front end's end, and what the front end itself costs
// while the screensaver runs (with no music, and with a WAV file looping through SDL's dummy
// audio driver).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/base/text_cp932.h"
#include "tools/benchmark/bench.h"
#include "tools/benchmark/sections.h"

namespace bench {
namespace {

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// Sees the renderer's window being mapped and destroyed, and reads its middle pixels.
class Watcher {
 public:
  explicit Watcher(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
    if (!display_) return;
    XSetErrorHandler(IgnoreXError);
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
  }
  ~Watcher() {
    if (display_) XCloseDisplay(display_);
  }
  bool Ready() const { return display_ != nullptr; }

  bool NextEvent(XEvent& event, double deadline) {
    while (!XPending(display_)) {
      double left = deadline - Now();
      if (left <= 0) return false;
      pollfd p{ConnectionNumber(display_), POLLIN, 0};
      poll(&p, 1, static_cast<int>(left * 1000) + 1);
    }
    XNextEvent(display_, &event);
    return true;
  }

  // The next top-level window mapped (the host's window is never mapped: this is the renderer's).
  std::optional<Window> WaitForMap(double deadline) {
    XEvent event;
    while (NextEvent(event, deadline))
      if (event.type == MapNotify && event.xmap.event == DefaultRootWindow(display_))
        return event.xmap.window;
    return std::nullopt;
  }

  // When the window was destroyed, or 0 if it was not within the deadline.
  double WaitForDestroy(Window window, double deadline) {
    XEvent event;
    while (NextEvent(event, deadline))
      if (event.type == DestroyNotify && event.xdestroywindow.window == window) return Now();
    return 0;
  }

  bool CentreLit(Window window, int width, int height) {
    XImage* image = XGetImage(display_, window, width / 2 - 16, height / 2 - 16, 32, 32,
                              AllPlanes, ZPixmap);
    if (!image) return false;
    bool lit = false;
    for (int y = 0; y < 32 && !lit; ++y)
      for (int x = 0; x < 32 && !lit; ++x) lit = (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
    XDestroyImage(image);
    return lit;
  }

 private:
  Display* display_ = nullptr;
};

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

// Two seconds of a 440 Hz stereo tone.
std::string ToneWav() {
  constexpr uint32_t kRate = 44100, kFrames = 2 * kRate;
  std::string pcm;
  for (uint32_t i = 0; i < kFrames; ++i) {
    auto sample = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440 * i / kRate));
    PutLe(pcm, static_cast<uint16_t>(sample), 2);
    PutLe(pcm, static_cast<uint16_t>(sample), 2);
  }
  std::string wav = "RIFF";
  PutLe(wav, static_cast<uint32_t>(36 + pcm.size()), 4);
  wav += "WAVEfmt ";
  PutLe(wav, 16, 4);
  PutLe(wav, 1, 2);
  PutLe(wav, 2, 2);
  PutLe(wav, kRate, 4);
  PutLe(wav, kRate * 4, 4);
  PutLe(wav, 4, 2);
  PutLe(wav, 16, 2);
  wav += "data";
  PutLe(wav, static_cast<uint32_t>(pcm.size()), 4);
  return wav + pcm;
}

// Peak resident memory of a running process so far, in kilobytes (VmHWM).
long PeakKilobytesOf(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

// The renderer started by the front end: the process named Lorvane.dll whose parent is the front
// end, or this program if the front end has already ended and left it orphaned.
pid_t ChildOf(pid_t parent) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ignored)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream in(entry.path() / "stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t close = stat.rfind(')');
    if (close == std::string::npos || stat.find("(Lorvane.dll)") == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 2));
    std::string state;
    pid_t ppid = 0;
    fields >> state >> ppid;
    if (ppid == parent || ppid == getpid()) return static_cast<pid_t>(std::stoi(name));
  }
  return -1;
}

struct RunFigures {
  std::vector<double> toFrame, escapeToEnd, windowGoneToEnd, cpuShare, peakMegabytes;
};

}  // namespace

void Screensaver(const Options& options) {
  constexpr int kWidth = 1280, kHeight = 720;
  // Orphans of a front end that failed to reap its renderer come here, and are collected.
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  for (bool music : {false, true}) {
    RunFigures f;
    for (int run = 0; run < options.runs; ++run) {
      VirtualDisplay display(kWidth, kHeight);
      ScratchHome home;
      Watcher x(display.Name());
      if (!display.Running() || !x.Ready()) {
        std::printf("  no virtual display\n");
        return;
      }
      auto env = home.Environment();
      env["DISPLAY"] = display.Name();
      env["QT_QPA_PLATFORM"] = "xcb";
      env["SDL_AUDIODRIVER"] = "dummy";
      // The two programs side by side in a folder of their own, with their settings.
      const std::string folder = env["HOME"] + "/prog";
      std::filesystem::create_directories(folder);
      for (const char* program : {"Lorvane.scr", "Lorvane.dll"})
        std::filesystem::copy_file(options.binFolder + "/" + program, folder + "/" + program);
      std::ofstream(folder + "/tone.wav", std::ios::binary) << ToneWav();
      std::string settings = "[Section]\r\nBGM区分=" + std::string(music ? "2" : "0") +
                             "\r\nBGMﾘﾋﾟｰﾄ=0\r\nBGMﾌｧｲﾙ=Z:" + folder + "/tone.wav\r\n";
      for (char& c : settings)
        if (c == '/') c = '\\';
      std::ofstream(folder + "/Lorvane.ini", std::ios::binary)
          << platform::Cp932FromUtf8(settings).value_or("");

      const double start = Now();
      Program frontEnd(folder + "/Lorvane.scr", {"/s"}, env);
      auto window = x.WaitForMap(start + 20);
      if (!window) {
        std::printf("  run %d: no renderer window\n", run + 1);
        continue;
      }
      const pid_t renderer = ChildOf(frontEnd.Pid());
      double framed = 0;
      while (Now() < start + 20) {
        if (x.CentreLit(*window, kWidth, kHeight)) {
          framed = Now();
          break;
        }
        poll(nullptr, 0, 1);
      }
      // The front end's own share while the screensaver runs.
      const double cpu0 = CpuSecondsOf(frontEnd.Pid()), t0 = Now();
      poll(nullptr, 0, static_cast<int>(options.seconds * 1000));
      const double cpu1 = CpuSecondsOf(frontEnd.Pid()), t1 = Now();
      const long peak = PeakKilobytesOf(frontEnd.Pid());
      const bool ranThrough = frontEnd.Wait(0) == std::nullopt;

      const double escape = Now();
      Program key("xdotool", {"key", "Escape"}, {{"DISPLAY", display.Name()}});
      const double gone = x.WaitForDestroy(*window, escape + 10);
      auto ended = frontEnd.Wait(10);
      const double end = Now();
      key.Wait(10);
      // A renderer the front end left behind came to this program: collect it.
      if (renderer > 0 && ChildOf(getpid()) == renderer) {
        kill(renderer, SIGKILL);
        waitpid(renderer, nullptr, 0);
      }
      if (framed > 0) f.toFrame.push_back(framed - start);
      if (!ranThrough) {
        std::printf("  run %d: the front end ended before Escape\n", run + 1);
        continue;
      }
      if (ended && gone > 0) {
        f.escapeToEnd.push_back(end - escape);
        f.windowGoneToEnd.push_back(end - gone);
      }
      f.cpuShare.push_back((cpu1 - cpu0) / (t1 - t0));
      f.peakMegabytes.push_back(static_cast<double>(peak) / 1024);
    }
    std::printf("  %s, %dx%d, median of %d runs\n", music ? "WAV music (SDL dummy driver)" : "no music",
                kWidth, kHeight, options.runs);
    std::printf("  Lorvane.scr /s to the renderer's first frame with the burst: %7.1f ms\n",
                Median(f.toFrame) * 1000);
    std::printf("  Escape to the front end's end:                             %7.1f ms\n",
                Median(f.escapeToEnd) * 1000);
    std::printf("    of which the renderer's window gone to the front end's end: %5.1f ms\n",
                Median(f.windowGoneToEnd) * 1000);
    std::printf("  front end while it runs: %5.2f %% of one core, peak %6.1f MB resident\n",
                Median(f.cpuShare) * 100, Median(f.peakMegabytes));
  }
}

}  // namespace bench
