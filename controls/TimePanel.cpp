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
    shapeCharacters();
}

void TimePanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        shapeCharacters();
    QLabel::changeEvent(event);
}

void TimePanel::shapeCharacters()
{
    m_glyphs.clear();
    m_font = QRawFont::fromFont(font());
    if (!m_font.isValid())
        return;
    const QList<quint32> indexes = m_font.glyphIndexesForString(kTimeCharacters);
    if (indexes.size() != kTimeCharacters.size())
        return;
    const QList<QPointF> advances = m_font.advancesForGlyphIndexes(indexes);
    for (qsizetype n = 0; n < indexes.size(); ++n) {
        // Index 0 is the font's "missing" glyph: such a character goes the label's way.
        if (indexes[n] != 0)
            m_glyphs.insert(kTimeCharacters[n], {indexes[n], advances[n].x()});
    }
}

bool TimePanel::layOut(QGlyphRun& run, qreal& width) const
{
    QList<quint32> indexes;
    QList<QPointF> positions;
    indexes.reserve(text().size());
    positions.reserve(text().size());
    width = 0;
    for (const QChar character : text()) {
        const auto glyph = m_glyphs.constFind(character);
        if (glyph == m_glyphs.cend())
            return false;
        indexes.append(glyph->index);
        positions.append(QPointF(width, 0));
        width += glyph->advance;
    }
    run.setRawFont(m_font);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    return true;
}

void TimePanel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
    QGlyphRun run;
    qreal width = 0;
    if (!layOut(run, width)) {
        painter.end();
        QLabel::paintEvent(event);
        return;
    }
    const QRect area = contentsRect();
    const qreal baseline = area.top() + (area.height() + m_font.ascent() - m_font.descent()) / 2;
    painter.setPen(palette().color(foregroundRole()));
    painter.drawGlyphRun(QPointF(area.left() + (area.width() - width) / 2, baseline), run);
    drawFrame(&painter);
}
