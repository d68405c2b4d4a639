#include "platform/media/media_commands.h"

namespace platform {

const char* MediaErrorText(uint32_t code) {
  switch (code) {
    case kMediaUnknownCommand: return "The command is not known.";
    case kMediaSyntax: return "The command has missing, repeated or unexpected words.";
    case kMediaUnknownDevice: return "No device or alias of that name is open.";
    case kMediaUnknownType: return "There is no device of that type.";
    case kMediaAliasInUse: return "That alias or device is open already.";
    case kMediaBadPosition: return "The position is malformed or outside the media.";
    case kMediaBadTrack: return "The disc has no such track.";
    case kMediaUnsupported: return "The device does not support this command.";
    case kMediaFileNotFound: return "The file cannot be found.";
    case kMediaBadFile: return "The file cannot be played.";
    case kMediaBadPath: return "The path names no place on this computer.";
    case kMediaNoAudioOutput: return "No audio output is available.";
    case kMediaNoDisc: return "There is no drive or no disc in it.";
    case kMediaReadFailed: return "The disc cannot be read.";
    case kMediaUnreadableText: return "The command text cannot be read.";
    case kMediaEmptyCommand: return "The command is empty.";
    default: return nullptr;
  }
}

}  // namespace platform
