#pragma once

#include "platform/audio/AudioLibrary.h"
#include "platform/audio/ChannelMutes.h"

#include <QString>
#include <libopenmpt/libopenmpt_ext.hpp>

#include <array>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>


/// A module read from its file, with what the library tells about it worked out once, so that
/// reading the information never competes with the device thread for the module.
struct LoadedModule {
    LoadedModule();
    ~LoadedModule();

    /// Where libopenmpt writes its warnings: nowhere (no buffer) once the module has loaded;
    /// loadModuleFile() keeps what it writes while loading. Declared before module, which
    /// writes to it as long as it lives.
    std::ostream log{nullptr};
    /// Set to go on at its loop start after each end of its song, which a read of nothing
    /// marks (OutputRenderer repeats or stops there). Played by the device thread
    /// under the device lock once installed.
    std::unique_ptr<openmpt::module_ext> module;
    /// The module's interactive side, which mutes channels; null where libopenmpt has none.
    openmpt::ext::interactive* interactive = nullptr;
    /// The channels the listener muted.
    ChannelMutes mutedChannels;
    ModuleInfo info;
    ModuleDetails details;
    /// What the sound server shows for a stream opened for it: its song name, else its
    /// file's name; UTF-8.
    std::string streamName;
    /// One per instrument, or per sample where the module has no instruments.
    std::vector<InstrumentInfo> instruments;
    /// The song played to its end and stopped there; on the GUI thread, under the device lock.
    bool songEnded = false;
    /// Its own gain (AudioLibrary::setModuleGain), in decibels; on the GUI thread.
    double gainDecibels = 0;

    /// Moves the module within its song with move, which takes it out of its song's end;
    /// false, with the module where it was, when move throws. On the GUI thread, under the
    /// device lock.
    bool moveWithinSong(const std::function<void(openmpt::module&)>& move);
};

/// Larger files are refused unread; the largest real modules are a few MiB.
constexpr qint64 kMaxModuleFileBytes = 64 * 1024 * 1024;

/// Reads and decodes the module at path (a full path, any characters). Null when it is no
/// regular file, is empty or larger than kMaxModuleFileBytes, cannot be read, or holds no
/// module libopenmpt plays. Opens without blocking, so a named pipe never hangs it.
/// error, unless null, gets the reason for a null result, empty after a load that worked:
/// libopenmpt's own words where it refused the data (what it logged while loading, then
/// what it threw, joined by "; "), ours where the file was not read.
/// Any thread; touches no shared state; prints nothing.
std::unique_ptr<LoadedModule> loadModuleFile(const QString& path, QString* error = nullptr);

/// text cut to 32 bytes, on a UTF-8 character boundary, padded with NUL.
std::array<char, 32> fixedText(const std::string& text);
