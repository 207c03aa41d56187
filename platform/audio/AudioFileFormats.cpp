#include "platform/audio/AudioFileFormats.h"

#include <QFileInfo>

#include <sndfile.h>

#include <array>

namespace {

constexpr int kCdRate = 44100;
/// libsndfile's Opus encoder takes 48 kHz only.
constexpr int kOpusRate = 48000;

constexpr std::array<AudioFileType, 6> kTypes = {{
    {AudioFileFormat::Wav16, "WAV, 16-bit", "wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, kCdRate},
    {AudioFileFormat::Wav24, "WAV, 24-bit", "wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, kCdRate},
    {AudioFileFormat::Flac, "FLAC", "flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, kCdRate},
    {AudioFileFormat::OggVorbis, "Ogg Vorbis", "ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, kCdRate},
    {AudioFileFormat::Opus, "Opus", "opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, kOpusRate},
    {AudioFileFormat::Mp3, "MP3", "mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, kCdRate},
}};
static_assert([] {
    for (std::size_t n = 0; n < kTypes.size(); ++n) {
        if (std::size_t(kTypes[n].format) != n)
            return false;
    }
    return true;
}(), "kTypes holds each format at its own number");

bool writable(const AudioFileType& type)
{
    SF_INFO info = {};
    info.samplerate = type.sampleRate;
    info.channels = 2;
    info.format = type.sndfileFormat;
    return sf_format_check(&info) != 0;
}

}  // namespace

const AudioFileType& audioFileType(AudioFileFormat format)
{
    return kTypes[std::size_t(format)];
}

QList<AudioFileFormat> writableAudioFormats()
{
    QList<AudioFileFormat> formats;
    for (const AudioFileType& type : kTypes) {
        if (writable(type))
            formats.append(type.format);
    }
    return formats;
}

std::optional<AudioFileFormat> audioFormatForFileName(const QString& fileName)
{
    QString extension = QFileInfo(fileName).suffix().toLower();
    if (extension == QLatin1String("oga"))
        extension = QStringLiteral("ogg");
    // The first type of an extension is its default: 16-bit for ".wav".
    for (const AudioFileType& type : kTypes) {
        if (extension == QLatin1String(type.extension))
            return writable(type) ? std::optional(type.format) : std::nullopt;
    }
    return std::nullopt;
}
