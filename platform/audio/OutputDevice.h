#pragma once

#include "platform/audio/OutputFormat.h"
#include "platform/audio/OutputRenderer.h"
#include "platform/audio/StreamClock.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class DeviceClock;

namespace openmpt {
class module;
}

/// One open SDL sound device: SDL's device thread asks for one period after the other and gets
/// the module set here rendered by its own OutputRenderer, or silence.
///
/// SDL 2 cannot pause a stream at the sound server: a paused device goes on feeding silence.
/// So a device that has nothing to play is parked instead: the GUI thread holds its device
/// lock, its thread writes nothing more, and the server plays what it has queued and lets the
/// stream run dry. Playing again continues the same stream at once, with no silence queued
/// ahead. A stream run dry still costs the server a little, so a device that is not played
/// again is closed once all it played has been heard (parked, without waiting for the server).
///
/// Threads: every method on the GUI thread. The device thread runs only the callback, under
/// the device lock; setModule() and renderer() are used under the same lock (DeviceLock).
class OutputDevice {
public:
    using Clock = std::chrono::steady_clock;

    /// Opens SDL's default output device in exactly format (SDL converts where the hardware
    /// differs), parked (see park()), with the silence SDL wrote meanwhile queued; null when
    /// it does not open. The sound server shows its stream as streamName (UTF-8) for as long
    /// as it is open: SDL 2 cannot rename a stream. SDL's audio must be started.
    static std::unique_ptr<OutputDevice> open(const OutputFormat& format, const DeviceTiming& timing,
                                              const DeviceClock& clock,
                                              const std::string& streamName = kIdleStreamName);
    /// The name of a stream opened before there is a module to name it after.
    static inline const std::string kIdleStreamName = "Jukarium";
    /// Closes the device; returns once the device thread has ended (SDL lets it sleep for two
    /// periods first), so nothing renders after this. What the server still had queued is
    /// dropped.
    ~OutputDevice();
    OutputDevice(const OutputDevice&) = delete;
    OutputDevice& operator=(const OutputDevice&) = delete;

    std::uint32_t id() const { return m_id; }
    const std::string& streamName() const { return m_streamName; }
    const DeviceTiming& timing() const { return m_timing; }

    /// Under the device lock: the module to render from the next period on (null: silence).
    /// The device never touches a module after it has been replaced here. A change drops the
    /// module set to follow on.
    void setModule(openmpt::module* module)
    {
        if (module == m_module)
            return;
        if (module)
            m_playedToEnd = false;
        else if (m_module)
            m_playedToEnd = songEnded();
        forgetSongEnd();
        m_renderer.finishGlide(m_module);
        m_module = module;
        m_next = nullptr;
        m_hasPlayed = true;
    }
    /// Under the device lock: the module that follows on the stream, in the same period,
    /// where the song of the module set ends without repeating; it is then the module set
    /// (module()). Null: silence follows, as songEnded() tells.
    void setNext(openmpt::module* next) { m_next = next == m_module ? nullptr : next; }
    /// Under the device lock: the module rendered from the next period on.
    const openmpt::module* module() const { return m_module; }
    /// Under the device lock: the frames rendered from modules since it opened.
    std::size_t moduleFrames() const { return m_moduleFrames; }
    /// Whether it has been given a module to play since it opened.
    bool hasPlayed() const { return m_hasPlayed; }
    /// Whether the module it played last came to the end of its song, so that all it has to
    /// play is queued already; nothing plays on it now.
    bool playedToEnd() const { return m_playedToEnd; }
    OutputRenderer& renderer() { return m_renderer; }
    /// Where the modules it plays were when their sound is heard, while watched: stamped as
    /// the stream's StreamClock tells.
    HeardSnapshots& heard() { return m_heard; }

    /// Whether the last full period it rendered was silence, so that the stream ends quietly
    /// where it stops; under the device lock.
    bool endsInSilence() const;

    /// Holds the device thread (see above) until unpark(), parked from clock's time once it
    /// is held; parking a parked device does nothing. SDL's device lock counts, so DeviceLock
    /// goes on working meanwhile.
    void park(const DeviceClock& clock);
    /// Lets the device thread go on rendering.
    void unpark();
    bool parked() const { return m_parked; }
    /// Whether everything it played before it was parked has been heard at now.
    bool playedOut(Clock::time_point now) const;

    /// How long after its first module to look at startsBehindSilence(); nothing where the
    /// answer would not be clear (a server latency of about 300 ms or less, or none).
    std::optional<std::chrono::milliseconds> startCheckDelay() const;
    /// Under the device lock, startCheckDelay() after it was first given a module: whether the
    /// server took less than a quarter of its latency at once. A fresh stream takes about half
    /// of it at once; one that takes less is full already, of the silence SDL's thread wrote
    /// while the device opened (SDL 2 runs it, paused, before the device can be parked), and
    /// the module's first note waits behind all of it.
    bool startsBehindSilence() const;

    /// Under the device lock: whether the module set came to the end of its song without
    /// repeating (OutputRenderer::songEnded).
    bool songEnded() const { return m_renderer.songEnded(); }
    /// Under the device lock: the module was moved; it renders again from there.
    void forgetSongEnd() { m_renderer.forgetSongEnd(); }

private:
    OutputDevice(const OutputFormat& format, const DeviceTiming& timing);
    static void callback(void* self, std::uint8_t* stream, int length);

    std::uint32_t m_id = 0;
    std::string m_streamName;
    DeviceTiming m_timing;
    bool m_parked = false;
    Clock::time_point m_parkedAt;
    bool m_hasPlayed = false;
    bool m_playedToEnd = false;

    HeardSnapshots m_heard;  // has a lock of its own
    // Used by the device thread, under the device lock.
    OutputRenderer m_renderer;
    StreamClock m_streamClock;  // when what the thread writes is heard
    openmpt::module* m_module = nullptr;
    openmpt::module* m_next = nullptr;
    std::size_t m_silentFrames = 0;  // rendered since the module was last set to null
    std::size_t m_moduleFrames = 0;  // rendered from modules since it opened
};

/// Holds the device lock of a device, which its thread holds while it renders, for as long as
/// it lives; nothing for a null device, since then nothing renders. SDL's device lock counts,
/// so the GUI thread may take it again while it holds it (a parked device, an outer lock).
class DeviceLock {
public:
    explicit DeviceLock(const OutputDevice* device);
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    std::uint32_t m_device;
};
