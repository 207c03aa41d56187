#include "ui/PatternModel.h"

#include "platform/audio/PatternText.h"

#include <algorithm>

void PatternModel::setText(const PatternText* text)
{
    beginResetModel();
    m_text = text;
    m_pattern = -1;
    m_muted.clear();
    m_channels = m_text ? m_text->channels() : 0;
    m_cells = readCells(m_pattern);
    endResetModel();
}

void PatternModel::showPattern(int pattern)
{
    if (pattern == m_pattern)
        return;
    m_pattern = pattern;
    const QStringList cells = readCells(pattern);
    const int before = rowCount();
    const int after = m_channels == 0 ? 0 : static_cast<int>(cells.size() / m_channels);
    if (after < before) {
        beginRemoveRows(QModelIndex(), after, before - 1);
        m_cells = cells;
        endRemoveRows();
    } else if (after > before) {
        beginInsertRows(QModelIndex(), before, after - 1);
        m_cells = cells;
        endInsertRows();
    } else {
        m_cells = cells;
    }
    const int kept = std::min(before, after);
    if (kept > 0)
        emit dataChanged(index(0, 0), index(kept - 1, m_channels - 1));
}

void PatternModel::setMutedChannels(const QList<bool>& muted)
{
    if (muted == m_muted)
        return;
    m_muted = muted;
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QStringList PatternModel::readCells(int pattern) const
{
    QStringList cells;
    const int rows = m_text ? m_text->rows(pattern) : 0;
    cells.reserve(rows * m_channels);
    for (int row = 0; row < rows; ++row) {
        for (int channel = 0; channel < m_channels; ++channel)
            cells.append(m_text->cell(pattern, row, channel));
    }
    return cells;
}

int PatternModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || m_channels == 0 ? 0 : static_cast<int>(m_cells.size() / m_channels);
}

int PatternModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_channels;
}

QVariant PatternModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() >= m_channels)
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_cells.value(index.row() * m_channels + index.column());
    return QVariant();
}

QVariant PatternModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return QStringLiteral("%1").arg(section, 2, 10, QLatin1Char('0'));
    return channelTitle(section);
}

QString PatternModel::channelTitle(int channel, bool muted) const
{
    QString title = tr("Channel %1").arg(channel + 1);
    const QString name = m_text ? m_text->channelName(channel) : QString();
    if (!name.isEmpty())
        title += QStringLiteral(" (%1)").arg(name);
    if (muted)
        title += tr(", muted");
    return title;
}
