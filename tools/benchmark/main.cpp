// lorvane-benchmark [--runs N] [--seconds S] [SECTION...]: prints speed and memory figures of
// the programs, as medians over several runs. Without sections, runs them all.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tools/benchmark/sections.h"

namespace {

struct Section {
  const char* name;
  std::function<void(const bench::Options&)> run;
};

const std::vector<Section>& Sections() {
  static const std::vector<Section> sections{
      {"renderer-startup", bench::RendererStartup},
      {"renderer-frames", bench::RendererFrames},
      {"screensaver", bench::Screensaver},
  };
  return sections;
}

}  // namespace

int main(int argc, char** argv) {
  bench::Options options;
  options.binFolder = LORVANE_BIN_DIR;
  options.toolsFolder = LORVANE_TOOLS_DIR;
  std::vector<std::string> chosen;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) {
      options.runs = std::max(1, std::atoi(argv[++i]));
    } else if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc) {
      options.seconds = std::max(0.5, std::atof(argv[++i]));
    } else {
      chosen.push_back(argv[i]);
    }
  }
  const char* threads = std::getenv("LP_NUM_THREADS");
  std::printf("Mesa llvmpipe threads (LP_NUM_THREADS): %s\n", threads ? threads : "unset (all cores)");
  for (const Section& section : Sections()) {
    bool wanted = chosen.empty();
    for (const auto& name : chosen) wanted = wanted || name == section.name;
    if (!wanted) continue;
    std::printf("\n== %s\n", section.name);
    std::fflush(stdout);
    section.run(options);
    std::fflush(stdout);
  }
  return 0;
}
