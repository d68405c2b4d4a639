#include "platform/media/disc_source.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <cstring>

namespace platform {

namespace {

void QuietCdio(cdio_log_level_t, const char*) {}

class CdioDisc final : public Disc {
 public:
  CdioDisc(CdIo_t* cdio, bool useParanoia) : cdio_(cdio) {
    first_ = cdio_get_first_track_num(cdio_);
    last_ = cdio_get_last_track_num(cdio_);
    if (useParanoia) {
      drive_ = cdio_cddap_identify_cdio(cdio_, CDDA_MESSAGE_FORGETIT, nullptr);
      if (drive_ && cdio_cddap_open(drive_) == 0) {
        paranoia_ = cdio_paranoia_init(drive_);
        if (paranoia_) paranoia_modeset(paranoia_, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
      }
    }
  }
  ~CdioDisc() override {
    if (paranoia_) cdio_paranoia_free(paranoia_);
    if (drive_) {
      // The drive record borrows our cdio handle, which is destroyed below.
      cdio_cddap_close_no_free_cdio(drive_);
    }
    cdio_destroy(cdio_);
  }
  bool Valid() const {
    return first_ != CDIO_INVALID_TRACK && last_ != CDIO_INVALID_TRACK && first_ <= last_ &&
           DiscEnd() != CDIO_INVALID_LSN;
  }

  int FirstTrack() const override { return first_; }
  int LastTrack() const override { return last_; }
  int32_t TrackStart(int track) const override {
    return cdio_get_track_lsn(cdio_, static_cast<track_t>(track));
  }
  int32_t DiscEnd() const override { return cdio_get_track_lsn(cdio_, CDIO_CDROM_LEADOUT_TRACK); }
  bool IsAudioTrack(int track) const override {
    return cdio_get_track_format(cdio_, static_cast<track_t>(track)) == TRACK_FORMAT_AUDIO;
  }
  bool ReadAudio(int32_t sector, int count, uint8_t* out) override {
    if (paranoia_) {
      cdio_paranoia_seek(paranoia_, sector, SEEK_SET);
      for (int i = 0; i < count; ++i) {
        // A bounded number of retries: a scratch costs a moment, never a hang.
        const int16_t* data = cdio_paranoia_read_limited(paranoia_, nullptr, 3);
        if (!data) return false;
        std::memcpy(out + static_cast<std::size_t>(i) * kCdBytesPerSector, data, kCdBytesPerSector);
      }
      return true;
    }
    return cdio_read_audio_sectors(cdio_, out, sector, static_cast<uint32_t>(count)) ==
           DRIVER_OP_SUCCESS;
  }

 private:
  CdIo_t* cdio_;
  track_t first_ = CDIO_INVALID_TRACK;
  track_t last_ = CDIO_INVALID_TRACK;
  cdrom_drive_t* drive_ = nullptr;
  cdrom_paranoia_t* paranoia_ = nullptr;
};

std::unique_ptr<Disc> OpenDisc(CdIo_t* cdio, bool useParanoia) {
  if (!cdio) return nullptr;
  auto disc = std::make_unique<CdioDisc>(cdio, useParanoia);
  if (!disc->Valid()) return nullptr;
  return disc;
}

class DefaultDriveSource final : public DiscSource {
 public:
  std::unique_ptr<Disc> Open() override {
    cdio_log_set_handler(QuietCdio);
    return OpenDisc(cdio_open(nullptr, DRIVER_DEVICE), true);
  }
};

class ImageSource final : public DiscSource {
 public:
  explicit ImageSource(std::string path) : path_(std::move(path)) {}
  std::unique_ptr<Disc> Open() override {
    cdio_log_set_handler(QuietCdio);
    // Read through paranoia as a drive is: images read bit-exactly that way too.
    return OpenDisc(cdio_open(path_.c_str(), DRIVER_BINCUE), true);
  }

 private:
  std::string path_;
};

}  // namespace

std::unique_ptr<DiscSource> DefaultDrive() { return std::make_unique<DefaultDriveSource>(); }
std::unique_ptr<DiscSource> DiscImage(std::string cuePath) {
  return std::make_unique<ImageSource>(std::move(cuePath));
}

}  // namespace platform
