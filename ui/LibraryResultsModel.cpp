#include "ui/LibraryResultsModel.h"

#include "library/ModuleRecord.h"

#include <QCollator>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

QString lengthText(double seconds)
{
    const int whole = int(seconds + 0.5);
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

namespace {

QString shownTitle(const LibraryResult& result)
{
    if (result.state != 0)
        return QStringLiteral("(not readable)");
    return result.title;
}

}  // namespace

void LibraryResultsModel::setResults(QList<LibraryResult> results)
{
    beginResetModel();
    m_results = std::move(results);
    endResetModel();
    if (m_sortColumn >= 0)
        sort(m_sortColumn, m_sortOrder);
}

int LibraryResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_results.size());
}

int LibraryResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LibraryResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_results.size())
        return {};
    const LibraryResult& r = m_results[index.row()];
    if (role == Qt::ToolTipRole)
        return r.state != 0 ? QStringLiteral("%1\nlibopenmpt could not read this file; it is known by its name only.")
                                  .arg(readablePath(r.path))
                            : readablePath(r.path);
    if (role == Qt::TextAlignmentRole && (index.column() == Length || index.column() == Channels))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (index.column()) {
    case Title: return shownTitle(r);
    case Artist: return r.artist;
    case Format: return r.format;
    case Length: return r.state == 0 ? lengthText(r.seconds) : QString();
    case Channels: return r.state == 0 ? QString::number(r.channels) : QString();
    case File: return readableFileName(r.path);
    case Match: return QString(r.match).replace(QLatin1Char('\n'), QLatin1Char(' '));
    default: return {};
    }
}

QVariant LibraryResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const kNames[ColumnCount] = {"Title", "Artist", "Format", "Length", "Channels", "File",
                                                    "Matching text"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(kNames[section]) : QVariant();
}

Qt::ItemFlags LibraryResultsModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | (index.isValid() ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
}

void LibraryResultsModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    const auto less = [&](const LibraryResult& a, const LibraryResult& b) {
        switch (column) {
        case Length: return a.seconds < b.seconds;
        case Channels: return a.channels < b.channels;
        case Title: return collator.compare(shownTitle(a), shownTitle(b)) < 0;
        case Artist: return collator.compare(a.artist, b.artist) < 0;
        case Format: return a.format < b.format;
        case File: return collator.compare(readableFileName(a.path), readableFileName(b.path)) < 0;
        default: return collator.compare(a.match, b.match) < 0;
        }
    };
    emit layoutAboutToBeChanged();
    if (order == Qt::AscendingOrder)
        std::stable_sort(m_results.begin(), m_results.end(), less);
    else
        std::stable_sort(m_results.begin(), m_results.end(), [&](const auto& a, const auto& b) { return less(b, a); });
    emit layoutChanged();
}

QStringList LibraryResultsModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData* LibraryResultsModel::mimeData(const QModelIndexList& indexes) const
{
    QList<int> rows;
    for (const QModelIndex& index : indexes)
        if (index.isValid() && !rows.contains(index.row()))
            rows << index.row();
    std::sort(rows.begin(), rows.end());
    QList<QUrl> urls;
    for (int row : rows)
        urls << QUrl::fromLocalFile(QFile::decodeName(m_results[row].path));
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}
