#pragma once

// The help window: the program's HTML help pages (help/*.html) in a browser window of its own.

#include <QString>
#include <QStringList>
#include <QWidget>

class QPushButton;
class QTextBrowser;

/// A window, not modal, showing the help pages with Contents, Back and Forward; Escape closes
/// it. The program shows one shared instance through ShowHelp and ShowPage; it belongs to the
/// window that asked for it last (a window outside a modal dialog would not take input while
/// the dialog is up), and when that window is closed it passes on to that window's owner, if
/// there is one. GUI thread only.
class THelpWindow : public QWidget {
    Q_OBJECT

public:
    /// A help window on the pages in helpDirectory, showing nothing yet. owner may be null.
    explicit THelpWindow(const QString& helpDirectory, QWidget* owner = nullptr);

    /// Shows HelpPage(context) in the shared help window, creating it on the first use;
    /// parent is the window asking (any of its widgets will do), may be null.
    static void ShowHelp(int context, QWidget* parent);
    /// Shows page ("name.html" or "name.html#anchor", relative to the help folder) likewise.
    static void ShowPage(const QString& page, QWidget* parent);
    /// The shared window; null before the first ShowHelp or ShowPage and after its owner is
    /// destroyed.
    static THelpWindow* Instance();

    /// Where the help folder is looked for, in this order: "<program dir>/../share/jukarium/help"
    /// (installed), "<program dir>/help" (beside the program), then the source tree's folder.
    static QStringList HelpDirectoryCandidates();
    /// The first of candidates that holds index.html; empty when none does.
    static QString FindHelpDirectory(const QStringList& candidates);
    /// FindHelpDirectory(HelpDirectoryCandidates()).
    static QString HelpDirectory();

    /// Shows page of this window's folder; a page that is missing (or no folder at all) gives
    /// a short note in place of the page.
    void Open(const QString& page);
    /// The page shown, relative to the help folder and with its anchor ("options.html#fadeout");
    /// empty while a note or nothing is shown.
    QString CurrentPage() const;

    void Contents();
    void Back();
    void Forward();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Makes requester's window the owner (see the class comment).
    void adoptOwner(QWidget* requester);
    void showNote(const QString& text);

    QString m_directory;
    QTextBrowser* m_browser = nullptr;
    QPushButton* btnContents = nullptr;
    QPushButton* btnBack = nullptr;
    QPushButton* btnForward = nullptr;
};
