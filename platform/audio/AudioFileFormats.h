#pragma once

#include <QList>
#include <QString>

#include <optional>

/// The kinds of audio file a song can be saved as.
enum class AudioFileFormat { Wav16, Wav24, Flac, OggVorbis, Opus, Mp3 };

/// What an audio file format is to the user and to libsndfile.
struct AudioFileType {
    AudioFileFormat format;
    const char* name;       // as the save dialog offers it: "FLAC", "WAV, 24-bit"
    const char* extension;  // without the dot, lower case
    int sndfileFormat;      // libsndfile's major and minor format (SF_FORMAT_...)
    int sampleRate;         // frames per second the file is written at
};

/// Every format's type. Any thread.
const AudioFileType& audioFileType(AudioFileFormat format);

/// The formats this machine's libsndfile writes (sf_format_check), in the order offered: WAV
/// 16 and 24-bit, FLAC, Ogg Vorbis, Opus, MP3. Any thread.
QList<AudioFileFormat> writableAudioFormats();

/// The format a file name asks for by its extension (any case): ".wav" (16-bit), ".flac",
/// ".ogg" or ".oga" (Vorbis), ".opus", ".mp3"; nothing for another extension or a format
/// this libsndfile does not write. Any thread.
std::optional<AudioFileFormat> audioFormatForFileName(const QString& fileName);
