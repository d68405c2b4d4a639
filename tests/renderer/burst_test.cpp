// The burst: its generator, the set-up and first frame figures, brightness, re-spawn and turning
// edges, and identical frames for identical frame times.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "renderer/burst.h"
#include "renderer/frame_clock.h"
#include "renderer/random.h"
#include "tests/renderer/bitmap_fixture.h"
#include "tests/renderer/gl_window.h"
#include "tests/support/scratch_folder.h"

namespace {

using renderer::Particles;

// The state a fresh process starts with.
void FreshStart(const renderertest::GlWindow& window) {
  renderer::RandomState = 1;
  renderer::Particles = {};
  renderer::SceneAngle = {};
  renderer::dt = 0.0f;
  renderer::ClientWidth = window.Width();
  renderer::ClientHeight = window.Height();
}

TEST(Generator, FirstValuesAndRandomUpTo) {
  renderer::RandomState = 1;
  std::vector<int> values;
  for (int i = 0; i < 7; ++i) values.push_back(renderer::RandomValue());
  EXPECT_EQ(values, (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724, 11478}));

  // value × 2^-15 × x, exactly, in double precision.
  struct Case {
    double x;
    double expected;
  };
  const Case cases[] = {
      {360, 41 * 360 / 32768.0},
      {1, 18467 / 32768.0},
      {0.3f, 6334 / 32768.0 * 0.30000001192092896},
  };
  renderer::RandomState = 1;
  for (const Case& c : cases) EXPECT_EQ(renderer::RandomUpTo(c.x), c.expected) << c.x;
}

class Burst : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Ready());
    home_.UseAsHome();
    FreshStart(window_);
  }
  renderertest::GlWindow window_;
  testsupport::ScratchFolder home_;
};

struct Spawned {
  float angle, red, green, blue, growth, limit;
};

void ExpectParticle(int i, const Spawned& s) {
  EXPECT_EQ(Particles.Angle[i], s.angle) << i;
  EXPECT_EQ(Particles.Red[i], s.red) << i;
  EXPECT_EQ(Particles.Green[i], s.green) << i;
  EXPECT_EQ(Particles.Blue[i], s.blue) << i;
  EXPECT_EQ(Particles.Growth[i], s.growth) << i;
  EXPECT_EQ(Particles.Limit[i], s.limit) << i;
}

TEST_F(Burst, InitSceneGivesParticleZeroItsFigures) {
  EXPECT_TRUE(renderer::InitScene());
  // The growth figure holds only with the single-precision 0.3 and one rounding.
  ExpectParticle(0, {0.450439453125f, 0.563568115234375f, 0.19329833984375f, 0.8087158203125f,
                     0.6754974722862244f, 1.4798583984375f});
  EXPECT_EQ(Particles.Scale[0], 3.35028076171875f);
  for (int i = 0; i < renderer::kParticleCount; ++i) {
    EXPECT_GE(Particles.Scale[i], 3.0f);
    EXPECT_LT(Particles.Limit[i], 2.0f);
  }
}

TEST_F(Burst, FirstFrameIsBlackAndRespawnsAllWithDraws85To156) {
  renderer::InitScene();
  const std::uint32_t after84 = renderer::RandomState;
  renderer::dt = 0.75f;  // the first frame's dt includes the set-up
  renderer::DrawScene();

  for (std::uint8_t byte : window_.BackBuffer()) ASSERT_EQ(byte, 0);
  for (int i = 0; i < renderer::kParticleCount; ++i) EXPECT_EQ(Particles.Scale[i], 0.0f) << i;
  ExpectParticle(0, {206.0595703125f, 0.361328125f, 0.15155029296875f, 0.22509765625f,
                     0.6275421380996704f, 1.8028564453125f});
  ExpectParticle(11, {70.55419921875f, 0.76129150390625f, 0.83941650390625f,
                      0.39764404296875f, 0.6502655148506165f, 1.89013671875f});
  EXPECT_EQ(after84, 1307733797u);
  EXPECT_EQ(renderer::RandomState, 4059069773u);  // 156 draws in all
}

// One red, untextured particle that covers the centre, drawn with the given scale and limit.
TEST_F(Burst, BrightnessIsFullUntilOneUnitBeforeTheLimitThenFades) {
  renderer::InitScene();
  glDisable(GL_TEXTURE_2D);
  struct Case {
    float scale, limit;
    double brightness;
    int red;
  };
  const Case cases[] = {
      {0.75f, 1.75f, 1.0, 255},  // limit − 1: still full
      {1.0f, 1.75f, 0.75, 191},
      {1.25f, 1.75f, 0.5, 128},
      {1.75f, 1.75f, 0.0, 0},    // at the limit: dark
  };
  for (const Case& c : cases) {
    EXPECT_EQ(renderer::Brightness(c.scale, c.limit), c.brightness) << c.scale;
    Particles.Scale[0] = c.scale;
    Particles.Limit[0] = c.limit;
    Particles.Red[0] = 1.0f;
    Particles.Green[0] = Particles.Blue[0] = Particles.Angle[0] = 0.0f;
    renderer::dt = 0.0f;
    glClear(GL_COLOR_BUFFER_BIT);
    renderer::DrawParticle(0);
    auto centre = window_.PixelAt(window_.Width() / 2, window_.Height() / 2);
    EXPECT_NEAR(centre[0], c.red, 1) << c.scale;
    EXPECT_EQ(centre[1], 0);
  }
}

TEST_F(Burst, RespawnsOnlyWhenTheScaleGoesStrictlyPastTheLimit) {
  renderer::InitScene();
  struct Case {
    float limit;
    bool respawned;
  };
  // 1.25 + 0.5 × 0.5 lands exactly on 1.5.
  const Case cases[] = {{1.5f, false}, {1.4999999f, true}, {1.75f, false}};
  for (const Case& c : cases) {
    Particles.Scale[3] = 1.25f;
    Particles.Growth[3] = 0.5f;
    Particles.Limit[3] = c.limit;
    renderer::dt = 0.5f;
    const std::uint32_t before = renderer::RandomState;
    renderer::DrawParticle(3);
    if (c.respawned) {
      EXPECT_EQ(Particles.Scale[3], 0.0f) << c.limit;
      std::uint32_t sixLater = before;
      for (int draw = 0; draw < 6; ++draw) sixLater = sixLater * 214013u + 2531011u;
      EXPECT_EQ(renderer::RandomState, sixLater) << c.limit;
    } else {
      EXPECT_EQ(Particles.Scale[3], 1.5f) << c.limit;
      EXPECT_EQ(renderer::RandomState, before) << c.limit;
    }
  }
}

TEST_F(Burst, SceneAnglesWrapOncePerFrame) {
  renderer::InitScene();
  struct Case {
    float start, frameTime, x, y, z;
  };
  const Case cases[] = {
      {355, 1, 360, 5, 2},          // exactly 360 stays
      {0, 100, 140, 640, 340},      // far past 360: back by 360 once only
      {359.5f, 0.1f, 360, 0.5f, 0.2f},
  };
  for (const Case& c : cases) {
    renderer::SceneAngle = {c.start, c.start, c.start};
    renderer::dt = c.frameTime;
    renderer::DrawScene();
    EXPECT_NEAR(renderer::SceneAngle.X, c.x, 1e-4) << c.start;
    EXPECT_NEAR(renderer::SceneAngle.Y, c.y, 1e-4) << c.start;
    EXPECT_NEAR(renderer::SceneAngle.Z, c.z, 1e-4) << c.start;
  }
}

TEST_F(Burst, SameFrameTimesDrawIdenticalFrames) {
  home_.WriteFile("home/.local/share/lorvane/drive_c/ostrik/Lorvane.bmp",
                  renderertest::SoftBlobFile());
  auto run = [this] {
    FreshStart(window_);
    renderer::InitScene();
    std::vector<std::vector<std::uint8_t>> frames;
    for (int frame = 0; frame < 40; ++frame) {
      renderer::dt = frame == 0 ? 0.6f : 0.037f + 0.003f * static_cast<float>(frame % 5);
      renderer::DrawScene();
      frames.push_back(window_.BackBuffer());
    }
    return frames;
  };
  auto first = run();
  auto second = run();
  ASSERT_EQ(first.size(), second.size());
  for (size_t i = 0; i < first.size(); ++i) EXPECT_TRUE(first[i] == second[i]) << "frame " << i;

  // Not trivially equal: the burst has grown by then and lights the centre.
  const auto& last = first.back();
  size_t centre = (static_cast<size_t>(window_.Height() / 2) * window_.Width() + window_.Width() / 2) * 3;
  EXPECT_GT(last[centre] + last[centre + 1] + last[centre + 2], 60);
}

TEST(FrameClock, FirstFrameTimeRunsFromTheStartCount) {
  renderer::FrameClock clock;
  clock.Start(1'000'000'000, 7'000'000'000);
  EXPECT_EQ(clock.Advance(8'500'000'000), 1.5f);  // the set-up time is in the first frame
  EXPECT_EQ(clock.Advance(9'000'000'000), 0.5f);
  EXPECT_EQ(clock.ElapsedTime, 2.0f);
}

}  // namespace
