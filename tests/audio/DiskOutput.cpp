#include "audio/DiskOutput.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cstdlib>
#include <cstring>

PcmOutput::PcmOutput(QByteArray bytes, OutputFormat format) : m_bytes(std::move(bytes)), m_format(format) {}

int PcmOutput::sample(qsizetype frame, int channel) const
{
    const qsizetype at = frame * m_format.frameBytes() + channel * m_format.bytesPerSample;
    if (m_format.bytesPerSample == 1)
        return int(quint8(m_bytes[at])) - 128;
    qint16 value = 0;
    std::memcpy(&value, m_bytes.constData() + at, sizeof value);
    return value;
}

bool PcmOutput::isSilent(qsizetype frame) const
{
    for (int channel = 0; channel < m_format.channels; ++channel) {
        if (sample(frame, channel) != 0)
            return false;
    }
    return true;
}

bool PcmOutput::isChannelSilent(int channel) const
{
    for (qsizetype frame = 0; frame < frameCount(); ++frame) {
        if (sample(frame, channel) != 0)
            return false;
    }
    return true;
}

bool PcmOutput::isSilent(qsizetype first, qsizetype end) const
{
    for (qsizetype frame = first; frame < std::min(end, frameCount()); ++frame) {
        if (!isSilent(frame))
            return false;
    }
    return true;
}

int PcmOutput::largestStep(qsizetype first, qsizetype end, int channel) const
{
    int largest = 0;
    for (qsizetype frame = first + 1; frame < std::min(end, frameCount()); ++frame)
        largest = std::max(largest, std::abs(sample(frame, channel) - sample(frame - 1, channel)));
    return largest;
}

QList<qsizetype> PcmOutput::onsets(qsizetype gap) const
{
    QList<qsizetype> found;
    qsizetype silentRun = gap;
    for (qsizetype frame = 0; frame < frameCount(); ++frame) {
        if (isSilent(frame)) {
            ++silentRun;
            continue;
        }
        if (silentRun >= gap)
            found.append(frame);
        silentRun = 0;
    }
    return found;
}

void DiskOutputTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    m_outputPath = m_dir.filePath(QStringLiteral("output.raw"));
    m_previousDriver = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(m_outputPath));
    qputenv("SDL_DISKAUDIODELAY", "0");
}

void DiskOutputTest::TearDown()
{
    m_audio.close();
    qputenv("SDL_AUDIODRIVER", m_previousDriver);
    qunsetenv("SDL_DISKAUDIOFILE");
    qunsetenv("SDL_DISKAUDIODELAY");
}

bool DiskOutputTest::openOutput(int mode, int rate)
{
    m_audio.startup();
    m_audio.setOption(AudioLibrary::kOptionOutputMode, mode);
    m_audio.setOption(AudioLibrary::kOptionMixRate, rate);
    m_audio.setOption(AudioLibrary::kOptionMixBufLen, 500);
    return m_audio.init();
}

bool DiskOutputTest::waitUntil(const std::function<bool()>& done)
{
    QDeadlineTimer patience(60'000);
    while (!done()) {
        if (patience.hasExpired())
            return false;
        QThread::usleep(200);
    }
    return true;
}

quint32 DiskOutputTest::position()
{
    PlayStatus status;
    m_audio.getPlayStatus(&status);
    return status.position;
}

qint64 DiskOutputTest::outputSize() const { return QFileInfo(m_outputPath).size(); }

PcmOutput DiskOutputTest::closeAndRead(int mode, int rate)
{
    m_audio.close();
    QFile file(m_outputPath);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return PcmOutput(file.readAll(), *OutputFormat::fromMode(mode, rate));
}
