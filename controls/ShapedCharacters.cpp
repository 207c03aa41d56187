#include "controls/ShapedCharacters.h"

ShapedCharacters::ShapedCharacters(const QFont& font, const QString& characters)
    : m_font(QRawFont::fromFont(font))
{
    if (!m_font.isValid())
        return;
    const QList<quint32> indexes = m_font.glyphIndexesForString(characters);
    if (indexes.size() != characters.size())
        return;
    const QList<QPointF> advances = m_font.advancesForGlyphIndexes(indexes);
    for (qsizetype n = 0; n < indexes.size(); ++n) {
        // Index 0 is the font's "missing" glyph: a text with such a character is not laid out here.
        if (indexes[n] != 0)
            m_glyphs.insert(characters[n], {indexes[n], advances[n].x()});
    }
}

bool ShapedCharacters::layOut(const QString& text, QGlyphRun& run, qreal& width) const
{
    QList<quint32> indexes;
    QList<QPointF> positions;
    indexes.reserve(text.size());
    positions.reserve(text.size());
    width = 0;
    for (const QChar character : text) {
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
