// The music module's command sequences, against a recording stand-in for the interpreter.
#include <gtest/gtest.h>

#include "frontend/music/Lorvane_BGM.h"
#include "tests/music/recording_media.h"

namespace {

using musictest::Answer;
using musictest::RecordingMedia;
using Strings = std::vector<std::string>;

class BgmCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    auto recorder = std::make_unique<RecordingMedia>();
    media = recorder.get();
    Lorvane_BGM::UseMediaCommands(std::move(recorder));
    Lorvane_BGM::BgmKind = 0;
    Lorvane_BGM::BgmRepeat = 0;
    Lorvane_BGM::BgmFile.clear();
  }
  void TearDown() override { Lorvane_BGM::UseMediaCommands(nullptr); }

  // Sends a mode reply that clears what earlier tests left in the module's mode buffers.
  void AnswerCd(const std::string& current, const std::string& mode) {
    media->answers["status cdaudio current track"] = {0, current};
    media->answers["status cdaudio number of tracks"] = {0, "3"};
    media->answers["status cdaudio mode"] = {0, mode};
  }

  RecordingMedia* media = nullptr;
};

TEST_F(BgmCommands, SendGivesTheReplyOrTheErrorText) {
  QString reply;
  EXPECT_EQ(Lorvane_BGM::MCI_Send(QString(), reply), -1);
  EXPECT_EQ(reply, QStringLiteral("コマンド文字列が指定されていません"));
  EXPECT_TRUE(media->sent.empty());

  // A short reply after a long one comes back alone, without the rest of the buffer.
  media->answers["status a"] = {0, std::string(600, 'x')};
  media->answers["status b"] = {0, "2"};
  EXPECT_EQ(Lorvane_BGM::MCI_Send(QStringLiteral("status a"), reply), 0);
  EXPECT_EQ(reply, QString(511, QLatin1Char('x')));
  EXPECT_EQ(Lorvane_BGM::MCI_Send(QStringLiteral("status b"), reply), 0);
  EXPECT_EQ(reply, QStringLiteral("2"));
  EXPECT_EQ(media->replySizes.back(), 512u);

  media->answers["bad"] = {277, ""};
  media->errorTexts[277] = "refused";
  EXPECT_EQ(Lorvane_BGM::MCI_Send(QStringLiteral("bad"), reply), 277);
  EXPECT_EQ(reply, QStringLiteral("refused"));

  media->answers["worse"] = {9999, ""};
  EXPECT_EQ(Lorvane_BGM::MCI_Send(QStringLiteral("worse"), reply), 9999);
  EXPECT_EQ(reply, QStringLiteral("Error (文字列が取れません)"));
}

TEST_F(BgmCommands, QueryReportsFailureAsErrorAndCode) {
  media->answers["status cdaudio mode"] = {0, "playing"};
  EXPECT_EQ(Lorvane_BGM::MCI_Query(QStringLiteral("status cdaudio mode")), QStringLiteral("playing"));
  media->answers["status x mode"] = {263, ""};
  media->errorTexts[263] = "no such device";
  EXPECT_EQ(Lorvane_BGM::MCI_Query(QStringLiteral("status x mode")), QStringLiteral("Error:263"));
  EXPECT_EQ(Lorvane_BGM::MCI_Reply, QStringLiteral("no such device"));
  EXPECT_EQ(Lorvane_BGM::MCI_Query(QString()), QStringLiteral("Error:-1"));
}

TEST_F(BgmCommands, PlayBuildsItsCommand) {
  const struct {
    const char* start;
    const char* end;
    const char* command;
  } cases[] = {
      {"", "", "play cdaudio"},
      {"", "02:00:00:00", "play cdaudio to 02:00:00:00"},
      {"03:00:00:00", "", "play cdaudio from 03:00:00:00"},
      {"01:00:00:00", "02:00:00:00", "play cdaudio from 01:00:00:00 to 02:00:00:00"},
  };
  for (const auto& c : cases) {
    Lorvane_BGM::MCI_Play(QStringLiteral("cdaudio"), QString::fromUtf8(c.start),
                          QString::fromUtf8(c.end));
    EXPECT_EQ(media->sent.back(), c.command);
  }
}

TEST_F(BgmCommands, CdOpenAndClose) {
  Lorvane_BGM::CD_Open();
  Lorvane_BGM::CD_Close();
  EXPECT_EQ(media->sent, (Strings{"open cdaudio", "set cdaudio time format tmsf", "stop cdaudio",
                                  "close cdaudio"}));
  EXPECT_EQ(media->replySizes, (std::vector<std::size_t>{0, 0, 0, 0}));
}

TEST_F(BgmCommands, CdPollRestartsTheDiscOrTheTrack) {
  const Strings status = {"status cdaudio current track", "status cdaudio number of tracks",
                          "status cdaudio mode"};
  auto with = [&](std::initializer_list<std::string> more) {
    Strings all = status;
    all.insert(all.end(), more);
    return all;
  };
  const struct {
    int16_t repeat;
    const char* current;
    const char* mode;
    Strings expected;
  } cases[] = {
      {0, "2", "stopped", with({"play cdaudio"})},
      {0, "2", "playing", status},
      {0, "abc", "stopped", with({"play cdaudio"})},  // the number is read only for a chosen track
      {0, "2", "Stopped", status},                     // compared case-sensitively
      {0, "2", "stoppedXYZ", with({"play cdaudio"})},  // on its first 7 characters
      {3, "3", "playing", status},
      {3, "4", "playing",
       with({"status cdaudio position track 3", "play cdaudio from 03:00:00:00"})},
      {3, "3", "stopped",
       with({"status cdaudio position track 3", "play cdaudio from 03:00:00:00"})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.current) + " " + c.mode);
    media->sent.clear();
    Lorvane_BGM::BgmRepeat = c.repeat;
    AnswerCd(c.current, c.mode);
    media->answers["status cdaudio position track 3"] = {0, "03:00:00:00"};
    Lorvane_BGM::CD_Poll();
    EXPECT_EQ(media->sent, c.expected);
    EXPECT_TRUE(Lorvane_BGM::CD_Polling);
  }
}

TEST_F(BgmCommands, CdPollStopsPollingWhenTheTrackQueriesFail) {
  media->errorTexts[1013] = "no disc";
  AnswerCd("Error (eRr)", "stopped");
  Lorvane_BGM::CD_Poll();
  EXPECT_FALSE(Lorvane_BGM::CD_Polling);
  EXPECT_EQ(media->sent, (Strings{"status cdaudio current track"}));

  media->sent.clear();
  media->answers["status cdaudio current track"] = {1013, ""};
  Lorvane_BGM::CD_Poll();
  EXPECT_FALSE(Lorvane_BGM::CD_Polling);
  EXPECT_EQ(media->sent.size(), 1u);

  media->sent.clear();
  AnswerCd("1", "stopped");
  media->answers["status cdaudio number of tracks"] = {1013, ""};
  Lorvane_BGM::CD_Poll();
  EXPECT_FALSE(Lorvane_BGM::CD_Polling);
  EXPECT_EQ(media->sent.size(), 2u);

  // A current track that is no number cannot be compared with the chosen track.
  media->sent.clear();
  Lorvane_BGM::BgmRepeat = 2;
  AnswerCd("two", "stopped");
  Lorvane_BGM::CD_Poll();
  EXPECT_FALSE(Lorvane_BGM::CD_Polling);
  EXPECT_EQ(media->sent.size(), 3u);
}

TEST_F(BgmCommands, CdTrackBeyondTheDiscSendsTheErrorAsPosition) {
  Lorvane_BGM::BgmRepeat = 9;
  AnswerCd("1", "playing");
  media->answers["status cdaudio position track 9"] = {1007, ""};
  media->answers["play cdaudio from Error:1007"] = {1006, ""};
  Lorvane_BGM::CD_Poll();
  EXPECT_TRUE(Lorvane_BGM::CD_Polling);
  EXPECT_EQ(media->sent.back(), "play cdaudio from Error:1007");
}

TEST_F(BgmCommands, CdModeBufferKeepsWhatTheLastQueryLeft) {
  AnswerCd("1", "stopped");
  Lorvane_BGM::CD_Poll();
  media->sent.clear();
  media->answers["status cdaudio mode"] = {1003, "", true};  // fails, writes nothing
  Lorvane_BGM::CD_Poll();
  EXPECT_EQ(media->sent.back(), "play cdaudio");
  EXPECT_EQ(media->replySizes.back(), 512u);
  EXPECT_EQ(media->replySizes[media->replySizes.size() - 2], 255u);
}

TEST_F(BgmCommands, Mp3OpensPlaysAndRestartsWhenNotPlaying) {
  Lorvane_BGM::BgmFile = QStringLiteral("Z:\\tmp\\my songs\\曲.mp3");
  Lorvane_BGM::MP3_Open();
  const std::string open = "open \"Z:\\tmp\\my songs\\\x8b\xc8.mp3\" type MPEGVideo Alias MP3Play";
  EXPECT_EQ(media->sent, (Strings{open, "play MP3Play"}));

  const struct {
    const char* mode;
    Strings expected;
  } cases[] = {
      {"playing", {"status MP3Play mode"}},
      {"stopped", {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}},
      {"paused", {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}},
      {"not ready", {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}},
      {"playin", {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}},
  };
  for (const auto& c : cases) {
    media->sent.clear();
    media->answers["status MP3Play mode"] = {0, c.mode};
    Lorvane_BGM::MP3_Poll();
    EXPECT_EQ(media->sent, c.expected) << c.mode;
    EXPECT_EQ(media->replySizes[media->replySizes.size() - c.expected.size()], 30u);
  }

  media->sent.clear();
  Lorvane_BGM::MP3_Close();
  EXPECT_EQ(media->sent, (Strings{"stop MP3Play", "close MP3Play"}));
}

TEST_F(BgmCommands, Mp3ThatCannotBeOpenedIsNotPlayed) {
  Lorvane_BGM::BgmFile = QStringLiteral("Z:\\missing.mp3");
  media->answers["open \"Z:\\missing.mp3\" type MPEGVideo Alias MP3Play"] = {1009, ""};
  Lorvane_BGM::MP3_Open();
  EXPECT_EQ(media->sent.size(), 1u);
}

TEST_F(BgmCommands, WavLoopsOnlyWithAnOutputDevice) {
  Lorvane_BGM::BgmFile = QStringLiteral("Z:\\a b\\loop.wav");
  Lorvane_BGM::WAV_Play();
  Lorvane_BGM::WAV_Stop();
  ASSERT_EQ(media->sounds.size(), 2u);
  EXPECT_EQ(media->sounds[0].name, std::optional<std::string>("Z:\\a b\\loop.wav"));
  EXPECT_EQ(media->sounds[0].flags, 9u);
  EXPECT_EQ(media->sounds[1].name, std::nullopt);
  EXPECT_EQ(media->sounds[1].flags, 0u);

  media->sounds.clear();
  media->waveDevices = 0;
  Lorvane_BGM::WAV_Play();
  EXPECT_TRUE(media->sounds.empty());
}

}  // namespace
