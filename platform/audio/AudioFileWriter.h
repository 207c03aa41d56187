#pragma once

#include "platform/WholeFileWriter.h"
#include "platform/audio/AudioFileFormats.h"

#include <QString>

#include <cstddef>
#include <cstdint>

struct sf_private_tag;  // libsndfile's SNDFILE

/// What an audio file says about its song, where its format keeps it; an empty text or a
/// track number of 0 is left out.
struct AudioTags {
    QString title;
    QString artist;
    QString comment;  // the song message
    QString album;    // the disc's name, for a disc's slots
    int trackNumber = 0;
};

/// Writes a stereo audio file through libsndfile, whole or not at all: into a temporary file
/// beside the target that commit() renames onto it (WholeFileWriter, whose rules for an
/// existing target and for links apply). A writer destroyed before a successful commit, after
/// a failure or on a cancel, removes its temporary file and leaves the target as it was.
///
/// Any thread; one writer per file.
class AudioFileWriter {
public:
    /// Frames go in at the format's sample rate (AudioFileType::sampleRate). The tags are set
    /// before any sound, as some formats need them there.
    AudioFileWriter(const QString& target, AudioFileFormat format, const AudioTags& tags,
                    WholeFileWriter::Existing existing);
    ~AudioFileWriter();
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    /// False when the file could not be started; errorText() says why.
    bool isOpen() const { return m_sound != nullptr; }

    /// Appends frames interleaved stereo frames at samples; values beyond ±1 are clipped.
    /// False on any failure (a full volume), after which commit() fails.
    bool write(const float* samples, std::size_t frames);

    /// Finishes the file and gives it the target's name; true when the target now holds it
    /// whole.
    bool commit();

    /// For libsndfile's input and output (AudioFileWriter.cpp): the temporary file, and a
    /// write to it that records the first failure.
    int descriptor() const { return m_whole.descriptor(); }
    std::int64_t writeBytes(const void* data, std::int64_t count);

    /// Why the writer failed, in the words of the system or of libsndfile ("No space left on
    /// device"); empty while nothing failed.
    const QString& errorText() const { return m_error; }

private:
    /// Closes the file in libsndfile, which writes the rest of its headers; false on failure.
    bool closeSoundFile();
    void fail(const QString& reason);

    WholeFileWriter m_whole;
    sf_private_tag* m_sound = nullptr;  // writes into m_whole's temporary file
    int m_writeError = 0;  // errno of the first write to the file that failed
    QString m_error;
};
