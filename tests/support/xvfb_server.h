#pragma once
// A private X server for one test: Xvfb on a free display that it picks itself (-displayfd),
// stopped and reaped when the object goes.
#include <sys/types.h>

#include <string>

namespace testsupport {

class XvfbServer {
 public:
  explicit XvfbServer(int width = 320, int height = 240, int depth = 24);
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool Running() const { return !display_.empty(); }
  // ":N", for DISPLAY.
  const std::string& Display() const { return display_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
  int width_;
  int height_;
};

}  // namespace testsupport
