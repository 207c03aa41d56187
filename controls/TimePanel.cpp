#include "controls/TimePanel.h"

#include <QEvent>
#include <QPainter>

namespace {

/// Every character that a time text is made of.
const QString kTimeCharacters = QStringLiteral("0123456789:/ -");

}  // namespace

TimePanel::TimePanel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    // The panel paints its background and frame itself, so nothing behind it repaints.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_characters = ShapedCharacters(font(), kTimeCharacters);
}

void TimePanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        m_characters = ShapedCharacters(font(), kTimeCharacters);
    QLabel::changeEvent(event);
}

void TimePanel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
    QGlyphRun run;
    qreal width = 0;
    if (!m_characters.layOut(text(), run, width)) {
        painter.end();
        QLabel::paintEvent(event);
        return;
    }
    const QRect area = contentsRect();
    const qreal baseline = area.top() + (area.height() + m_characters.ascent() - m_characters.descent()) / 2;
    painter.setPen(palette().color(foregroundRole()));
    painter.drawGlyphRun(QPointF(area.left() + (area.width() - width) / 2, baseline), run);
    drawFrame(&painter);
}
