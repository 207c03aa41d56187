#pragma once

#include "platform/audio/OpenMptSdlAudio.h"
#include "platform/audio/OutputFormat.h"

#include <QByteArray>
#include <QList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

/// What a sound device wrote, read back as frames of a known format.
class PcmOutput {
public:
    PcmOutput(QByteArray bytes, OutputFormat format);

    qsizetype frameCount() const { return m_bytes.size() / m_format.frameBytes(); }
    /// Sample of channel in frame, centred on 0: -128..127 or -32768..32767.
    int sample(qsizetype frame, int channel) const;
    bool isSilent(qsizetype frame) const;
    /// Whether channel is 0 in every frame.
    bool isChannelSilent(int channel) const;
    /// Whether every frame from first up to (not including) end is silent; end is clamped.
    bool isSilent(qsizetype first, qsizetype end) const;
    /// The largest change of channel from one frame to the next, among the frames from first
    /// up to (not including) end, end clamped: the sharpest edge there, such as a click.
    int largestStep(qsizetype first, qsizetype end, int channel) const;
    /// Frames where sound starts after at least gap silent frames (or at the start).
    QList<qsizetype> onsets(qsizetype gap) const;

private:
    QByteArray m_bytes;
    OutputFormat m_format;
};

/// A fixture whose library plays into a file through SDL's disk driver, as fast as the
/// machine renders (no delay between buffers), so that tests measure what was played by
/// the data itself and never by the clock.
class DiskOutputTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Sets the options and opens the output.
    bool openOutput(int mode, int rate);
    /// Polls until done() is true. False only after a long time, so a broken device fails
    /// the test instead of hanging it.
    static bool waitUntil(const std::function<bool()>& done);
    quint32 position();
    /// Bytes written to the output file so far.
    qint64 outputSize() const;
    /// Closes the output and reads what it played.
    PcmOutput closeAndRead(int mode, int rate);

    QTemporaryDir m_dir;
    QString m_outputPath;
    OpenMptSdlAudio m_audio;

private:
    QByteArray m_previousDriver;
};
