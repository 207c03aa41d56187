#include "platform/audio/OutputRenderer.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cstring>

namespace {

// Rounding by truncating a positive number, and clipping the integer: faster than lrint, and
// a loop the compiler turns into vector instructions (see CMakeLists.txt). libopenmpt's
// samples stay within +-16, so the conversion never overflows.
std::int16_t toSigned16(float sample)
{
    return static_cast<std::int16_t>(std::clamp(static_cast<int>(sample * 32767.0f + 32768.5f) - 32768, -32768, 32767));
}

std::uint8_t toUnsigned8(float sample)
{
    return static_cast<std::uint8_t>(std::clamp(static_cast<int>(sample * 127.0f + 128.5f), 0, 255));
}

void put(std::uint8_t* out, std::size_t index, std::int16_t value)
{
    std::memcpy(out + index * sizeof value, &value, sizeof value);
}

void put(std::uint8_t* out, std::size_t index, std::uint8_t value) { out[index] = value; }

template <typename Convert>
void applyGain(const float* in, std::uint8_t* out, std::size_t frames, int channels,
               VolumeRamp& ramp, Convert convert)
{
    if (ramp.isSteady()) {
        const float gain = ramp.gain();
        for (std::size_t i = 0; i < frames * channels; ++i)
            put(out, i, convert(in[i] * gain));
        return;
    }
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const float gain = ramp.next();
        for (int channel = 0; channel < channels; ++channel) {
            const std::size_t i = frame * channels + channel;
            put(out, i, convert(in[i] * gain));
        }
    }
}

}  // namespace

OutputRenderer::OutputRenderer(OutputFormat format, int chunkFrames)
    : m_format(format),
      m_chunkFrames(static_cast<std::size_t>(std::max(chunkFrames, 1))),
      // 5 ms: what is shown of a row changes well within a frame of the screen.
      m_snapshotFrames(std::min(m_chunkFrames, static_cast<std::size_t>(std::max(format.rate / 200, 1)))),
      m_ramp(format.rate),
      m_crossfade(format.rate, format.channels),
      m_glideFrames(static_cast<std::size_t>(std::max(format.rate / 1000, 1)))
{
    m_scratch.resize(std::max(m_chunkFrames, m_crossfade.tailFrames()) * format.channels);
}

void OutputRenderer::setVolume(int volume)
{
    m_ramp.setTarget(static_cast<float>(std::clamp(volume, 0, 64)) / 64.0f);
}

void OutputRenderer::glideMasterGain(std::int32_t millibel) { m_glideTo = millibel; }

void OutputRenderer::finishGlide(openmpt::module* module)
{
    if (m_glideTo && module)
        module->set_render_param(openmpt::module::RENDER_MASTERGAIN_MILLIBEL, *m_glideTo);
    m_glideTo.reset();
}

void OutputRenderer::stepGlide(openmpt::module& module)
{
    // libopenmpt applies its master gain to whole reads at once: in small steps between short
    // reads it changes as smoothly as a ramp.
    const std::int32_t now = module.get_render_param(openmpt::module::RENDER_MASTERGAIN_MILLIBEL);
    const std::int32_t next = now + std::clamp(*m_glideTo - now, -kGlideMillibelPerMs, kGlideMillibelPerMs);
    module.set_render_param(openmpt::module::RENDER_MASTERGAIN_MILLIBEL, next);
    if (next == *m_glideTo)
        m_glideTo.reset();
}

std::size_t OutputRenderer::render(openmpt::module* module, std::uint8_t* out, std::size_t frames)
{
    std::size_t done = 0;
    if (module && !m_songEnded) {
        if (!m_sounding) {
            m_ramp.restartFromSilence();
            finishGlide(module);
        }
        m_sounding = true;
        bool endBefore = false;  // the read before marked the song's end
        try {
            const bool watched = m_heard && m_heard->watched();
            const std::size_t piece = watched ? m_snapshotFrames : m_chunkFrames;
            while (done < frames) {
                if (m_glideTo)
                    stepGlide(*module);
                const std::size_t wanted = std::min(m_glideTo ? std::min(piece, m_glideFrames) : piece, frames - done);
                const std::size_t got = read(*module, wanted);
                m_crossfade.mixInto(m_scratch.data(), got);
                store(m_scratch.data(), out + done * m_format.frameBytes(), got);
                done += got;
                if (got > 0) {
                    if (watched)
                        recordHeard(*module, done);
                    endBefore = false;
                    continue;
                }
                // A read of nothing marks the song's end (after one that came short); the next
                // goes on at its loop start. A song that gives nothing even then has nothing
                // to repeat.
                if (!m_repeat || endBefore) {
                    m_songEnded = true;
                    break;
                }
                if (!endBefore)
                    m_passStart = module->get_position_seconds();
                endBefore = true;
            }
        } catch (...) {
            // A module that fails while rendering falls silent; the device thread goes on.
        }
    } else {
        m_sounding = false;
    }
    if (done < frames)
        m_sounding = false;  // what follows the silence fades in
    std::uint8_t* const silence = out + done * m_format.frameBytes();
    const std::size_t faded = fadeOutOverSilence(silence, frames - done);
    fillSilence(silence + faded * m_format.frameBytes(), frames - done - faded);
    return done;
}

void OutputRenderer::prepareJump(openmpt::module& module)
{
    if (!m_sounding)
        return;
    const std::size_t tailFrames = m_crossfade.tailFrames();
    std::size_t got = 0;
    try {
        got = read(module, tailFrames);
    } catch (...) {
        return;  // a module that fails here fails in render() as well, which silences it
    }
    // Where the song's end comes within the tail, the rest of the tail is silence: rarer than
    // the repeat it would take to go on, and no click, since the tail fades out anyway.
    std::fill(m_scratch.begin() + static_cast<std::ptrdiff_t>(got * m_format.channels),
              m_scratch.begin() + static_cast<std::ptrdiff_t>(tailFrames * m_format.channels), 0.0f);
    // The tail is what would have been heard: within a crossfade still running, that one's mix.
    m_crossfade.mixInto(m_scratch.data(), tailFrames);
    m_crossfade.start(m_scratch.data());
}

void OutputRenderer::recordHeard(const openmpt::module& module, std::size_t done)
{
    m_heard->record(module, m_heardAt + m_format.duration(static_cast<std::int64_t>(done)));
}

std::size_t OutputRenderer::read(openmpt::module& module, std::size_t frames)
{
    return m_format.channels == 2 ? module.read_interleaved_stereo(m_format.rate, frames, m_scratch.data())
                                  : module.read(m_format.rate, frames, m_scratch.data());
}

std::size_t OutputRenderer::fadeOutOverSilence(std::uint8_t* out, std::size_t frames)
{
    // A jump to the song's end, or to a module that fails, still lets the tail fade out.
    const std::size_t fading = std::min(frames, m_crossfade.remaining());
    for (std::size_t done = 0; done < fading;) {
        const std::size_t chunk = std::min(m_chunkFrames, fading - done);
        std::fill_n(m_scratch.begin(), chunk * m_format.channels, 0.0f);
        m_crossfade.mixInto(m_scratch.data(), chunk);
        store(m_scratch.data(), out + done * m_format.frameBytes(), chunk);
        done += chunk;
    }
    return fading;
}

void OutputRenderer::store(const float* samples, std::uint8_t* out, std::size_t frames)
{
    if (m_format.bytesPerSample == 1)
        applyGain(samples, out, frames, m_format.channels, m_ramp, toUnsigned8);
    else
        applyGain(samples, out, frames, m_format.channels, m_ramp, toSigned16);
}

void OutputRenderer::fillSilence(std::uint8_t* out, std::size_t frames) const
{
    std::memset(out, m_format.bytesPerSample == 1 ? 0x80 : 0, frames * m_format.frameBytes());
}
