// The renderer's start-up time, frame rate, CPU per frame and peak memory under Mesa's software
// renderer on a private Xvfb, beside a bare GLX loop drawing the same twelve quads.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>

#include <cstdio>
#include <optional>
#include <vector>

#include "tools/benchmark/bench.h"
#include "tools/benchmark/sections.h"

namespace bench {
namespace {

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// An X connection that sees top-level windows being mapped and damage on them.
class Observer {
 public:
  explicit Observer(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
    if (!display_) return;
    XSetErrorHandler(IgnoreXError);
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    int error = 0;
    hasDamage_ = XDamageQueryExtension(display_, &damageEvent_, &error);
  }
  ~Observer() {
    if (display_) XCloseDisplay(display_);
  }
  Display* Get() const { return display_; }
  bool HasDamage() const { return hasDamage_; }

  // Next event within the deadline (absolute, Now()).
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

  // The next top-level window mapped, and when.
  std::optional<Window> WaitForMap(double deadline, double& when) {
    XEvent event;
    while (NextEvent(event, deadline)) {
      if (event.type == MapNotify && event.xmap.event == DefaultRootWindow(display_)) {
        when = Now();
        return event.xmap.window;
      }
    }
    return std::nullopt;
  }

  // Any light in the middle 32 × 32 pixels.
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

  void Close(Window window) {
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    XSendEvent(display_, window, False, NoEventMask, &close);
    XFlush(display_);
  }

  // Damage reports on the window until the deadline, or until it goes (untilGone).
  long CountDamage(Window window, double deadline, bool untilGone) {
    Damage damage = XDamageCreate(display_, window, XDamageReportRawRectangles);
    long reports = 0;
    XEvent event;
    while (NextEvent(event, deadline)) {
      if (event.type == damageEvent_ + XDamageNotify) {
        auto& notify = reinterpret_cast<XDamageNotifyEvent&>(event);
        if (!notify.more) ++reports;
      } else if (untilGone && event.type == DestroyNotify && event.xdestroywindow.window == window) {
        return reports;
      }
    }
    XDamageDestroy(display_, damage);
    return reports;
  }

 private:
  Display* display_ = nullptr;
  bool hasDamage_ = false;
  int damageEvent_ = 0;
};

double Milliseconds(double seconds) { return seconds * 1000; }

struct FrameFigures {
  std::vector<double> fps, cpuPerFrame, xvfbPerFrame, peakMegabytes;
};

void PrintFigures(const char* what, const FrameFigures& f) {
  std::printf("  %-22s %8.1f fps  %8.2f ms CPU/frame  (+ Xvfb %5.2f ms)  peak %6.1f MB\n", what,
              Median(f.fps), Milliseconds(Median(f.cpuPerFrame)), Milliseconds(Median(f.xvfbPerFrame)),
              Median(f.peakMegabytes));
}

}  // namespace

void RendererStartup(const Options& options) {
  constexpr int kWidth = 1280, kHeight = 720;
  VirtualDisplay display(kWidth, kHeight);
  ScratchHome home;
  home.WriteSprite();
  auto env = home.Environment();
  env["DISPLAY"] = display.Name();
  Observer x(display.Name());
  if (!display.Running() || !x.Get()) {
    std::printf("  no virtual display\n");
    return;
  }
  std::vector<double> mapped, burst;
  for (int run = 0; run < options.runs; ++run) {
    const double start = Now();
    Program renderer(options.binFolder + "/Lorvane.dll", {}, env);
    double mappedAt = 0;
    auto window = x.WaitForMap(start + 20, mappedAt);
    if (!window) {
      std::printf("  run %d: no window\n", run + 1);
      continue;
    }
    double deadline = Now() + 20, burstAt = 0;
    while (Now() < deadline) {
      if (x.CentreLit(*window, kWidth, kHeight)) {
        burstAt = Now();
        break;
      }
      poll(nullptr, 0, 1);
    }
    mapped.push_back(mappedAt - start);
    if (burstAt > 0) burst.push_back(burstAt - start);
    x.Close(*window);
    renderer.Wait(10);
  }
  std::printf("  %dx%d, sprite 256x256, median of %zu runs\n", kWidth, kHeight, mapped.size());
  std::printf("  start to window mapped:          %7.1f ms\n", Milliseconds(Median(mapped)));
  std::printf("  start to first frame with burst: %7.1f ms\n", Milliseconds(Median(burst)));
}

void RendererFrames(const Options& options) {
  const int sizes[][2] = {{1280, 720}, {1920, 1080}};
  for (const auto& size : sizes) {
    VirtualDisplay display(size[0], size[1]);
    ScratchHome home;
    home.WriteSprite();
    auto env = home.Environment();
    env["DISPLAY"] = display.Name();
    Observer x(display.Name());
    if (!display.Running() || !x.Get() || !x.HasDamage()) {
      std::printf("  %dx%d: no virtual display with DAMAGE\n", size[0], size[1]);
      continue;
    }
    const std::string bare = options.toolsFolder + "/lorvane-bare-glx";

    // How many damage reports one swap gives: the bare loop draws a known number of frames.
    constexpr long kCalibrationFrames = 60;
    double reportsPerFrame = 1;
    {
      Program loop(bare, {std::to_string(kCalibrationFrames)}, env);
      double at = 0;
      if (auto window = x.WaitForMap(Now() + 20, at)) {
        long reports = x.CountDamage(*window, Now() + 60, /*untilGone=*/true);
        if (reports > 0) reportsPerFrame = static_cast<double>(reports) / kCalibrationFrames;
      }
      loop.Wait(10);
    }

    FrameFigures renderer, loop;
    for (int run = 0; run < options.runs; ++run) {
      for (bool isRenderer : {true, false}) {
        Program program(isRenderer ? options.binFolder + "/Lorvane.dll" : bare, {}, env);
        double at = 0;
        auto window = x.WaitForMap(Now() + 20, at);
        if (!window) continue;
        // Past the set-up and the first frames.
        x.CountDamage(*window, Now() + 1.0, false);
        const double cpu0 = CpuSecondsOf(program.Pid()), xvfb0 = CpuSecondsOf(display.Pid());
        const double t0 = Now();
        const long reports = x.CountDamage(*window, t0 + options.seconds, false);
        const double t1 = Now();
        const double cpu1 = CpuSecondsOf(program.Pid()), xvfb1 = CpuSecondsOf(display.Pid());
        const double frames = static_cast<double>(reports) / reportsPerFrame;
        if (isRenderer) x.Close(*window);
        else program.Signal(SIGTERM);
        auto ended = program.Wait(10);
        if (frames <= 0 || !ended) continue;
        FrameFigures& f = isRenderer ? renderer : loop;
        f.fps.push_back(frames / (t1 - t0));
        f.cpuPerFrame.push_back((cpu1 - cpu0) / frames);
        f.xvfbPerFrame.push_back((xvfb1 - xvfb0) / frames);
        f.peakMegabytes.push_back(static_cast<double>(ended->peakKilobytes) / 1024);
      }
    }
    std::printf("  %dx%d, %.0f s a run, median of %d runs (%.2f damage reports a frame)\n",
                size[0], size[1], options.seconds, options.runs, reportsPerFrame);
    PrintFigures("Lorvane.dll", renderer);
    PrintFigures("bare GLX loop", loop);
    std::printf("  renderer / bare loop: %.3f of the frame rate, %.3f of the CPU per frame\n",
                Median(renderer.fps) / Median(loop.fps),
                Median(renderer.cpuPerFrame) / Median(loop.cpuPerFrame));
  }
}

}  // namespace bench
