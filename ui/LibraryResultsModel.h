#pragma once

#include "library/LibrarySearch.h"

#include <QAbstractTableModel>

/// The results of a library search as a table: title, artist, format, length, channels, file
/// and the text that matched. Sorted by any column (the view's header asks); dragged out as
/// local file URLs, as a file manager drags files, so that every drop target of the program
/// takes them. GUI thread only.
class LibraryResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Title, Artist, Format, Length, Channels, File, Match, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    /// Replaces every row, keeping the sort order last asked for.
    void setResults(QList<LibraryResult> results);
    /// The result of row, or a default one outside the rows.
    LibraryResult result(int row) const { return m_results.value(row); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

private:
    QList<LibraryResult> m_results;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

/// "m:ss" for a length in seconds.
QString lengthText(double seconds);
