// The real interpreter on fixtures made here: a three-track CUE/BIN disc image, short WAV and MP3
// files, and SDL's "disk" audio driver, whose output file shows what was played.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "frontend/music/Lorvane_BGM.h"
#include "platform/base/drives.h"
#include "platform/media/disc_source.h"
#include "platform/media/media_commands.h"
#include "platform/qt/text.h"
#include "tests/support/child_process.h"
#include "tests/support/poll.h"
#include "tests/support/scratch_folder.h"

namespace {

using namespace std::chrono_literals;
using testsupport::PollUntil;

constexpr int kTrackSectors = 30;  // 0.4 s a track
const int16_t kTrackLevel[] = {1000, 2000, 3000};

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// 16-bit stereo 44100 Hz WAV of the given left/right samples (the same on both channels).
std::string Wav(const std::vector<int16_t>& mono) {
  std::string data;
  for (int16_t s : mono) {
    PutLe(data, static_cast<uint16_t>(s), 2);
    PutLe(data, static_cast<uint16_t>(s), 2);
  }
  std::string wav = "RIFF";
  PutLe(wav, static_cast<uint32_t>(36 + data.size()), 4);
  wav += "WAVEfmt ";
  PutLe(wav, 16, 4);
  PutLe(wav, 1, 2);
  PutLe(wav, 2, 2);
  PutLe(wav, 44100, 4);
  PutLe(wav, 44100 * 4, 4);
  PutLe(wav, 4, 2);
  PutLe(wav, 16, 2);
  wav += "data";
  PutLe(wav, static_cast<uint32_t>(data.size()), 4);
  return wav + data;
}

std::vector<int16_t> Tone(int frames) {
  std::vector<int16_t> samples(static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i) samples[i] = static_cast<int16_t>(i / 50 % 2 ? 8000 : -8000);
  return samples;
}

// Runs body with this process's stderr going to a file; returns what was written there.
template <typename Body>
std::string StderrOf(const std::string& file, Body body) {
  std::fflush(stderr);
  int saved = ::dup(2);
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ::dup2(fd, 2);
  ::close(fd);
  body();
  std::fflush(stderr);
  ::dup2(saved, 2);
  ::close(saved);
  std::ifstream in(file);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string WindowsPath(const std::string& linux) { return *platform::WindowsPathOf(linux); }

class RealMedia : public ::testing::Test {
 protected:
  void SetUp() override {
    output = scratch.Path() + "/played.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    // Three audio tracks, each filled with its own level, so the output shows which one played.
    std::string bin;
    for (int t = 0; t < 3; ++t) {
      for (int i = 0; i < kTrackSectors * platform::kCdSamplesPerSector * 2; ++i) {
        PutLe(bin, static_cast<uint16_t>(kTrackLevel[t]), 2);
      }
    }
    scratch.WriteFile("disc.bin", bin);
    scratch.WriteFile("disc.cue",
                      "FILE \"disc.bin\" BINARY\n"
                      "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                      "  TRACK 02 AUDIO\n    INDEX 01 00:00:30\n"
                      "  TRACK 03 AUDIO\n    INDEX 01 00:01:00\n");
    cue = scratch.Path() + "/disc.cue";
  }
  void TearDown() override { Lorvane_BGM::MCI_Shutdown(); }

  std::unique_ptr<platform::MediaCommands> Interpreter() {
    return platform::CreateMediaCommands(platform::DiscImage(cue));
  }
  void UseInModule() { Lorvane_BGM::UseMediaCommands(Interpreter()); }

  // Left-channel samples written by the disk driver so far.
  std::vector<int16_t> Played() const {
    std::ifstream in(output, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> left;
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4) {
      left.push_back(static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                          (static_cast<uint8_t>(bytes[i + 1]) << 8)));
    }
    return left;
  }

  // The levels other than silence that were held for at least 10 ms, in order, repeats
  // collapsed. A restart by the next poll leaves a moment of silence, which is skipped.
  std::vector<int16_t> Levels() const {
    std::vector<int16_t> levels;
    auto played = Played();
    std::size_t i = 0;
    while (i < played.size()) {
      std::size_t j = i;
      while (j < played.size() && played[j] == played[i]) ++j;
      if (j - i >= 441 && played[i] != 0 && (levels.empty() || levels.back() != played[i])) {
        levels.push_back(played[i]);
      }
      i = j;
    }
    return levels;
  }

  static bool Contains(const std::vector<int16_t>& levels, const std::vector<int16_t>& run) {
    return std::search(levels.begin(), levels.end(), run.begin(), run.end()) != levels.end();
  }

  uint32_t Send(platform::MediaCommands& media, const std::string& command, std::string* reply = nullptr) {
    char buffer[512];
    uint32_t code = media.Send(command, buffer, sizeof buffer);
    if (reply) *reply = buffer;
    return code;
  }

  std::string MakeMp3(const std::string& name, int frames) {
    scratch.WriteFile("tone.wav", Wav(Tone(frames)));
    testsupport::ChildProcess lame("/usr/bin/lame", {"--quiet", scratch.Path() + "/tone.wav",
                                                     scratch.Path() + "/" + name});
    EXPECT_EQ(lame.WaitForExit(20s), 0);
    return scratch.Path() + "/" + name;
  }

  testsupport::ScratchFolder scratch;
  std::string output;
  std::string cue;
};

TEST_F(RealMedia, DiscAnswersInTrackTime) {
  auto media = Interpreter();
  std::string reply;
  ASSERT_EQ(Send(*media, "open cdaudio"), 0u);
  EXPECT_EQ(Send(*media, "open cdaudio"), platform::kMediaAliasInUse);
  EXPECT_EQ(Send(*media, "set cdaudio time format tmsf"), 0u);
  EXPECT_EQ(Send(*media, "status cdaudio number of tracks", &reply), 0u);
  EXPECT_EQ(reply, "3");
  EXPECT_EQ(Send(*media, "status cdaudio mode", &reply), 0u);
  EXPECT_EQ(reply, "stopped");
  EXPECT_EQ(Send(*media, "status cdaudio position track 2", &reply), 0u);
  EXPECT_EQ(reply, "02:00:00:00");
  EXPECT_EQ(Send(*media, "status cdaudio position track 4"), platform::kMediaBadTrack);
  for (const char* bad : {"play cdaudio from 4", "play cdaudio from 02:00:61:00", "play cdaudio from x",
                          "play cdaudio from 02:00:00:00:00", "play cdaudio from", "play cdaudio to 1 to 2"}) {
    EXPECT_NE(Send(*media, bad), 0u) << bad;
  }
  ASSERT_EQ(Send(*media, "play cdaudio from " + std::string("02:00:00:00")), 0u);
  EXPECT_EQ(Send(*media, "status cdaudio mode", &reply), 0u);
  EXPECT_EQ(reply, "playing");
  EXPECT_TRUE(PollUntil([&] { return Send(*media, "status cdaudio current track", &reply) == 0 && reply == "3"; },
                        5s, 10ms));
  EXPECT_TRUE(PollUntil([&] { return Send(*media, "status cdaudio mode", &reply) == 0 && reply == "stopped"; },
                        5s, 10ms));
  // Played out to the end of the disc, it stands at its start again.
  EXPECT_EQ(Send(*media, "status cdaudio position", &reply), 0u);
  EXPECT_EQ(reply, "01:00:00:00");
  EXPECT_EQ(Send(*media, "close cdaudio"), 0u);
  EXPECT_EQ(Send(*media, "status cdaudio mode"), platform::kMediaUnknownDevice);
  EXPECT_TRUE(Contains(Levels(), {2000, 3000}));
  EXPECT_FALSE(Contains(Levels(), {1000}));
}

TEST_F(RealMedia, ChosenTrackRepeats) {
  UseInModule();
  Lorvane_BGM::BgmRepeat = 2;
  Lorvane_BGM::CD_Open();
  bool repeated = PollUntil([&] {
    Lorvane_BGM::CD_Poll();
    return Contains(Levels(), {2000, 3000, 2000});
  }, 10s, 50ms);
  EXPECT_TRUE(repeated);
  EXPECT_TRUE(Lorvane_BGM::CD_Polling);
  EXPECT_FALSE(Contains(Levels(), {1000}));
  Lorvane_BGM::CD_Close();
  Lorvane_BGM::BgmRepeat = 0;
}

TEST_F(RealMedia, WholeDiscRepeats) {
  UseInModule();
  Lorvane_BGM::BgmRepeat = 0;
  Lorvane_BGM::CD_Open();
  EXPECT_TRUE(PollUntil([&] {
    Lorvane_BGM::CD_Poll();
    return Contains(Levels(), {1000, 2000, 3000, 1000});
  }, 10s, 50ms));
  EXPECT_TRUE(Lorvane_BGM::CD_Polling);
  Lorvane_BGM::CD_Close();
}

TEST_F(RealMedia, NoDiscStopsThePolling) {
  cue = scratch.Path() + "/missing.cue";
  UseInModule();
  Lorvane_BGM::CD_Open();
  Lorvane_BGM::CD_Poll();
  EXPECT_FALSE(Lorvane_BGM::CD_Polling);
  EXPECT_EQ(Lorvane_BGM::MCI_Query(QStringLiteral("status cdaudio mode")),
            QStringLiteral("Error:%1").arg(platform::kMediaUnknownDevice));
}

TEST_F(RealMedia, Mp3ThatEndedIsRestartedByThePoll) {
  // A name with a space and a lower-case ending.
  Lorvane_BGM::BgmFile = *platform::FromAnsi(QByteArray::fromStdString(
      WindowsPath(MakeMp3("short tone.mp3", 44100 / 4))));
  UseInModule();
  Lorvane_BGM::MP3_Open();
  EXPECT_TRUE(Lorvane_BGM::MP3_IsPlaying());
  // Sound, a stretch of silence after its end, then sound again.
  auto bursts = [&] {
    auto played = Played();
    int count = 0;
    std::size_t quiet = 4410;
    for (int16_t s : played) {
      if (std::abs(s) > 1000) {
        if (quiet >= 2205) ++count;
        quiet = 0;
      } else {
        ++quiet;
      }
    }
    return count;
  };
  EXPECT_TRUE(PollUntil([&] {
    Lorvane_BGM::MP3_Poll();
    return bursts() >= 2;
  }, 10s, 100ms));
  Lorvane_BGM::MP3_Close();
  EXPECT_FALSE(Lorvane_BGM::MP3_IsPlaying());
}

TEST_F(RealMedia, WavLoopsUntilStopped) {
  std::vector<int16_t> level(4410, 1234);  // 0.1 s
  scratch.WriteFile("loop.wav", Wav(level));
  Lorvane_BGM::BgmFile =
      *platform::FromAnsi(QByteArray::fromStdString(WindowsPath(scratch.Path() + "/loop.wav")));
  UseInModule();
  Lorvane_BGM::WAV_Play();
  // Looping: far more of the level than the file holds, without a gap.
  EXPECT_TRUE(PollUntil([&] {
    auto played = Played();
    std::size_t run = 0, best = 0;
    for (int16_t s : played) {
      run = s == 1234 ? run + 1 : 0;
      best = std::max(best, run);
    }
    return best >= 4 * level.size();
  }, 10s, 20ms));
  Lorvane_BGM::WAV_Stop();
  std::size_t stoppedAt = Played().size();
  ASSERT_TRUE(PollUntil([&] { return Played().size() >= stoppedAt + 3 * 4410; }, 10s, 20ms));
  auto played = Played();
  for (std::size_t i = stoppedAt + 4410; i < played.size(); ++i) ASSERT_EQ(played[i], 0) << i;
}

TEST_F(RealMedia, NoAudioDeviceMeansNothingOpens) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  std::string mp3 = WindowsPath(MakeMp3("a.mp3", 4410));
  scratch.WriteFile("a.wav", Wav(std::vector<int16_t>(4410, 5)));
  std::string errors = StderrOf(scratch.Path() + "/stderr.txt", [&] {
    auto media = Interpreter();
    EXPECT_EQ(Send(*media, "open \"" + mp3 + "\" type MPEGVideo Alias MP3Play"),
              platform::kMediaNoAudioOutput);
    EXPECT_EQ(Send(*media, "open cdaudio"), platform::kMediaNoAudioOutput);
    EXPECT_EQ(media->WaveOutputCount(), 0u);
    EXPECT_FALSE(media->PlaySound(WindowsPath(scratch.Path() + "/a.wav").c_str(), 9));
  });
  EXPECT_EQ(errors, "");
}

TEST_F(RealMedia, BadInputsFailCleanly) {
  std::string good = MakeMp3("good.mp3", 4410);
  std::string bytes = scratch.ReadFile("good.mp3");
  scratch.WriteFile("q\"uote.mp3", bytes);
  scratch.WriteFile("cut.mp3", bytes.substr(0, bytes.size() / 3));
  scratch.WriteFile("text.mp3", "this is not audio at all\n");
  scratch.WriteFile("empty.wav", "");
  ASSERT_EQ(::mkfifo((scratch.Path() + "/pipe.mp3").c_str(), 0600), 0);
  auto in = [&](const std::string& name) { return WindowsPath(scratch.Path() + "/" + name); };
  auto open = [&](const std::string& path) { return "open \"" + path + "\" type MPEGVideo Alias MP3Play"; };
  auto media = Interpreter();

  const struct {
    std::string command;
    uint32_t code;
  } cases[] = {
      {open(in("q\"uote.mp3")), platform::kMediaSyntax},
      {open("x\" type cdaudio alias MP3Play \""), platform::kMediaSyntax},
      {open("x\" alias \"y"), platform::kMediaSyntax},
      {open(in("text.mp3")), platform::kMediaBadFile},
      {open(scratch.Path()), platform::kMediaBadPath},  // a Linux path, no drive
      {open(WindowsPath(scratch.Path())), platform::kMediaFileNotFound},  // a folder
      {open(in("")), platform::kMediaFileNotFound},
      {open(in(std::string(4000, 'a') + ".mp3")), platform::kMediaFileNotFound},
      {open(in("missing.mp3")), platform::kMediaFileNotFound},
      {open(in("pipe.mp3")), platform::kMediaFileNotFound},  // never waits for a writer
      {"open \"" + in("good.mp3") + "\" type waveaudio alias x", platform::kMediaUnknownType},
      {"open \"" + in("good.mp3"), platform::kMediaSyntax},
      {"frobnicate cdaudio", platform::kMediaUnknownCommand},
      {"status nothing mode", platform::kMediaUnknownDevice},
      {"status MP3Play mode", platform::kMediaUnknownDevice},
      {"", platform::kMediaEmptyCommand},
  };
  std::string errors = StderrOf(scratch.Path() + "/stderr.txt", [&] {
    for (const auto& c : cases) EXPECT_EQ(Send(*media, c.command), c.code) << c.command;
  });
  EXPECT_EQ(errors, "");

  // A truncated file plays what it holds and then stops.
  if (Send(*media, open(in("cut.mp3"))) == 0) {
    EXPECT_EQ(Send(*media, "play MP3Play"), 0u);
    std::string mode;
    EXPECT_TRUE(PollUntil([&] { return Send(*media, "status MP3Play mode", &mode) == 0 && mode == "stopped"; },
                          5s, 20ms));
    EXPECT_EQ(Send(*media, "close MP3Play"), 0u);
  }
  EXPECT_FALSE(media->PlaySound(in("empty.wav").c_str(), 9));
  EXPECT_FALSE(media->PlaySound(scratch.Path().c_str(), 9));
  EXPECT_FALSE(media->PlaySound("SystemAsterisk", 9));
  EXPECT_FALSE(media->PlaySound(in("good.mp3").c_str(), 9));  // a WAV player only
  EXPECT_FALSE(media->PlaySound(in("pipe.mp3").c_str(), 9));

  char text[256];
  for (uint32_t code = platform::kMediaUnknownCommand; code <= platform::kMediaEmptyCommand; ++code) {
    EXPECT_TRUE(media->ErrorText(code, text, sizeof text)) << code;
  }
  for (uint32_t code : {0u, 1u, 263u, 9999u}) EXPECT_FALSE(media->ErrorText(code, text, sizeof text));
}

}  // namespace
