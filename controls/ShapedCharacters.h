#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>
#include <QString>

/// A set of characters shaped once for a font, from which texts made of them are laid out as
/// glyph runs without shaping them again: for texts that repaint many times a second (a time,
/// a pattern's cells). Each character keeps its own advance, as in a font without kerning or
/// ligatures between them, which holds for digits and for monospace fonts. GUI thread.
class ShapedCharacters {
public:
    /// Nothing shaped: every layOut fails.
    ShapedCharacters() = default;
    ShapedCharacters(const QFont& font, const QString& characters);

    /// text as a glyph run from x 0 on the baseline, and its width; false when a character of
    /// it was not shaped or the font has no glyph for it (such a text goes QPainter's own way).
    bool layOut(const QString& text, QGlyphRun& run, qreal& width) const;
    /// True when nothing was shaped (no font, or none of the characters in it).
    bool isEmpty() const { return m_glyphs.isEmpty(); }
    /// Distances from the baseline up and down, in pixels.
    qreal ascent() const { return m_font.ascent(); }
    qreal descent() const { return m_font.descent(); }

private:
    struct Glyph {
        quint32 index;
        qreal advance;
    };

    QRawFont m_font;
    QHash<QChar, Glyph> m_glyphs;
};
