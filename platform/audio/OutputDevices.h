#pragma once

#include "platform/audio/DeviceClock.h"
#include "platform/audio/OutputDevice.h"

#include <memory>
#include <optional>
#include <vector>

struct LoadedModule;

/// The life of the audio library's sound devices (OutputDevice): the device that plays the
/// module given last, or waits parked for one, and the devices of modules played before,
/// playing the end of their sound until it is heard.
///
/// Every device opens parked, in the format and timing open() was given, and plays what
/// play() gives it. With nothing to play it is parked once its stream ends in silence and
/// closed once all it played has been heard, so that neither the sound server nor the program
/// works for silence; play() opens one again. Where the server keeps a queue of its own (a
/// server latency in the timing), retire() leaves the device to play out the module before,
/// so that the next gets a device of its own at once. A device whose first notes wait behind
/// silence queued while it opened is replaced (see checkFreshStart).
///
/// The sound server names each stream after the module it opened for (LoadedModule::
/// streamName); SDL 2 cannot rename a stream that runs, and a stream is never replaced for its
/// name's sake alone, which could be heard. So the name follows every module that gets a device
/// of its own (the first, and each one played where retire() gave up the device before), while
/// a module that follows on a stream without a gap keeps the name of the one before it. A
/// device opened before any module played, which has queued nothing yet, is replaced by one
/// named after the module it is given first, where the server keeps a queue of its own.
///
/// Time comes from the clock given: its timers look at idle devices every 100 ms while there
/// are any, and at a device startCheckDelay() after its first module.
///
/// Threads: every method on the clock's thread, the GUI thread, where the clock's timers park,
/// close and replace devices (with EventLoopClock, its Qt event loop; without one, idle
/// devices stay open). The module a device plays is changed only under its device lock
/// (DeviceLock), which play() and retire() take themselves.
class OutputDevices {
public:
    /// clock must outlive this object.
    explicit OutputDevices(DeviceClock& clock);
    /// Closes every device.
    ~OutputDevices();
    OutputDevices(const OutputDevices&) = delete;
    OutputDevices& operator=(const OutputDevices&) = delete;

    /// Closes any device still open, then opens one in format with timing, parked, to prove
    /// the output works and to play the first module; later devices open the same way. False,
    /// with none open, when it does not open. SDL's audio must be started.
    bool open(const OutputFormat& format, const DeviceTiming& timing);
    /// Closes every device: returns once no device thread renders any more. No device opens
    /// again before the next open().
    void close();

    /// The device that plays the module given last, or waits parked for one; null while none
    /// is open. Owned here: valid until the next call here or the event loop's next turn.
    OutputDevice* device() const { return m_device.get(); }
    /// How many devices are open: 0 once nothing has played for a while (the time the server
    /// keeps queued and a little more).
    int openCount() const;

    /// Gives the device module to play from now on, opening one when none is open (after
    /// open() only); null: nothing plays. module stays the caller's, and must live until
    /// play() is given another or null, or close() is called. A module a device is given
    /// first is checked for a start behind silence.
    void play(LoadedModule* module);
    /// Queues module to follow the one play() gave, on the same stream without a gap, where
    /// its song ends without repeating; null drops what was queued. It stays queued, also
    /// while nothing plays, until it follows on, another is queued or close(). module stays
    /// the caller's, and must live until then.
    void queue(LoadedModule* module);
    /// The module queued, once it has followed on: from then on the one that plays, and
    /// nothing is queued. Null until then.
    LoadedModule* takeFollowOn();
    /// The module that plays was moved within its song: a start found behind silence no longer
    /// takes it back to where it started, which would undo the move.
    void forgetFreshStart();
    /// Leaves the device to play out the module it plays, where the next module can have a
    /// device of its own: only where the server keeps a queue of its own, and not after a song
    /// that played to its end (the next follows on its stream, after its last notes). The
    /// oldest of more than two such devices is cut short.
    void retire();
    /// Under the device lock, before the device forgets the song's end of the module it plays
    /// (another module set, none, or the module moved): the module keeps it
    /// (LoadedModule::songEnded).
    void noteSongEnd();

    /// Music volume, 0 (silent) to 64 (full), for the device and each one opened later.
    void setVolume(int volume);
    /// Whether songs repeat at their end (OutputRenderer::setRepeat), for the device and each
    /// one opened later.
    void setRepeat(bool repeat);
    /// Whether the device and each one opened later record what is heard when
    /// (OutputDevice::heard).
    void watchHeard(bool watch);

private:
    /// Opens a device with the format and timing of open(), parked, its stream named
    /// streamName; null when it does not open (or open() was not called).
    std::unique_ptr<OutputDevice> openDevice(const std::string& streamName = OutputDevice::kIdleStreamName);
    /// Parks devices that have nothing to play and closes those whose sound has been heard.
    void settleIdleDevices();
    /// Looks, a little after the device was first given a module, whether its first notes
    /// wait behind silence queued at the server while it opened (OutputDevice::
    /// startsBehindSilence); such a device is replaced at once, the module starting again
    /// where it started. Twice at most per start: a third device that starts behind as well
    /// shows a server that never takes its queue at once, and the checks end. The check
    /// stops whenever the device leaves for another reason.
    void checkFreshStart();

    struct Settings {
        OutputFormat format;
        DeviceTiming timing;
    };
    DeviceClock& m_clock;
    std::optional<Settings> m_settings;  // from open(), until close()
    int m_volume = 64;
    bool m_repeat = true;
    bool m_watchHeard = false;

    std::unique_ptr<OutputDevice> m_device;
    /// What m_device plays; null: nothing (it is parked, or parks once its stream is silent).
    LoadedModule* m_playing = nullptr;
    LoadedModule* m_queued = nullptr;  // follows m_playing (queue())
    /// Devices of modules played before, playing the end of their sound until it is heard.
    std::vector<std::unique_ptr<OutputDevice>> m_retired;
    std::unique_ptr<DeviceClock::Timer> m_idleTimer;        // settleIdleDevices()
    std::unique_ptr<DeviceClock::Timer> m_startCheckTimer;  // checkFreshStart()
    /// Of the device last given its first module: the module's place then, and how many
    /// devices that started behind silence it replaced.
    struct FreshStart {
        double position = 0;
        int replacements = 0;
    };
    FreshStart m_freshStart;
    bool m_serverMayStartBehind = true;
};
