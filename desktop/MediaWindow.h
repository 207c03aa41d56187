#pragma once

#include <QString>

/// What the desktop's media controls need of the main window. The main window implements it.
/// GUI thread only.
class MediaWindow {
public:
    virtual ~MediaWindow() = default;

    /// Shows the window (also from the notification area) and brings it to the front.
    virtual void RaiseWindow() = 0;
    /// Closes the window as its "Exit" command does, the question about a changed disc included.
    virtual void QuitWindow() = 0;
    /// Opens a module or disc file as a second start handing it over would, in the session's
    /// line of outside requests; a module that does not load is reported in the status bar.
    virtual void OpenFile(const QString& path) = 0;
};
