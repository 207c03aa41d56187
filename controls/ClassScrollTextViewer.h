#pragma once

#include <QString>

class ClassOptions;
class TBanner;
struct ModuleInfo;

/// Decides what the main banner scrolls and how fast: a random tip at start, a fixed line
/// while no module is loaded, and a one-line summary after each successful load. A banner the
/// user stopped stays stopped while its text changes. GUI thread only.
class ClassScrollTextViewer {
public:
    /// The banner and the options store are not owned and must outlive the feed.
    /// Applies the stored scroll speed and shows a random tip.
    ClassScrollTextViewer(TBanner& banner, ClassOptions& options);
    ClassScrollTextViewer(const ClassScrollTextViewer&) = delete;
    ClassScrollTextViewer& operator=(const ClassScrollTextViewer&) = delete;

    /// Speed 0 to 2 moves 3, 5 or 10 pixels, any other 15 pixels, every 100 ms; the speed is
    /// stored back normalised to 0 to 3.
    void ApplyScrollSpeed(int speed);

    /// "> No module loaded <".
    void ShowNoModule();

    /// The summary line of the module at path, titled title (the player's module title); for a
    /// module of several songs it ends with the one that plays (subsong from 0, of count).
    void ShowModuleInfo(const ModuleInfo& info, const QString& path, const QString& title,
                        int subsong = 0, int subsongCount = 1);

    /// The tip shown at start, index 0 to 8, with its "Tip: " prefix.
    static QString TipText(int index);

private:
    /// Writes text and puts back the banner's scrolling state from before.
    void showKeepingScrollState(const QString& text);

    TBanner& m_banner;
    ClassOptions& m_options;
};
