#include "ui/PatternCellDelegate.h"

#include <QApplication>
#include <QPainter>

namespace {

/// Every character of tracker notation.
QString printableAscii()
{
    QString characters;
    for (char16_t character = u' '; character <= u'~'; ++character)
        characters += QChar(character);
    return characters;
}

}  // namespace

void PatternCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    if (option.font != m_shapedFont || m_characters.isEmpty()) {
        m_shapedFont = option.font;
        m_characters = ShapedCharacters(option.font, printableAscii());
    }
    QGlyphRun run;
    qreal width = 0;
    const bool heard = index.row() == m_heardRow;
    if (!m_characters.layOut(index.data().toString(), run, width)) {
        QStyleOptionViewItem marked(option);
        if (heard) {
            marked.state |= QStyle::State_Selected;
            if (m_heardBackground.isValid()) {
                marked.palette.setColor(QPalette::Highlight, m_heardBackground);
                marked.palette.setColor(QPalette::HighlightedText, m_heardText);
            }
        }
        QStyledItemDelegate::paint(painter, marked, index);
        return;
    }
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : option.state & QStyle::State_Active ? QPalette::Active
                                                                             : QPalette::Inactive;
    const bool highlighted = heard || option.state & QStyle::State_Selected;
    QColor background;
    QColor text = option.palette.color(group, QPalette::Text);
    if (heard && m_heardBackground.isValid()) {
        background = m_heardBackground;
        text = m_heardText;
    } else if (highlighted) {
        background = option.palette.color(group, QPalette::Highlight);
        text = option.palette.color(group, QPalette::HighlightedText);
    }
    // Other cells lie on the view's own background, which is already painted.
    if (background.isValid())
        painter->fillRect(option.rect, background);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // A line between channels, as a table's grid draws it, but none between rows.
    const QRgb grid = static_cast<QRgb>(style->styleHint(QStyle::SH_Table_GridLineColor, &option, widget));
    painter->fillRect(QRect(option.rect.right(), option.rect.top(), 1, option.rect.height()), QColor(grid));
    // The margin a styled item view leaves before its text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const qreal baseline =
        option.rect.top() + (option.rect.height() + m_characters.ascent() - m_characters.descent()) / 2;
    painter->setPen(text);
    const QPointF origin(option.rect.left() + margin, baseline);
    if (margin + width <= option.rect.width()) {
        painter->drawGlyphRun(origin, run);
    } else {
        // A column made narrower than its cells: the text stays within its own.
        painter->save();
        painter->setClipRect(option.rect);
        painter->drawGlyphRun(origin, run);
        painter->restore();
    }
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor = background.isValid() ? background : option.palette.color(group, QPalette::Base);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}

void PatternCellDelegate::setHeardColors(const QColor& background, const QColor& text)
{
    m_heardBackground = background;
    m_heardText = text;
}
