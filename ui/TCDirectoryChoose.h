#pragma once

#include <QDialog>
#include <QString>

class ClassOptions;
class QComboBox;
class QGroupBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class TNewButton;

/// The directory chooser: asks for the target directory of copying or moving a module or of
/// moving a disc. It offers the mounted volumes (`Drive`), a directory list (`Directory`: the
/// chain from the root down to the browsed directory, then that directory's subdirectories),
/// the recently chosen directories of the options store (`drpPaths`) and "C&reate folder".
///
/// Browsing never changes the process's current directory: a relative path, a forwarded file
/// or a user action elsewhere must not see another folder because a list was browsed. The
/// owner carries the browsed directory over (BrowsedDirectory, SetStartDirectory) so that the
/// next chooser starts where this one left off. Created by its caller with an owner around one
/// ChooseDirectory; GUI thread only.
class TCDirectoryChoose : public QDialog {
    Q_OBJECT

public:
    /// kind values of ChooseDirectory.
    static constexpr int kCopyModule = 1;
    static constexpr int kMoveModule = 2;
    static constexpr int kMoveDisc = 3;

    /// options: the store of the recent directories; it must outlive the chooser.
    explicit TCDirectoryChoose(ClassOptions& options, QWidget* owner = nullptr);

    /// Where ChooseDirectory starts; empty (at first): the process's current directory.
    void SetStartDirectory(const QString& directory) { m_start = directory; }

    /// Shows the chooser modally, with the focus in the directory list, starting at the start
    /// directory (or, when it cannot be entered, with browsing disabled). kind: 1 copy
    /// module, 2 move module, anything else move disc (the caption). Returns the selected
    /// directory ending in "/" (the root stays "/") and adds it, without that "/", to the recent
    /// directories; returns an empty string and leaves the list alone when cancelled.
    QString ChooseDirectory(int kind);

    /// "Copy module to:", "Move module to:" or "Move disc to:".
    static QString CaptionFor(int kind);
    /// directory with one "/" at its end.
    static QString WithFinalSeparator(const QString& directory);

    /// The directory selected in `Directory`, without a final "/" except for the root.
    QString SelectedDirectory() const;
    /// The directory whose subdirectories `Directory` lists, as a canonical path; empty before
    /// any was browsed.
    const QString& BrowsedDirectory() const { return m_browsed; }
    /// Whether a directory can be browsed and confirmed (see SetBrowsingEnabled).
    bool BrowsingEnabled() const { return m_browsingEnabled; }

    /// Disabled, `Directory` and `grpPath` are hidden and OK and "C&reate folder" disabled, so
    /// nothing can be confirmed until a drive or previous path works; enabled undoes that.
    /// `Drive` and `drpPaths` stay usable either way.
    void SetBrowsingEnabled(bool enabled);

    /// Browses root (a volume's root path) and enables browsing; when it cannot be entered,
    /// disables browsing and shows message 1310 with root.
    void DriveChange(const QString& root);
    /// Browses a previous path and enables browsing; an empty text disables browsing, a path
    /// that cannot be entered also shows message 1300 with it.
    void drpPathsChange(const QString& text);
    /// Re-reads `Directory`, keeping the selection where it still exists (the F5 key).
    void Refresh();
    /// Creates a folder inside the selected directory and browses into it when created.
    void btnCreateFolderClick();

    /// Shows directory (absolute, or relative to the process's current directory) in `Drive`
    /// and `Directory`, selected. False, with nothing changed, when it cannot be entered.
    bool Browse(const QString& directory);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void fillDrives();
    void selectDriveOf(const QString& directory);
    void readDirectory(const QString& selection);
    void DirectoryChange();
    void directoryActivated(QTreeWidgetItem* item);

    ClassOptions& m_options;
    QComboBox* Drive = nullptr;
    QTreeWidget* Directory = nullptr;
    TNewButton* btnOK = nullptr;
    TNewButton* btnCancel = nullptr;
    TNewButton* btnCreateFolder = nullptr;
    QGroupBox* grpPath = nullptr;
    QLabel* staPath = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QComboBox* drpPaths = nullptr;

    QString m_start;
    QString m_browsed;  // the directory whose subdirectories `Directory` lists
    bool m_browsingEnabled = true;
    bool Confirmed = false;
};
