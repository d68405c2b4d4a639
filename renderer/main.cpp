// Lorvane.dll: covers the primary monitor with one borderless window and draws the burst, one
// frame whenever no X event is pending, until Escape or a close request. The exit code is 0 on
// every path, without a display too.
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <climits>
#include <optional>

#include "platform/base/counter.h"
#include "renderer/burst.h"
#include "renderer/frame_clock.h"

namespace {

constexpr char kClassName[] = "Lorvane_VC";

// Process-wide state of the frame; the one thread touches it.
Display* TheDisplay = nullptr;
Window MainWindow = 0;
GLXContext RenderingContext = nullptr;
Colormap WindowColormap = 0;
Cursor ArrowCursor = 0;
Cursor BlankCursor = 0;
Atom WmProtocols = 0;
Atom WmDeleteWindow = 0;
bool Running = false;     // frames are drawn only while set
bool QuitPosted = false;  // the window is gone: the loop ends
int CursorDisplayCount = 0;
renderer::FrameClock Clock;

// Errors of optional requests (focus on a window a manager has not mapped yet, a window that
// went away) must not end the program, as Xlib's default handler would.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// The display went away with the window on it: nothing is left to do.
int EndOnLostDisplay(Display*) { _exit(0); }

struct ScreenArea {
  int x = 0, y = 0, width = 0, height = 0;
};

// RandR's primary output; the whole screen where there is none.
ScreenArea PrimaryMonitor(Display* display, int screen) {
  ScreenArea area{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (!XRRQueryExtension(display, &eventBase, &errorBase) ||
      !XRRQueryVersion(display, &major, &minor) || (major == 1 && minor < 3) || major < 1)
    return area;
  Window root = RootWindow(display, screen);
  RROutput primary = XRRGetOutputPrimary(display, root);
  if (!primary) return area;
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
  if (!resources) return area;
  if (XRROutputInfo* output = XRRGetOutputInfo(display, resources, primary)) {
    if (output->crtc) {
      if (XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, output->crtc)) {
        if (crtc->width > 0 && crtc->height > 0)
          area = {crtc->x, crtc->y, static_cast<int>(crtc->width), static_cast<int>(crtc->height)};
        XRRFreeCrtcInfo(crtc);
      }
    }
    XRRFreeOutputInfo(output);
  }
  XRRFreeScreenResources(resources);
  return area;
}

int GlxValue(Display* display, XVisualInfo* visual, int attribute) {
  int value = 0;
  return glXGetConfig(display, visual, attribute, &value) == 0 ? value : 0;
}

// A double-buffered RGBA visual of the screen's colour depth with a depth buffer of at least
// 16 bits, the closest to 16 and with the fewest extra buffers first. nullopt without GLX.
std::optional<XVisualInfo> SetupPixelFormat(Display* display, int screen) {
  XVisualInfo wanted{};
  wanted.screen = screen;
  wanted.depth = DefaultDepth(display, screen);
  int count = 0;
  XVisualInfo* visuals =
      XGetVisualInfo(display, VisualScreenMask | VisualDepthMask, &wanted, &count);
  std::optional<XVisualInfo> chosen;
  int chosenCost = INT_MAX;
  for (int i = 0; i < count; ++i) {
    XVisualInfo* v = &visuals[i];
    if (!GlxValue(display, v, GLX_USE_GL) || !GlxValue(display, v, GLX_RGBA) ||
        !GlxValue(display, v, GLX_DOUBLEBUFFER) || GlxValue(display, v, GLX_STEREO) ||
        GlxValue(display, v, GLX_LEVEL) != 0)
      continue;
    int depthBits = GlxValue(display, v, GLX_DEPTH_SIZE);
    if (depthBits < 16) continue;
    int cost = (depthBits - 16) * 64 + GlxValue(display, v, GLX_STENCIL_SIZE) +
               GlxValue(display, v, GLX_ACCUM_RED_SIZE) + GlxValue(display, v, GLX_AUX_BUFFERS);
    if (cost < chosenCost) {
      chosen = *v;
      chosenCost = cost;
    }
  }
  if (visuals) XFree(visuals);
  return chosen;
}

// The process's cursor display count: below zero, the window shows a blank cursor.
void ShowCursor(bool show) {
  int before = CursorDisplayCount;
  if (show) {
    if (CursorDisplayCount < INT_MAX) ++CursorDisplayCount;
  } else if (CursorDisplayCount > INT_MIN) {
    --CursorDisplayCount;
  }
  if (!MainWindow || (before < 0) == (CursorDisplayCount < 0)) return;
  XDefineCursor(TheDisplay, MainWindow, CursorDisplayCount < 0 ? BlankCursor : ArrowCursor);
}

void WmSize(int width, int height) {
  renderer::ClientWidth = width;
  renderer::ClientHeight = height;
  glViewport(0, 0, width, height == 0 ? 1 : height);
}

void WmPaint() {
  ShowCursor(false);
  if (!Running) return;
  renderer::dt = Clock.Advance(platform::PerformanceCount());
  renderer::DrawScene();
  if (RenderingContext) glXSwapBuffers(TheDisplay, MainWindow);
}

// The window is going: the context goes with it and the loop ends.
void WmDestroy() {
  if (RenderingContext) {
    glXMakeCurrent(TheDisplay, None, nullptr);
    glXDestroyContext(TheDisplay, RenderingContext);
    RenderingContext = nullptr;
  }
  QuitPosted = true;
}

void DestroyWindow() {
  if (!MainWindow) return;
  WmDestroy();
  XDestroyWindow(TheDisplay, MainWindow);
  MainWindow = 0;
}

void WndProc(XEvent& event) {
  switch (event.type) {
    case ConfigureNotify:
      if (event.xconfigure.window == MainWindow &&
          (event.xconfigure.width != renderer::ClientWidth ||
           event.xconfigure.height != renderer::ClientHeight))
        WmSize(event.xconfigure.width, event.xconfigure.height);
      break;
    case MapNotify:
      // Escape must reach the window.
      if (event.xmap.window == MainWindow)
        XSetInputFocus(TheDisplay, MainWindow, RevertToParent, CurrentTime);
      break;
    case KeyPress:
      if (XLookupKeysym(&event.xkey, 0) == XK_Escape) {
        ShowCursor(true);
        DestroyWindow();
      }
      break;
    case ClientMessage:
      if (event.xclient.message_type == WmProtocols && event.xclient.format == 32 &&
          static_cast<Atom>(event.xclient.data.l[0]) == WmDeleteWindow)
        DestroyWindow();
      break;
    case DestroyNotify:
      // Destroyed by someone else.
      if (event.xdestroywindow.window == MainWindow) {
        WmDestroy();
        MainWindow = 0;
      }
      break;
    default:
      // Every other key, the mouse and exposure: the next idle pass paints anyway.
      break;
  }
}

void SetWindowProperties(Display* display, Window window, const ScreenArea& area) {
  XStoreName(display, window, kClassName);
  Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(kClassName),
                  sizeof kClassName - 1);
  char name[] = "Lorvane_VC";
  XClassHint classHint{name, name};
  XSetClassHint(display, window, &classHint);

  XSizeHints sizeHints{};
  sizeHints.flags = USPosition | USSize | PPosition | PSize;
  sizeHints.x = area.x;
  sizeHints.y = area.y;
  sizeHints.width = area.width;
  sizeHints.height = area.height;
  XSetWMNormalHints(display, window, &sizeHints);
  XWMHints wmHints{};
  wmHints.flags = InputHint | StateHint;
  wmHints.input = True;
  wmHints.initial_state = NormalState;
  XSetWMHints(display, window, &wmHints);
  XSetWMProtocols(display, window, &WmDeleteWindow, 1);

  // No decorations: flags = decorations given, decorations = none.
  long motifHints[5] = {1L << 1, 0, 0, 0, 0};
  Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(display, window, motif, motif, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(motifHints), 5);
  // Full screen, read by a window manager when the window is mapped; not kept above others.
  Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32,
                  PropModeReplace, reinterpret_cast<unsigned char*>(&fullScreen), 1);
}

Cursor MakeBlankCursor(Display* display, Window root) {
  char empty = 0;
  Pixmap bits = XCreateBitmapFromData(display, root, &empty, 1, 1);
  XColor black{};
  Cursor cursor = XCreatePixmapCursor(display, bits, bits, &black, &black, 0, 0);
  XFreePixmap(display, bits);
  return cursor;
}

int WinMain() {
  Running = false;
  TheDisplay = XOpenDisplay(nullptr);
  if (!TheDisplay) return 0;
  XSetErrorHandler(IgnoreXError);
  XSetIOErrorHandler(EndOnLostDisplay);
  const int screen = DefaultScreen(TheDisplay);
  const Window root = RootWindow(TheDisplay, screen);
  WmProtocols = XInternAtom(TheDisplay, "WM_PROTOCOLS", False);
  WmDeleteWindow = XInternAtom(TheDisplay, "WM_DELETE_WINDOW", False);
  ArrowCursor = XCreateFontCursor(TheDisplay, XC_left_ptr);
  BlankCursor = MakeBlankCursor(TheDisplay, root);

  std::optional<XVisualInfo> visual = SetupPixelFormat(TheDisplay, screen);
  Visual* windowVisual = visual ? visual->visual : DefaultVisual(TheDisplay, screen);
  WindowColormap = XCreateColormap(TheDisplay, root, windowVisual, AllocNone);
  const ScreenArea area = PrimaryMonitor(TheDisplay, screen);

  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;  // nothing is erased before a frame
  attributes.border_pixel = 0;
  attributes.colormap = WindowColormap;
  attributes.cursor = ArrowCursor;
  attributes.event_mask = KeyPressMask | StructureNotifyMask | ExposureMask;
  MainWindow = XCreateWindow(
      TheDisplay, root, area.x, area.y, static_cast<unsigned>(area.width),
      static_cast<unsigned>(area.height), 0, DefaultDepth(TheDisplay, screen), InputOutput,
      windowVisual, CWBackPixmap | CWBorderPixel | CWColormap | CWCursor | CWEventMask,
      &attributes);
  if (!MainWindow) return 0;
  SetWindowProperties(TheDisplay, MainWindow, area);

  // The context is current from creation on; without one nothing is drawn, and the program
  // still runs until Escape.
  if (visual) {
    RenderingContext = glXCreateContext(TheDisplay, &*visual, nullptr, True);
    if (RenderingContext) glXMakeCurrent(TheDisplay, MainWindow, RenderingContext);
  }
  WmSize(area.width, area.height);

  XMapWindow(TheDisplay, MainWindow);
  WmPaint();  // before the set-up: hides the pointer, draws nothing

  Clock.Start(platform::kPerformanceFrequency, platform::PerformanceCount());
  if (!renderer::InitScene()) return 0;
  Running = true;

  // Every pending event first; then exactly one frame. No timer, no sleep.
  while (!QuitPosted) {
    while (!QuitPosted && XPending(TheDisplay) > 0) {
      XEvent event;
      XNextEvent(TheDisplay, &event);
      WndProc(event);
    }
    if (!QuitPosted) WmPaint();
  }
  Running = false;

  XFreeCursor(TheDisplay, BlankCursor);
  XFreeCursor(TheDisplay, ArrowCursor);
  XFreeColormap(TheDisplay, WindowColormap);
  XCloseDisplay(TheDisplay);
  TheDisplay = nullptr;
  return 0;
}

}  // namespace

int main() { return WinMain(); }
