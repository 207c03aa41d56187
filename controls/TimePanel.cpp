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

TimePanel::Look TimePanel::look() const
{
    const QPalette& colors = palette();
    return {size(),       devicePixelRatioF(), colors.cacheKey(), colors.currentColorGroup(),
            frameStyle(), lineWidth(),         midLineWidth(),    style()};
}

const QPixmap& TimePanel::backgroundAndFrame()
{
    const Look now = look();
    if (now == m_backgroundLook)
        return m_background;
    m_backgroundLook = now;
    m_background = QPixmap(size() * now.ratio);
    m_background.setDevicePixelRatio(now.ratio);
    QPainter painter(&m_background);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
    drawFrame(&painter);
    return m_background;
}

void TimePanel::paintEvent(QPaintEvent* event)
{
    QGlyphRun run;
    qreal width = 0;
    if (!m_characters.layOut(text(), run, width)) {
        QPainter(this).fillRect(rect(), palette().brush(backgroundRole()));
        QLabel::paintEvent(event);
        return;
    }
    // The background and the frame stay while the time changes: they are copied, not drawn.
    QPainter painter(this);
    painter.drawPixmap(0, 0, backgroundAndFrame());
    const QRect area = contentsRect();
    const qreal baseline = area.top() + (area.height() + m_characters.ascent() - m_characters.descent()) / 2;
    painter.setPen(palette().color(foregroundRole()));
    painter.drawGlyphRun(QPointF(area.left() + (area.width() - width) / 2, baseline), run);
}
