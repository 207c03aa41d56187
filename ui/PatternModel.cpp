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
    m_heardRow = -1;
    endResetModel();
}

void PatternModel::showPattern(int pattern)
{
    if (pattern == m_pattern)
        return;
    m_pattern = pattern;
    m_heardRow = -1;
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

void PatternModel::setHeardRow(int row)
{
    if (row == m_heardRow)
        return;
    const int before = m_heardRow;
    m_heardRow = row;
    emitRowChanged(before);
    emitRowChanged(row);
}

void PatternModel::setHeardColors(const QColor& background, const QColor& text)
{
    if (background == m_heardBackground && text == m_heardText)
        return;
    m_heardBackground = background;
    m_heardText = text;
    emitRowChanged(m_heardRow);
}

void PatternModel::emitRowChanged(int row)
{
    if (row >= 0 && row < rowCount() && m_channels > 0)
        emit dataChanged(index(row, 0), index(row, m_channels - 1), {Qt::BackgroundRole, Qt::ForegroundRole});
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
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return m_cells.value(index.row() * m_channels + index.column());
    case Qt::BackgroundRole:
        return heardColor(index.row(), m_heardBackground);
    case Qt::ForegroundRole:
        return heardColor(index.row(), m_heardText);
    default:
        return QVariant();
    }
}

QVariant PatternModel::heardColor(int row, const QColor& color) const
{
    return row == m_heardRow && color.isValid() ? QVariant(color) : QVariant();
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
