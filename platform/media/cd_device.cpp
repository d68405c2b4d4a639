#include "platform/media/cd_device.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/media/media_commands.h"

namespace platform {

namespace {

constexpr std::size_t kSamplesPerSector = kCdSamplesPerSector * 2;
// Read ahead of the callback: one second, topped up at every command (the poll comes every
// 200 ms). A slow drive gets at most kReadTime per command, so that no command waits long.
constexpr int kReadAheadSectors = kCdFramesPerSecond;
constexpr int kReadChunk = 15;
constexpr auto kReadTime = std::chrono::milliseconds(30);
constexpr std::size_t kQueueSamples = 2 * kReadAheadSectors * kSamplesPerSector;

enum class TimeFormat { Tmsf, Msf, Milliseconds };

// "12:34:56:70" -> numbers; at most `count` fields of 1 to 3 digits.
std::optional<std::vector<int>> Fields(std::string_view text, std::size_t count) {
  std::vector<int> fields;
  std::size_t start = 0;
  while (true) {
    std::size_t colon = text.find(':', start);
    std::string_view part = text.substr(start, colon == std::string_view::npos ? colon : colon - start);
    if (part.empty() || part.size() > 3) return std::nullopt;
    int value = 0;
    auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (error != std::errc() || end != part.data() + part.size()) return std::nullopt;
    fields.push_back(value);
    if (fields.size() > count) return std::nullopt;
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  return fields;
}

class CdDevice final : public MediaDevice {
 public:
  CdDevice(std::unique_ptr<Disc> disc, AudioOutput& output)
      : disc_(std::move(disc)), output_(output) {
    position_ = DiscStart();
    output_.SetPostMixQueue(&queue_);
  }
  ~CdDevice() override { output_.SetPostMixQueue(nullptr); }

  void Pump() override {
    if (!playing_) return;
    std::vector<uint8_t> buffer(static_cast<std::size_t>(kReadChunk) * kCdBytesPerSector);
    auto deadline = std::chrono::steady_clock::now() + kReadTime;
    while (readNext_ < playEnd_ && std::chrono::steady_clock::now() < deadline &&
           queue_.Queued() < static_cast<std::size_t>(kReadAheadSectors) * kSamplesPerSector) {
      int count = std::min<int>(kReadChunk, playEnd_ - readNext_);
      if (!disc_->ReadAudio(readNext_, count, buffer.data())) {
        // An unreadable stretch ends the play where reading stopped; the next play skips it.
        playEnd_ = readNext_;
        skip_ = count;
        break;
      }
      std::vector<int16_t> samples(static_cast<std::size_t>(count) * kSamplesPerSector);
      for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(buffer[2 * i] | (buffer[2 * i + 1] << 8));
      }
      queue_.Push(samples.data(), samples.size());
      readNext_ += count;
    }
    uint64_t total = static_cast<uint64_t>(playEnd_ - playStart_) * kSamplesPerSector;
    if (queue_.Consumed() >= total) {
      // Played to the end: a disc played out goes back to its start, as drives do.
      playing_ = false;
      position_ = std::min(playEnd_ + skip_, disc_->DiscEnd());
      skip_ = 0;
      if (position_ >= disc_->DiscEnd() || !disc_->IsAudioTrack(TrackOf(position_))) {
        position_ = DiscStart();
      }
      queue_.Clear();
    }
  }

  uint32_t Play(const std::optional<std::string>& from,
                const std::optional<std::string>& to) override {
    int32_t start = CurrentSector();
    int32_t end = disc_->DiscEnd();
    if (from) {
      auto sector = ParsePosition(*from);
      if (!sector) return kMediaBadPosition;
      start = *sector;
    }
    if (to) {
      auto sector = ParsePosition(*to);
      if (!sector) return kMediaBadPosition;
      end = *sector;
    }
    if (start >= disc_->DiscEnd()) start = from ? start : DiscStart();
    if (start < DiscStart() || start >= end || end > disc_->DiscEnd()) return kMediaBadPosition;
    // Data sectors are no audio: play never starts in a data track and stops before the next one.
    int track = TrackOf(start);
    if (!disc_->IsAudioTrack(track)) return kMediaUnsupported;
    for (int t = track + 1; t <= disc_->LastTrack(); ++t) {
      if (!disc_->IsAudioTrack(t)) {
        end = std::min(end, disc_->TrackStart(t));
        break;
      }
    }
    queue_.Clear();
    playStart_ = start;
    readNext_ = start;
    playEnd_ = end;
    playing_ = true;
    paused_ = false;
    skip_ = 0;
    Pump();
    return kMediaOk;
  }

  uint32_t Stop() override {
    Halt();
    paused_ = false;
    return kMediaOk;
  }
  uint32_t Pause() override {
    if (playing_) {
      Halt();
      paused_ = true;
    }
    return kMediaOk;
  }
  uint32_t Resume() override {
    if (!paused_) return kMediaOk;
    int32_t end = pausedEnd_;
    paused_ = false;
    if (position_ >= end) return kMediaOk;
    queue_.Clear();
    playStart_ = readNext_ = position_;
    playEnd_ = end;
    playing_ = true;
    Pump();
    return kMediaOk;
  }

  uint32_t Status(std::string_view item, std::string& reply) override {
    if (item == "mode") {
      reply = playing_ ? "playing" : paused_ ? "paused" : "stopped";
    } else if (item == "current track") {
      reply = std::to_string(TrackOf(CurrentSector()));
    } else if (item == "number of tracks") {
      reply = std::to_string(disc_->LastTrack() - disc_->FirstTrack() + 1);
    } else if (item == "position") {
      reply = Format(CurrentSector());
    } else if (item.starts_with("position track ")) {
      auto track = TrackNumber(item.substr(15));
      if (!track) return kMediaBadTrack;
      reply = Format(disc_->TrackStart(*track));
    } else if (item == "media present" || item == "ready") {
      reply = "true";
    } else if (item == "time format") {
      reply = format_ == TimeFormat::Tmsf ? "tmsf" : format_ == TimeFormat::Msf ? "msf" : "milliseconds";
    } else {
      return kMediaSyntax;
    }
    return kMediaOk;
  }

  uint32_t SetTimeFormat(std::string_view format) override {
    if (format == "tmsf") {
      format_ = TimeFormat::Tmsf;
    } else if (format == "msf") {
      format_ = TimeFormat::Msf;
    } else if (format == "milliseconds" || format == "ms") {
      format_ = TimeFormat::Milliseconds;
    } else {
      return kMediaUnsupported;
    }
    return kMediaOk;
  }

 private:
  // The first audio track's start (a mixed-mode disc may begin with data).
  int32_t DiscStart() const {
    for (int t = disc_->FirstTrack(); t <= disc_->LastTrack(); ++t) {
      if (disc_->IsAudioTrack(t)) return disc_->TrackStart(t);
    }
    return disc_->TrackStart(disc_->FirstTrack());
  }

  int32_t CurrentSector() {
    if (!playing_) return position_;
    auto played = static_cast<int64_t>(queue_.Consumed() / kSamplesPerSector);
    return static_cast<int32_t>(std::min<int64_t>(playStart_ + played, playEnd_ - 1));
  }

  void Halt() {
    if (!playing_) return;
    position_ = CurrentSector();
    pausedEnd_ = playEnd_;
    playing_ = false;
    queue_.Clear();
  }

  int TrackOf(int32_t sector) const {
    int track = disc_->FirstTrack();
    for (int t = disc_->FirstTrack(); t <= disc_->LastTrack(); ++t) {
      if (disc_->TrackStart(t) <= sector) track = t;
    }
    return track;
  }

  std::optional<int> TrackNumber(std::string_view text) const {
    auto fields = Fields(text, 1);
    if (!fields) return std::nullopt;
    int track = (*fields)[0];
    if (track < disc_->FirstTrack() || track > disc_->LastTrack()) return std::nullopt;
    return track;
  }

  std::optional<int32_t> ParsePosition(std::string_view text) const {
    int32_t sector = 0;
    if (format_ == TimeFormat::Tmsf) {
      auto f = Fields(text, 4);
      if (!f) return std::nullopt;
      f->resize(4, 0);
      auto track = TrackNumber(std::to_string((*f)[0]));
      if (!track || (*f)[2] >= 60 || (*f)[3] >= kCdFramesPerSecond) return std::nullopt;
      sector = disc_->TrackStart(*track) + ((*f)[1] * 60 + (*f)[2]) * kCdFramesPerSecond + (*f)[3];
    } else if (format_ == TimeFormat::Msf) {
      auto f = Fields(text, 3);
      if (!f) return std::nullopt;
      f->resize(3, 0);
      if ((*f)[1] >= 60 || (*f)[2] >= kCdFramesPerSecond) return std::nullopt;
      // Disc time counts the two-second lead-in before sector 0.
      sector = ((*f)[0] * 60 + (*f)[1]) * kCdFramesPerSecond + (*f)[2] - 2 * kCdFramesPerSecond;
    } else {
      if (text.empty() || text.size() > 9) return std::nullopt;
      int ms = 0;
      auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
      if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
      sector = DiscStart() + static_cast<int32_t>(int64_t{ms} * kCdFramesPerSecond / 1000);
    }
    if (sector > disc_->DiscEnd()) return std::nullopt;
    return sector;
  }

  std::string Format(int32_t sector) const {
    char text[32];
    if (format_ == TimeFormat::Tmsf) {
      int track = TrackOf(sector);
      int offset = sector - disc_->TrackStart(track);
      std::snprintf(text, sizeof text, "%02d:%02d:%02d:%02d", track, offset / (60 * 75),
                    offset / 75 % 60, offset % 75);
    } else if (format_ == TimeFormat::Msf) {
      int frames = sector + 2 * kCdFramesPerSecond;
      std::snprintf(text, sizeof text, "%02d:%02d:%02d", frames / (60 * 75), frames / 75 % 60,
                    frames % 75);
    } else {
      std::snprintf(text, sizeof text, "%lld",
                    static_cast<long long>(int64_t{sector - DiscStart()} * 1000 / kCdFramesPerSecond));
    }
    return text;
  }

  std::unique_ptr<Disc> disc_;
  AudioOutput& output_;
  PcmQueue queue_{kQueueSamples};
  TimeFormat format_ = TimeFormat::Msf;
  bool playing_ = false;
  bool paused_ = false;
  int32_t position_ = 0;
  int32_t playStart_ = 0;
  int32_t playEnd_ = 0;
  int32_t pausedEnd_ = 0;
  int32_t readNext_ = 0;
  int32_t skip_ = 0;
};

}  // namespace

std::unique_ptr<MediaDevice> CreateCdDevice(std::unique_ptr<Disc> disc, AudioOutput& output) {
  return std::make_unique<CdDevice>(std::move(disc), output);
}

}  // namespace platform
