#pragma once

#include <QString>

#include <functional>

/// What a user action needs of the main window and the platform. The main window implements
/// it; tests fake it. GUI thread only.
class UserActionHost {
public:
    virtual ~UserActionHost() = default;
    /// The long path of the loaded module; length 0 or 1 means no module.
    virtual QString CurrentModule() const = 0;
    /// The player's CloseModule: fade-out, module freed, CurrentModule empty, "Module closed";
    /// then then, at once or once the fade-out is over.
    virtual void CloseModule(std::function<void()> then) = 0;
    /// Status bar panel 0, painted at once.
    virtual void SetStatusText(const QString& text) = 0;
    /// Repaints the main window at once, not at the next idle time.
    virtual void RepaintNow() = 0;
    /// Runs then ms milliseconds from now, from the event loop.
    virtual void After(int ms, std::function<void()> then) = 0;
    /// Starts the command line detached (see platform/ProgramStarter.h); false when nothing
    /// started.
    virtual bool StartProgram(const QString& commandLine) = 0;
};
