#pragma once
// The benchmark's measurements, one file each; main.cpp lists them by name.
#include <string>

namespace bench {

struct Options {
  int runs = 5;          // runs whose median is printed
  double seconds = 5.0;  // length of each frame-rate measurement
  std::string binFolder;    // Lorvane.dll (and later Lorvane.scr)
  std::string toolsFolder;  // helper programs of the benchmark
};

// Renderer: time to the window being mapped and to the first frame that shows the burst.
void RendererStartup(const Options& options);
// Renderer beside the bare GLX loop: frames per second, CPU per frame, peak memory.
void RendererFrames(const Options& options);
// Lorvane.scr /s: to the renderer's first frame, Escape to the front end's end, and the front
// end's CPU and memory while the screensaver runs.
void Screensaver(const Options& options);

}  // namespace bench
