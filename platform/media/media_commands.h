#pragma once
// The media command interpreter: the command strings of the music module (code page 932 bytes)
// in, a code (0 for success) and a reply text out, with a text for every code it gives. It also
// stands in for the wave-output count and for the asynchronous WAV player.
// Every call returns quickly; nothing here waits for playback.
#include <cstddef>
#include <cstdint>
#include <memory>

#include <string_view>

namespace platform {

class DiscSource;

// Error codes of the interpreter, ours; MediaErrorText gives their texts.
enum MediaError : uint32_t {
  kMediaOk = 0,
  kMediaUnknownCommand = 1001,    // the first word is no command we know
  kMediaSyntax = 1002,            // words missing, stray or repeated, bad quoting
  kMediaUnknownDevice = 1003,     // no device or alias of that name is open
  kMediaUnknownType = 1004,       // a device type we do not have
  kMediaAliasInUse = 1005,        // the alias (or device) is open already
  kMediaBadPosition = 1006,       // a position that is malformed or outside the media
  kMediaBadTrack = 1007,          // a track number that the disc does not have
  kMediaUnsupported = 1008,       // the device does not do this
  kMediaFileNotFound = 1009,      // the file is missing or is not a regular file
  kMediaBadFile = 1010,           // the file cannot be played (not audio, damaged)
  kMediaBadPath = 1011,           // the path names no place on this machine
  kMediaNoAudioOutput = 1012,     // no audio output could be opened
  kMediaNoDisc = 1013,            // no drive, or no disc in it
  kMediaReadFailed = 1014,        // the disc could not be read
  kMediaUnreadableText = 1015,    // the command text is not in the code page
  kMediaEmptyCommand = 1016,      // nothing to do
};

// The text of one of our codes; nullptr for a code we do not know.
const char* MediaErrorText(uint32_t code);

// Flags of PlaySound, with the values the music module passes.
inline constexpr uint32_t kSoundAsync = 0x0001;
inline constexpr uint32_t kSoundNoDefault = 0x0002;
inline constexpr uint32_t kSoundLoop = 0x0008;

class MediaCommands {
 public:
  virtual ~MediaCommands() = default;

  // Runs one command. When replySize > 0 the reply is written into reply, cut to replySize - 1
  // bytes and NUL-terminated; a failed command leaves an empty reply. Returns 0 or an error code.
  virtual uint32_t Send(std::string_view command, char* reply, std::size_t replySize) = 0;
  // The text of an error code, cut to size - 1 bytes and NUL-terminated; false for a code that has
  // no text (then the buffer is left alone).
  virtual bool ErrorText(uint32_t code, char* buffer, std::size_t size) = 0;
  // Wave output devices: 1 when the audio output can be opened, else 0.
  virtual uint32_t WaveOutputCount() = 0;
  // Plays a WAV file named by a Windows path (code page 932) asynchronously, looping with
  // kSoundLoop; a null name stops it. Sounds that would block the caller are refused. Returns
  // whether a sound was started (or, for a null name, stopped).
  virtual bool PlaySound(const char* name, uint32_t flags) = 0;
};

// The interpreter on the real audio output and the computer's default CD drive.
std::unique_ptr<MediaCommands> CreateMediaCommands();
// The same on another disc source (a disc image in tests).
std::unique_ptr<MediaCommands> CreateMediaCommands(std::unique_ptr<DiscSource> discs);

}  // namespace platform
