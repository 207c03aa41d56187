#include "platform/audio/AudioFileWriter.h"

#include <sndfile.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemText(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

/// libsndfile writes through these into the temporary file, so that every failed write is
/// seen here: some of its encoders (MP3) go on past a full volume as if nothing failed.
sf_count_t fileLength(void* writer)
{
    struct stat status = {};
    return ::fstat(static_cast<AudioFileWriter*>(writer)->descriptor(), &status) == 0 ? status.st_size : -1;
}

sf_count_t seekTo(sf_count_t offset, int whence, void* writer)
{
    return ::lseek(static_cast<AudioFileWriter*>(writer)->descriptor(), offset, whence);
}

sf_count_t readFrom(void* data, sf_count_t count, void* writer)
{
    const ssize_t got = ::read(static_cast<AudioFileWriter*>(writer)->descriptor(), data, std::size_t(count));
    return got < 0 ? 0 : got;
}

sf_count_t writeTo(const void* data, sf_count_t count, void* writer)
{
    return static_cast<AudioFileWriter*>(writer)->writeBytes(data, count);
}

sf_count_t position(void* writer)
{
    return ::lseek(static_cast<AudioFileWriter*>(writer)->descriptor(), 0, SEEK_CUR);
}

/// Sets each tag the format keeps; one it does not keep is left out without a fault.
void setTags(SNDFILE* file, const AudioTags& tags)
{
    const auto set = [file](int kind, const QString& text) {
        if (!text.isEmpty())
            sf_set_string(file, kind, text.toUtf8().constData());
    };
    set(SF_STR_TITLE, tags.title);
    set(SF_STR_ARTIST, tags.artist);
    set(SF_STR_COMMENT, tags.comment);
    set(SF_STR_ALBUM, tags.album);
    if (tags.trackNumber > 0)
        set(SF_STR_TRACKNUMBER, QString::number(tags.trackNumber));
    set(SF_STR_SOFTWARE, QStringLiteral("Jukarium"));
}

}  // namespace

AudioFileWriter::AudioFileWriter(const QString& target, AudioFileFormat format, const AudioTags& tags,
                                 WholeFileWriter::Existing existing)
    : m_whole(target, existing)
{
    if (!m_whole.isOpen()) {
        fail(m_whole.error() == EEXIST ? QStringLiteral("the file exists already")
                                       : systemText(m_whole.error()));
        return;
    }
    const AudioFileType& type = audioFileType(format);
    SF_INFO info = {};
    info.samplerate = type.sampleRate;
    info.channels = 2;
    info.format = type.sndfileFormat;
    // The descriptor stays the whole-file writer's: it syncs, closes and renames it.
    SF_VIRTUAL_IO io = {fileLength, seekTo, readFrom, writeTo, position};
    m_sound = sf_open_virtual(&io, SFM_WRITE, &info, this);
    if (!m_sound) {
        fail(QString::fromUtf8(sf_strerror(nullptr)));
        return;
    }
    // Songs louder than full scale are cut there, not wrapped round into noise.
    sf_command(m_sound, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    setTags(m_sound, tags);
}

AudioFileWriter::~AudioFileWriter()
{
    // Without a commit the whole-file writer removes what was written.
    closeSoundFile();
}

sf_count_t AudioFileWriter::writeBytes(const void* data, sf_count_t count)
{
    const char* bytes = static_cast<const char*>(data);
    sf_count_t done = 0;
    while (done < count && m_writeError == 0) {
        const ssize_t written = ::write(descriptor(), bytes + done, std::size_t(count - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            m_writeError = written < 0 ? errno : ENOSPC;  // nothing taken: the volume is full
        else
            done += written;
    }
    return done;
}

bool AudioFileWriter::write(const float* samples, std::size_t frames)
{
    if (!m_sound || !m_error.isEmpty())
        return false;
    const sf_count_t written = sf_writef_float(m_sound, samples, sf_count_t(frames));
    if (m_writeError != 0)
        fail(systemText(m_writeError));
    else if (written != sf_count_t(frames))
        fail(QString::fromUtf8(sf_strerror(m_sound)));
    return m_error.isEmpty();
}

bool AudioFileWriter::commit()
{
    if (!m_sound || !m_error.isEmpty())
        return false;
    const bool closed = closeSoundFile();
    if (m_writeError != 0) {
        fail(systemText(m_writeError));
        return false;
    }
    if (!closed) {
        fail(QStringLiteral("the file could not be finished"));
        return false;
    }
    if (!m_whole.commit()) {
        fail(systemText(m_whole.error()));
        return false;
    }
    return true;
}

bool AudioFileWriter::closeSoundFile()
{
    if (!m_sound)
        return true;
    // Writes what the encoder still holds and the headers that give the file's length.
    const bool closed = sf_close(m_sound) == 0;
    m_sound = nullptr;
    return closed;
}

void AudioFileWriter::fail(const QString& reason)
{
    if (m_error.isEmpty())
        m_error = reason;
}
