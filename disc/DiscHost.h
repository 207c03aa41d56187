#pragma once

#include <QString>

/// What the disc model tells its owner, and asks of it: the status bar, the disc's look, the
/// current module's title and the dialogs. The session implements it; tests fake it.
/// Slot numbers are 1 to 20, disc button numbers 1 or 2. GUI thread only.
class DiscHost {
public:
    virtual ~DiscHost() = default;

    /// Status bar panel 0, painted at once.
    virtual void SetStatusText(const QString& text) = 0;
    /// Shows path as the loaded module's (caption, module menu items).
    virtual void SetModulePath(const QString& path) = 0;
    /// The current module title; empty without a module.
    virtual QString CurrentModuleTitle() const = 0;
    /// The subsong (from 0) of the loaded module that plays; 0 without a module.
    virtual int CurrentSubsong() const = 0;

    /// The disc file name was read, or written, whole.
    virtual void DiscLoaded(const QString& name) = 0;
    virtual void DiscSaved(const QString& name) = 0;

    /// The disc group box's caption and the disc buttons' captions.
    virtual void SetDiscCaption(const QString& caption) = 0;
    virtual void SetDiscButtonCaption(int button, const QString& caption) = 0;
    /// Slot button n: its hint; its font colour (the active-caption colour when assigned,
    /// the window-text colour otherwise); its font style (bold italic when current).
    virtual void SetSlotHint(int slot, const QString& hint) = 0;
    virtual void SetSlotAssigned(int slot, bool assigned) = 0;
    virtual void SetSlotCurrent(int slot, bool current) = 0;

    /// Opens the slot menu (its "assign" and "clear" items enabled as given) or the disc
    /// button menu at screen point (x, y); returns when the menu has closed.
    virtual void ShowSlotMenu(int x, int y, bool assignEnabled, bool clearEnabled) = 0;
    virtual void ShowDiscButtonMenu(int x, int y, bool clearEnabled) = 0;

    /// The open dialog for disc files ("Open Disc"), starting in startDirectory; the chosen
    /// full name, or empty when cancelled.
    virtual QString ChooseDiscFile(const QString& startDirectory) = 0;
    /// The save dialog for disc files ("Save Disc as"); the chosen name, or empty.
    virtual QString ChooseSaveDiscFile() = 0;
    /// The directory chooser for moving a disc ("Move disc to:"): the chosen directory ending
    /// in "/", or empty when cancelled (it also enters it in the recent directories).
    virtual QString ChooseDirectory(int kind) = 0;
};
