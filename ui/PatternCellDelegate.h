#pragma once

#include "controls/ShapedCharacters.h"

#include <QStyledItemDelegate>

/// Paints a pattern's cells, which scroll by many times a second: their tracker notation is
/// laid out from characters shaped once per font instead of anew for every cell, on the
/// highlight in the row heard (or colours of the view's choice) and in selected cells. The heard row is the delegate's, not the
/// view's selection: a selection change repaints every channel's header and tells a screen
/// reader, many times a second. A cell with a character outside printable ASCII goes the
/// style's way.
class PatternCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    /// The row painted as heard; -1: none. The view repaints the rows that change.
    void setHeardRow(int row) { m_heardRow = row; }
    int heardRow() const { return m_heardRow; }
    /// What the row heard is painted with; invalid colours (the default): the palette's
    /// highlight, as a selected cell.
    void setHeardColors(const QColor& background, const QColor& text);

private:
    int m_heardRow = -1;
    QColor m_heardBackground;
    QColor m_heardText;
    mutable QFont m_shapedFont;
    mutable ShapedCharacters m_characters;
};
