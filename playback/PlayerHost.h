#pragma once

#include "platform/audio/Loudness.h"

#include <QString>
#include <QStringList>

#include <optional>

struct ModuleInfo;

/// How loud a song plays where every module plays at the same loudness.
struct SongLevel {
    /// What the song measures; none where songs are not levelled.
    std::optional<Loudness> loudness;
    /// The song's own gain (AudioLibrary::setModuleGain); 0 where songs are not levelled.
    double gainDb = 0;

    bool operator==(const SongLevel&) const = default;
};

/// What the module player tells its owner, and asks of it: the status bar, the banner text
/// feed, the disc model and the dialogs. The session implements it; tests fake it. GUI thread
/// only.
class PlayerHost {
public:
    virtual ~PlayerHost() = default;

    /// Status bar panel 0, painted at once.
    virtual void SetStatusText(const QString& text) = 0;
    /// Status bar panel 1: the buffer length.
    virtual void SetBufferText(const QString& text) = 0;
    /// Status bar panel 2: song position and length.
    virtual void SetPositionText(const QString& text) = 0;
    /// Status bar panel 3: the time played of the song and its length ("1:23 / 2:25").
    virtual void SetTimeText(const QString& text) = 0;
    /// The loaded module's path; empty or one blank for none.
    virtual void SetModulePath(const QString& path) = 0;

    /// The banner text feed: the summary of a loaded module, or the no-module line.
    virtual void ShowModuleInfo(const ModuleInfo& info, const QString& path) = 0;
    virtual void ShowNoModule() = 0;
    /// The disc model: the slot of the closed module is no longer the current one.
    virtual void ForgetCurrentSlot() = 0;
    /// The disc model: whether the loaded module is the current slot's, and the slot still holds it.
    virtual bool PlaysDiscSlot() const = 0;
    /// The disc model: plays the next slot that holds a module, wrapping to the first.
    virtual void PlayNextSlot() = 0;
    /// The module queued with ClassModPlayer::QueueModule() follows the one that ended, without
    /// a gap: the host makes it the loaded one (ClassModPlayer::AdoptQueuedModule()) amid what
    /// it keeps about it.
    virtual void QueuedModuleFollows() = 0;

    /// The directory chooser (kind 1: copy, 2: move): the chosen directory ending in "/", or
    /// empty when cancelled.
    virtual QString ChooseDirectory(int kind) = 0;
    /// The rename dialog, which renames the file at path itself: the new full path, or empty
    /// when cancelled or when the file could not be renamed.
    virtual QString RenameModuleDialog(const QString& path) = 0;
    /// The disc model: the loaded module's file has a new path; empty when it was deleted.
    virtual void ModulePathChanged(const QString& path) = 0;

    /// The level of subsong (from 0) of the module at path; none while it is not known yet,
    /// the song keeping the gain it has meanwhile (0 dB for one just loaded).
    virtual std::optional<SongLevel> SongLevelOf(const QString& path, int subsong) = 0;

    /// Shows or hides the information memo.
    virtual void SetInfoView(bool visible) = 0;
    /// Replaces the lines of the information memo.
    virtual void SetInfoLines(const QStringList& lines) = 0;
};
