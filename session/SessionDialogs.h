#pragma once

#include <QString>

/// What the session must ask of a screen: the window's dialogs and popup menus. The main
/// window implements it; a session without one (before the window exists, and in tests)
/// answers every dialog as cancelled and shows no menu. GUI thread only.
class SessionDialogs {
public:
    virtual ~SessionDialogs() = default;

    /// The directory chooser (kind 1: copy, 2: move a module, 3: move a disc): the chosen
    /// directory ending in "/", or empty when cancelled.
    virtual QString ChooseDirectory(int kind) = 0;
    /// The rename dialog, which renames the file at path itself: the new full path, or empty
    /// when cancelled or when the file could not be renamed.
    virtual QString RenameModuleDialog(const QString& path) = 0;
    /// The open dialog for disc files ("Open Disc"), starting in startDirectory; the chosen
    /// full name, or empty when cancelled.
    virtual QString ChooseDiscFile(const QString& startDirectory) = 0;
    /// The save dialog for disc files ("Save Disc as"); the chosen name, or empty.
    virtual QString ChooseSaveDiscFile() = 0;
    /// Opens the slot menu (its "assign" and "clear" items enabled as given) or the disc
    /// button menu at screen point (x, y); returns when the menu has closed.
    virtual void ShowSlotMenu(int x, int y, bool assignEnabled, bool clearEnabled) = 0;
    virtual void ShowDiscButtonMenu(int x, int y, bool clearEnabled) = 0;
    /// Whether a box, dialog or menu waits for the user's answer now: requests from outside
    /// wait until it has closed.
    virtual bool Answering() const = 0;
};
