#pragma once

#include "platform/audio/RenderQuality.h"
#include "settings/OptionRows.h"

#include <array>

/// The options table: every value the options store (ClassOptions) keeps in the registry, one
/// row each, listed in the order the store reads and writes them (ClassOptions::forEachValue,
/// which pairs each row with the member that holds its value). The store's reading, writing and
/// defaults, and the limits of the options dialog's controls, all come from these rows: a new
/// option is a row here, its value in the store and its control.
namespace OptionsTable {

// The sub-keys of the options key.
inline constexpr const char* kPaths = "Paths";
inline constexpr const char* kUserActions = "User Actions";
inline constexpr const char* kSoundOptions = "Sound Options";
inline constexpr const char* kPlaying = "Playing";
inline constexpr const char* kPlaybackQuality = "Playback Quality";

/// User actions are numbered 1 to kUserActionCount.
inline constexpr int kUserActionCount = 3;

// The start directories of the module and the disc open dialogs.
inline constexpr TextRow kOpenModulePath{kPaths, "OpenModule Path"};
inline constexpr TextRow kOpenDiscPath{kPaths, "OpenDisc Path"};

// User action n: its command line, whether to wait one second first and whether to close the
// module first.
inline constexpr TextRow kUserActionPath{kUserActions, "User Action #%1 - Path", kUserActionCount};
inline constexpr FlagRow kUserActionSleep{kUserActions, "User Action #%1 - Sleep", false,
                                          kUserActionCount};
inline constexpr FlagRow kUserActionCloseMod{kUserActions, "User Action #%1 - Close Mod", true,
                                             kUserActionCount};

/// The target directories chosen lately, oldest first; an empty value is no entry.
inline constexpr TextRow kRecentPaths{kPaths, "FileControl Paths %1", 10};

/// Output format: 8 bit mono, 8 bit stereo, 16 bit mono, 16 bit stereo.
inline constexpr NumberRow kPlaybackMode{kSoundOptions, "Playback mode", 3, 0, 3};
/// Mixing rate: 11200, 22000, 32000, 38000, 44100 Hz.
inline constexpr NumberRow kPlaybackFrequency{kSoundOptions, "Playback frequency", 4, 0, 4};
/// Buffer length index: index x 100 + 300 ms. The dialog offers up to 2000 ms; the longer
/// buffers a stored 18 to 20 asks for are kept and played.
inline constexpr NumberRow kPlaybackBuffer{.section = kSoundOptions,
                                           .name = "Playback buffer",
                                           .defaultValue = 2,
                                           .first = 0,
                                           .last = 20,
                                           .lastOffered = 17};
/// The mixing buffer length in milliseconds of a kPlaybackBuffer index.
constexpr int playbackBufferMs(int index) { return index * 100 + 300; }
/// Banner speed, slow to fastest.
inline constexpr NumberRow kScrollSpeed{kSoundOptions, "Scrollspeed", 1, 0, 3};
/// Fade-out length in steps of 100 ms; 0 switches fading off.
inline constexpr NumberRow kFadeout{kSoundOptions, "Fadeout", 10, 0, 30};
/// The program the volume command starts; empty means the desktop's own mixer.
inline constexpr TextRow kVolumeExe{kSoundOptions, "VolumeExe"};

/// Volume of all output in percent, as the desktop's media controls set it.
inline constexpr NumberRow kOutputVolume{kPlaying, "Volume", 100, 0, 100};
/// What happens when a module's song ends, a ClassOptions::SongEnd.
inline constexpr NumberRow kAtTheEnd{kPlaying, "At the end", 0, 0, 3};
/// Whether a module that starts while the window is not in use shows a desktop notification.
inline constexpr FlagRow kNotify{kPlaying, "Notify", true};
/// Whether the next start opens the disc and loads the module of the last exit (kLast...).
inline constexpr FlagRow kResume{kPlaying, "Resume", false};
/// At the last exit: the disc file open and the module loaded (empty: none), the module's
/// subsong, and the slot it was loaded from (0: none).
inline constexpr TextRow kLastDisc{kPlaying, "Last disc"};
inline constexpr TextRow kLastModule{kPlaying, "Last module"};
inline constexpr NumberRow kLastSubsong{kPlaying, "Last subsong", 0, 0, 65535};
inline constexpr NumberRow kLastSlot{kPlaying, "Last slot", 0, 0, 20};

// How modules sound: the fields of RenderQuality, with its defaults and ranges.
inline constexpr NumberRow kInterpolation{.section = kPlaybackQuality,
                                          .name = "Interpolation",
                                          .defaultValue = RenderQuality{}.interpolationTaps,
                                          .first = RenderQuality::kInterpolationTaps.front(),
                                          .last = RenderQuality::kInterpolationTaps.back(),
                                          .only = RenderQuality::kInterpolationTaps};
inline constexpr NumberRow kStereoSeparation{kPlaybackQuality, "Stereo separation",
                                             RenderQuality{}.stereoSeparation,
                                             RenderQuality::kMinStereoSeparation,
                                             RenderQuality::kMaxStereoSeparation};
/// Only 0 and 1 count here: any other stored number reads as the default.
inline constexpr FlagRow kAmigaResampler{.section = kPlaybackQuality,
                                         .name = "Amiga resampler",
                                         .defaultValue = RenderQuality{}.amigaResampler,
                                         .first = 0,
                                         .last = 1};
inline constexpr NumberRow kVolumeRamping{kPlaybackQuality, "Volume ramping",
                                          RenderQuality{}.volumeRamping,
                                          RenderQuality::kDefaultVolumeRamping,
                                          RenderQuality::kMaxVolumeRamping};
/// Subsongs shorter than this many seconds are left out of the subsong menu and of playing
/// through: jump commands in many modules make junk songs under a second long.
inline constexpr NumberRow kShortestSubsong{kPlaybackQuality, "Hide subsongs shorter than", 2, 0, 60};

/// Whether every module plays at the same loudness, the target's, in LUFS (EBU R 128).
inline constexpr FlagRow kEvenLoudness{.section = kPlaybackQuality,
                                       .name = "Even loudness",
                                       .defaultValue = false,
                                       .first = 0,
                                       .last = 1};
/// The loudness targets offered, in the order the options dialog lists them.
inline constexpr std::array<int, 3> kLoudnessTargets = {-16, -18, -23};
inline constexpr NumberRow kLoudnessTarget{.section = kPlaybackQuality,
                                           .name = "Loudness target",
                                           .defaultValue = -18,
                                           .first = -23,
                                           .last = -16,
                                           .only = kLoudnessTargets};

}  // namespace OptionsTable
