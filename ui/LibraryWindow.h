#pragma once

#include "library/LibraryIndexer.h"

#include <QTimer>
#include <QWidget>

class JukeboxSession;
class LibraryResultsModel;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;
struct LibraryResult;

/// The module library's window: the folders it indexes (Add folder..., Remove folder), the
/// scan's progress (found, indexed, left, time left) with Cancel, and a search that answers
/// while the user types, with filters for format, length, channels and folder. Results sit in
/// a table sorted by any column: Enter or a double click plays one, a drag takes them onto the
/// disc's slots as files, "New disc from selection" fills a new disc, and the context menu
/// plays, opens the folder or shows the information. Every control has a name a screen reader
/// speaks. Opening the window scans again, so that it shows what changed while it was closed.
/// GUI thread only.
class LibraryWindow : public QWidget {
    Q_OBJECT
public:
    /// session must outlive the window.
    explicit LibraryWindow(JukeboxSession& session, QWidget* parent = nullptr);
    ~LibraryWindow() override;

    /// Runs the search now instead of after the typing pause.
    void searchNow();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void connectForm();
    void showFolders(const QStringList& folders);
    void showProgress(const IndexProgress& progress);
    void showFinished(const IndexSummary& summary);
    void addFolder();
    void removeFolder();
    /// Results of the selected rows in table order; the current row when none is selected.
    QList<LibraryResult> selectedResults() const;
    void play(const LibraryResult& result);
    void newDiscFromSelection();
    void showContextMenu(const QPoint& at);
    void openFolder(const LibraryResult& result);
    void showInformation(const LibraryResult& result);

    JukeboxSession& m_session;
    LibraryResultsModel* m_results = nullptr;
    QTimer m_typingPause;
    QListWidget* m_folders = nullptr;
    QPushButton* m_addFolder = nullptr;
    QPushButton* m_removeFolder = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QLabel* m_progressText = nullptr;
    QPushButton* m_cancel = nullptr;
    QLineEdit* m_search = nullptr;
    QComboBox* m_format = nullptr;
    QDoubleSpinBox* m_minLength = nullptr;
    QDoubleSpinBox* m_maxLength = nullptr;
    QSpinBox* m_channels = nullptr;
    QComboBox* m_folderFilter = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_resultCount = nullptr;
    QPushButton* m_newDisc = nullptr;
    QLabel* m_message = nullptr;
};
