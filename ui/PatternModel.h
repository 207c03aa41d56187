#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

class PatternText;

/// One pattern of the module that plays, as a table: a row per pattern row, a column per
/// channel, each cell in tracker notation. The headers name the channels ("Channel 3", and
/// ", muted" where it is) and the rows (their numbers). Empty without a module.
class PatternModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    /// The module's patterns (null: none); not owned, must live until replaced. Resets the model.
    void setText(const PatternText* text);
    /// The pattern shown. Its rows replace the last one's in place (rows inserted or removed
    /// at the end where the count differs), so that views keep their current cell.
    void showPattern(int pattern);
    int pattern() const { return m_pattern; }
    void setMutedChannels(const QList<bool>& muted);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// "Channel 3", with the module's name for it, and ", muted" where it is.
    QString channelTitle(int channel) const { return channelTitle(channel, m_muted.value(channel)); }
    /// The title channel has when muted is as given.
    QString channelTitle(int channel, bool muted) const;

private:
    /// The cells of pattern, row by row, read once per pattern: a view paints them many times.
    QStringList readCells(int pattern) const;

    const PatternText* m_text = nullptr;
    int m_pattern = -1;
    int m_channels = 0;
    QStringList m_cells;  // row by row
    QList<bool> m_muted;
};
