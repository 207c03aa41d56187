#pragma once

#include "settings/TPersWindow.h"
#include "ui/MainWindowForm.h"
#include "ui/WidgetBounds.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class ClassOptions;
class ClassScrollTextViewer;
class Registry;

/// The program's main window and hub. Creating it builds the working objects (options store
/// first); every user command is a short handler that forwards to one of them. The working
/// objects call back through the operations below. GUI thread only.
class TMainWindow : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString kInstanceCaption = QStringLiteral("Vorn Jukarium");

    /// registry must outlive the window. arguments: the program's command line, program first.
    TMainWindow(Registry& registry, const QStringList& arguments);
    /// Saves the placement, then releases the working objects, the options store last.
    ~TMainWindow() override;

    /// Status bar panel 0, painted at once so it shows during the blocking work that follows.
    void SetStatusText(const QString& text);
    /// Status bar panel 1: the mixing buffer length.
    void SetBufferText(const QString& text);
    /// Status bar panel 2: song position and length.
    void SetPositionText(const QString& text);
    /// The loaded module's path; a length of 0 or 1 means none.
    void SetModulePath(const QString& path);
    /// Shows or hides the information memo, each view with its own stored height.
    void SetInfoView(bool flag);
    /// Stops the banner (around modal dialogs and while hidden) and starts it again, unless
    /// the user switched the scroller off.
    void PauseBanner();
    void ResumeBanner();
    /// Makes the window the active one and raises it; a hidden window stays hidden.
    void BringToFront();

    /// A second start handed over text: it becomes CommandFile, is opened if it names a
    /// module or a disc, and the window comes to the front.
    void ReceiveForwardedFile(const QString& text);

    QString CommandFile() const { return m_commandFile; }
    QString CurrentModule() const { return m_currentModule; }
    bool InfoVisible() const { return m_infoVisible; }
    bool ScrollerDisabled() const { return m_scrollerDisabled; }
    const MainWindowForm& form() const { return m_form; }
    ClassOptions& options() { return *m_options; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void connectCommands();
    void UpdateModuleControls();
    void LoadPlacement();
    void SavePlacement();
    void FormResize();
    int defaultHeight(bool infoView) const;

    MainWindowForm m_form;
    WidgetBounds m_bounds{*this};
    std::unique_ptr<ClassOptions> m_options;
    std::unique_ptr<ClassScrollTextViewer> m_textFeed;
    TPersWindow prwMainWindow;
    TPersWindow prwMainWindowHeight;
    QString m_commandFile;
    QString m_currentModule;
    bool m_infoVisible = false;
    bool m_scrollerDisabled = false;
};
