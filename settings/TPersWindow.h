#pragma once

#include <QString>

class Registry;

/// The window whose position and size TPersWindow saves and sets, in pixels. Left and top
/// are relative to the screen.
class WindowBounds {
public:
    virtual ~WindowBounds() = default;
    virtual int left() const = 0;
    virtual int top() const = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual void setLeft(int left) = 0;
    virtual void setTop(int top) = 0;
    virtual void setWidth(int width) = 0;
    virtual void setHeight(int height) = 0;
};

/// Keeps the position and size of its owner window in the registry: up to four DWORD
/// values (height, left, top, width) in the key RegPath below the current user's root, each
/// saved and restored on its own switch and under a name of its own. A stored 0 and a
/// missing value both leave the owner as it is. Registry errors are never reported.
/// GUI thread only.
class TPersWindow {
public:
    /// owner and registry must outlive the component.
    TPersWindow(WindowBounds& owner, Registry& registry);
    /// When Enabled, saves.
    ~TPersWindow();
    TPersWindow(const TPersWindow&) = delete;
    TPersWindow& operator=(const TPersWindow&) = delete;

    /// The owner's settings are applied: when Enabled, restores.
    void Loaded();

    /// Writes the values whose Save switch is on (height, left, top, width); nothing when
    /// RegPath is empty.
    void Save();
    /// Applies the stored values whose Set switch is on, each on its own, in the order
    /// height, left, top, width. Opens (and so creates) the key first; an empty RegPath
    /// reads the root key itself.
    void Restore();

    bool Enabled = true;
    QString RegPath;
    /// Value names; empty means "Left", "Top", "Width", "Height".
    QString RgNameLeft;
    QString RgNameTop;
    QString RgNameWidth;
    QString RgNameHeight;
    bool SaveLeft = true;
    bool SaveTop = true;
    bool SaveWidth = true;
    bool SaveHeight = true;
    bool SetLeft = true;
    bool SetTop = true;
    bool SetWidth = true;
    bool SetHeight = true;

private:
    WindowBounds& m_owner;
    Registry& m_registry;
};
