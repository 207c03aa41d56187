#include "ui/LibraryWindow.h"

#include "library/ModuleRecord.h"
#include "platform/audio/ModuleTypes.h"
#include "session/JukeboxSession.h"
#include "ui/LibraryResultsModel.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

namespace {

/// A pause this long in typing runs the search: one per word typed quickly, not one per key.
constexpr int kTypingPauseMs = 80;

template <typename Widget>
Widget* named(Widget* widget, const char* objectName, const QString& accessibleName)
{
    widget->setObjectName(QLatin1String(objectName));
    widget->setAccessibleName(accessibleName);
    return widget;
}

QString timeLeftText(int seconds)
{
    if (seconds < 0)
        return QStringLiteral("time left unknown");
    if (seconds < 60)
        return QStringLiteral("about %1 s left").arg(seconds);
    return QStringLiteral("about %1 min left").arg((seconds + 59) / 60);
}

}  // namespace

LibraryWindow::LibraryWindow(JukeboxSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session)
{
    setObjectName(QStringLiteral("LibraryWindow"));
    setWindowTitle(QStringLiteral("Library"));
    setAccessibleName(QStringLiteral("Library"));
    resize(1040, 600);
    m_typingPause.setSingleShot(true);
    m_typingPause.setInterval(kTypingPauseMs);
    buildForm();
    connectForm();
    showFolders(m_session.library().folders());
    showProgress(m_session.library().progress());
    m_progressBar->setVisible(m_session.library().indexing());
    m_cancel->setEnabled(m_session.library().indexing());
}

LibraryWindow::~LibraryWindow() = default;

void LibraryWindow::buildForm()
{
    // Left: the folders.
    auto* foldersBox = new QGroupBox(QStringLiteral("&Folders"));
    m_folders = named(new QListWidget, "lstFolders", QStringLiteral("Folders"));
    m_addFolder = named(new QPushButton(QStringLiteral("&Add folder...")), "btnAddFolder", QStringLiteral("Add folder"));
    m_removeFolder = named(new QPushButton(QStringLiteral("&Remove folder")), "btnRemoveFolder",
                           QStringLiteral("Remove folder"));
    auto* folderButtons = new QHBoxLayout;
    folderButtons->addWidget(m_addFolder);
    folderButtons->addWidget(m_removeFolder);
    auto* foldersLayout = new QVBoxLayout(foldersBox);
    foldersLayout->addWidget(m_folders);
    foldersLayout->addLayout(folderButtons);

    // Right: search, filters, results.
    m_search = named(new QLineEdit, "edtSearch", QStringLiteral("Search"));
    m_search->setPlaceholderText(QStringLiteral("Title, artist, file, sample or instrument name, message"));
    auto* searchLabel = new QLabel(QStringLiteral("&Search:"));
    searchLabel->setBuddy(m_search);

    m_format = named(new QComboBox, "cboFormat", QStringLiteral("Format"));
    m_format->addItem(QStringLiteral("Any format"), QString());
    for (const QString& extension : ModuleTypes::UpperExtensions())
        m_format->addItem(extension.mid(1), extension.mid(1));
    m_minLength = named(new QDoubleSpinBox, "spnMinLength", QStringLiteral("Shortest length in seconds"));
    m_maxLength = named(new QDoubleSpinBox, "spnMaxLength", QStringLiteral("Longest length in seconds"));
    for (QDoubleSpinBox* length : {m_minLength, m_maxLength}) {
        length->setRange(0, 24 * 3600);
        length->setDecimals(0);
        length->setSuffix(QStringLiteral(" s"));
        length->setSpecialValueText(QStringLiteral("any"));
    }
    m_channels = named(new QSpinBox, "spnChannels", QStringLiteral("Channels"));
    m_channels->setRange(0, 256);
    m_channels->setSpecialValueText(QStringLiteral("any"));
    m_folderFilter = named(new QComboBox, "cboFolder", QStringLiteral("Folder"));

    auto* filters = new QHBoxLayout;
    const auto addFilter = [filters](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption);
        label->setBuddy(field);
        filters->addWidget(label);
        filters->addWidget(field);
    };
    addFilter(QStringLiteral("F&ormat:"), m_format);
    addFilter(QStringLiteral("&Length from:"), m_minLength);
    addFilter(QStringLiteral("&to:"), m_maxLength);
    addFilter(QStringLiteral("C&hannels:"), m_channels);
    addFilter(QStringLiteral("Fol&der:"), m_folderFilter);
    filters->addStretch();

    m_results = new LibraryResultsModel(this);
    m_table = named(new QTableView, "tblResults", QStringLiteral("Results"));
    m_table->setModel(m_results);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(-1, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setDragEnabled(true);
    m_table->setDragDropMode(QAbstractItemView::DragOnly);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    // Narrow enough that the matching text, last, is in sight without scrolling.
    const int digit = m_table->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    m_table->setColumnWidth(LibraryResultsModel::Title, 22 * digit);
    m_table->setColumnWidth(LibraryResultsModel::Artist, 14 * digit);
    m_table->setColumnWidth(LibraryResultsModel::Format, 7 * digit);
    m_table->setColumnWidth(LibraryResultsModel::Length, 7 * digit);
    m_table->setColumnWidth(LibraryResultsModel::Channels, 9 * digit);
    m_table->setColumnWidth(LibraryResultsModel::File, 14 * digit);
    m_table->installEventFilter(this);

    // Labels that change are read by their text; a name of their own would hide it.
    m_resultCount = new QLabel;
    m_resultCount->setObjectName(QStringLiteral("lblResultCount"));
    m_newDisc = named(new QPushButton(QStringLiteral("&New disc from selection")), "btnNewDisc",
                      QStringLiteral("New disc from selection"));
    auto* resultButtons = new QHBoxLayout;
    resultButtons->addWidget(m_resultCount, 1);
    resultButtons->addWidget(m_newDisc);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(searchRow);
    rightLayout->addLayout(filters);
    rightLayout->addWidget(m_table, 1);
    rightLayout->addLayout(resultButtons);

    auto* splitter = new QSplitter;
    splitter->addWidget(foldersBox);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 820});

    // Bottom: the scan.
    m_progressBar = named(new QProgressBar, "prgIndexing", QStringLiteral("Indexing progress"));
    m_progressBar->setTextVisible(true);
    m_progressText = new QLabel;
    m_progressText->setObjectName(QStringLiteral("lblProgress"));
    m_cancel = named(new QPushButton(QStringLiteral("&Cancel")), "btnCancelIndexing",
                     QStringLiteral("Cancel indexing"));
    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("lblMessage"));
    m_message->setWordWrap(true);
    m_message->hide();
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progressBar, 1);
    progressRow->addWidget(m_progressText, 2);
    progressRow->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_message);
    layout->addLayout(progressRow);
    const QList<QWidget*> tabOrder{m_search,  m_format,  m_minLength, m_maxLength,    m_channels,     m_folderFilter,
                                   m_table,   m_newDisc, m_folders,   m_addFolder,    m_removeFolder, m_cancel};
    for (qsizetype n = 1; n < tabOrder.size(); ++n)
        setTabOrder(tabOrder[n - 1], tabOrder[n]);
}

void LibraryWindow::connectForm()
{
    ModuleLibrary& library = m_session.library();
    connect(&m_typingPause, &QTimer::timeout, this, &LibraryWindow::searchNow);
    connect(m_search, &QLineEdit::textChanged, &m_typingPause, qOverload<>(&QTimer::start));
    connect(m_format, &QComboBox::currentIndexChanged, this, &LibraryWindow::searchNow);
    connect(m_folderFilter, &QComboBox::currentIndexChanged, this, &LibraryWindow::searchNow);
    for (QDoubleSpinBox* length : {m_minLength, m_maxLength})
        connect(length, &QDoubleSpinBox::valueChanged, &m_typingPause, qOverload<>(&QTimer::start));
    connect(m_channels, &QSpinBox::valueChanged, &m_typingPause, qOverload<>(&QTimer::start));
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        // Enter in the search field plays the first result, as the table's Enter plays its row.
        searchNow();
        if (m_results->rowCount() > 0)
            play(m_results->result(0));
    });
    connect(m_table, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { play(m_results->result(index.row())); });
    connect(m_table, &QWidget::customContextMenuRequested, this, &LibraryWindow::showContextMenu);
    connect(m_newDisc, &QAbstractButton::clicked, this, &LibraryWindow::newDiscFromSelection);
    connect(m_addFolder, &QAbstractButton::clicked, this, &LibraryWindow::addFolder);
    connect(m_removeFolder, &QAbstractButton::clicked, this, &LibraryWindow::removeFolder);
    connect(m_cancel, &QAbstractButton::clicked, &library, &ModuleLibrary::cancel);
    connect(&library, &ModuleLibrary::foldersChanged, this, &LibraryWindow::showFolders);
    connect(&library, &ModuleLibrary::indexingStarted, this, [this] {
        m_progressBar->show();
        m_cancel->setEnabled(true);
    });
    connect(&library, &ModuleLibrary::progressChanged, this, &LibraryWindow::showProgress);
    connect(&library, &ModuleLibrary::indexingFinished, this, &LibraryWindow::showFinished);
    connect(&library, &ModuleLibrary::message, this, [this](const QString& text) {
        m_message->setText(text);
        m_message->show();
    });
}

void LibraryWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_session.library().rescan();
    searchNow();
    m_search->setFocus();
}

bool LibraryWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the table plays the current row (the view's own activation needs a platform
    // that activates on Enter; this one always does).
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_table->currentIndex().isValid()) {
            play(m_results->result(m_table->currentIndex().row()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void LibraryWindow::searchNow()
{
    m_typingPause.stop();
    LibraryQuery query;
    query.words = m_search->text();
    query.format = m_format->currentData().toString();
    query.minSeconds = m_minLength->value() > 0 ? m_minLength->value() : -1;
    query.maxSeconds = m_maxLength->value() > 0 ? m_maxLength->value() : -1;
    query.channels = m_channels->value();
    query.folder = QFile::encodeName(m_folderFilter->currentData().toString());
    const QList<LibraryResult> results = m_session.library().search(query);
    const bool full = results.size() >= query.limit;
    m_results->setResults(results);
    m_resultCount->setText(full ? QStringLiteral("The first %1 modules").arg(results.size())
                                : results.size() == 1 ? QStringLiteral("1 module")
                                                      : QStringLiteral("%1 modules").arg(results.size()));
    if (m_results->rowCount() > 0 && !m_table->currentIndex().isValid())
        m_table->setCurrentIndex(m_results->index(0, 0));
}

void LibraryWindow::showFolders(const QStringList& folders)
{
    m_folders->clear();
    m_folders->addItems(folders);
    const QString filter = m_folderFilter->currentData().toString();
    m_folderFilter->blockSignals(true);
    m_folderFilter->clear();
    m_folderFilter->addItem(QStringLiteral("Any folder"), QString());
    for (const QString& folder : folders)
        m_folderFilter->addItem(QFileInfo(folder).fileName(), folder);
    m_folderFilter->setCurrentIndex(std::max(0, m_folderFilter->findData(filter)));
    m_folderFilter->blockSignals(false);
}

void LibraryWindow::showProgress(const IndexProgress& progress)
{
    const int total = progress.indexed + progress.left;
    m_progressBar->setRange(0, progress.walked ? std::max(total, 1) : 0);  // busy until all are found
    m_progressBar->setValue(progress.indexed);
    m_progressText->setText(QStringLiteral("%1 found, %2 indexed, %3 left, %4")
                                .arg(progress.found)
                                .arg(progress.indexed)
                                .arg(progress.left)
                                .arg(timeLeftText(progress.secondsLeft)));
    m_progressBar->setAccessibleDescription(m_progressText->text());
}

void LibraryWindow::showFinished(const IndexSummary& summary)
{
    m_progressBar->hide();
    m_cancel->setEnabled(false);
    QStringList parts{QStringLiteral("%1 modules indexed").arg(summary.progress.indexed)};
    if (summary.cancelled)
        parts[0] = QStringLiteral("Indexing cancelled: %1 of %2 modules indexed")
                       .arg(summary.progress.indexed)
                       .arg(summary.progress.found);
    if (summary.unreadable + summary.tooSlow > 0)
        parts << QStringLiteral("%1 not readable").arg(summary.unreadable + summary.tooSlow);
    if (summary.vanished > 0)
        parts << QStringLiteral("%1 gone before they were read").arg(summary.vanished);
    if (summary.unreadableFolders > 0)
        parts << QStringLiteral("%1 folders could not be read").arg(summary.unreadableFolders);
    if (summary.repeatedFolders > 0)
        parts << QStringLiteral("%1 folder links skipped").arg(summary.repeatedFolders);
    if (summary.missingFolders > 0)
        parts << QStringLiteral("%1 folders not found").arg(summary.missingFolders);
    m_progressText->setText(parts.join(QStringLiteral(", ")));
    searchNow();
}

void LibraryWindow::addFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Add folder to the library"));
    if (!folder.isEmpty())
        m_session.library().addFolder(folder);
}

void LibraryWindow::removeFolder()
{
    if (QListWidgetItem* item = m_folders->currentItem())
        m_session.library().removeFolder(item->text());
}

QList<LibraryResult> LibraryWindow::selectedResults() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty() && m_table->currentIndex().isValid())
        rows << m_table->currentIndex().row();
    std::sort(rows.begin(), rows.end());
    QList<LibraryResult> results;
    for (int row : rows)
        results << m_results->result(row);
    return results;
}

void LibraryWindow::play(const LibraryResult& result)
{
    if (!result.path.isEmpty())
        m_session.OpenCommandFile(QFile::decodeName(result.path));
}

void LibraryWindow::newDiscFromSelection()
{
    QStringList paths;
    for (const LibraryResult& result : selectedResults())
        paths << QFile::decodeName(result.path);
    if (!paths.isEmpty())
        m_session.NewDiscFromModules(paths);
}

void LibraryWindow::showContextMenu(const QPoint& at)
{
    // A right click makes its row current first; the menu key leaves the current row where
    // it was, and the menu opens under it rather than in the middle of the table.
    const QModelIndex index = m_table->currentIndex();
    if (!index.isValid())
        return;
    const QRect cell = m_table->visualRect(index);
    const QPoint where = cell.contains(at) ? at : cell.bottomLeft();
    const LibraryResult result = m_results->result(index.row());
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("popLibraryResult"));
    menu.addAction(QStringLiteral("&Play"), this, [this, result] { play(result); });
    menu.addAction(QStringLiteral("&Open folder"), this, [this, result] { openFolder(result); });
    menu.addAction(QStringLiteral("&Information..."), this, [this, result] { showInformation(result); });
    menu.addSeparator();
    menu.addAction(QStringLiteral("&New disc from selection"), this, &LibraryWindow::newDiscFromSelection);
    menu.exec(m_table->viewport()->mapToGlobal(where));
}

void LibraryWindow::openFolder(const LibraryResult& result)
{
    const QString path = QFile::decodeName(result.path);
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

void LibraryWindow::showInformation(const LibraryResult& result)
{
    const std::optional<ModuleRecord> record = m_session.library().record(result.id);
    if (!record)
        return;
    QStringList lengths;
    for (double seconds : record->subsongSeconds)
        lengths << lengthText(seconds);
    const QString facts = QStringLiteral("File: %1\nTitle: %2\nArtist: %3\nFormat: %4\nTracker: %5\nChannels: %6\n"
                                         "Subsongs: %7 (%8)\nSize: %9 bytes")
                              .arg(readablePath(record->path), record->title, record->artist, record->format,
                                   record->tracker)
                              .arg(record->channels)
                              .arg(record->subsongSeconds.size())
                              .arg(lengths.join(QStringLiteral(", ")))
                              .arg(record->size);
    QMessageBox box(QMessageBox::Information, QStringLiteral("Module information"),
                    record->state == ModuleRecord::State::Read
                        ? facts
                        : facts + QStringLiteral("\n\nThis file could not be read as a module."),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("LibraryModuleInformation"));
    box.setDetailedText(QStringLiteral("Instruments and samples:\n%1\n\nMessage:\n%2").arg(record->names, record->message));
    box.exec();
}
