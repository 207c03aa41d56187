#pragma once

#include "controls/ImageButtonGeometry.h"

#include <QAbstractButton>
#include <QColor>
#include <QImage>

#include <functional>

/// A flat push button with a glyph and an optional caption. It draws no border while the
/// mouse is elsewhere, a raised frame while the mouse is over it and a sunken one while a mouse
/// button is held on it (flat while the held pointer is outside); a disabled button has no
/// frame, shows its disabled glyph cell and an engraved caption. Clicks, keyboard and the
/// usual signals come from QAbstractButton.
///
/// The glyph is a strip of NumGlyphs equal cells side by side: cell 1 is shown while the mouse
/// is over the button, the last cell otherwise, cell 2 while disabled (with 1 cell: always
/// cell 1). Pixels of TransparentColor show the button's Color.
///
/// Property writes follow fixed rules and silently ignore values outside them (see each
/// setter). GUI thread only.
class TIEButton : public QAbstractButton {
    Q_OBJECT

public:
    /// 25 x 25 pixels, BorderWidth 1, Margin 5, NumGlyphs 2, no glyph, no caption,
    /// TransparentColor black.
    explicit TIEButton(QWidget* parent = nullptr);

    /// Number of 1-pixel lines of the raised and sunken frames, 1 to 9. A new value in that
    /// range is taken and also sets Margin to value + 2; anything else is ignored.
    quint8 BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(quint8 width);

    /// Where the caption goes (the glyph goes to the opposite side). blCaptionCenter at first.
    TButtonLayout ButtonLayout() const { return m_layout; }
    void SetButtonLayout(TButtonLayout layout);

    /// The caption, QAbstractButton's text. Drawn literally: "&" is no mnemonic here, as
    /// captions carry file names.
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption);

    /// The glyph strip (copied). Null: no glyph. Its device pixel ratio counts: a strip of
    /// ratio 2 has cells of half its pixel size, drawn one image pixel per screen pixel on a
    /// screen of that ratio.
    const QImage& Glyph() const { return m_glyph; }
    void SetGlyph(const QImage& strip);

    /// Makes the glyph strip painter(ratio)'s, asked again whenever the button comes to be
    /// shown at another device pixel ratio (a 2x screen, QT_SCALE_FACTOR), so the glyph stays
    /// crisp instead of being scaled up. painter returns a strip of that device pixel ratio.
    using GlyphPainter = std::function<QImage(qreal devicePixelRatio)>;
    void SetGlyphPainter(GlyphPainter painter);

    /// Distance in pixels of caption and glyph from the edge they are placed at. A new value
    /// is taken only when it exceeds BorderWidth + 1; 5 at first.
    quint8 Margin() const { return m_margin; }
    void SetMargin(quint8 margin);

    /// Number of cells in the glyph strip, 1 to 3; other values are ignored. 2 at first.
    quint8 NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(quint8 count);

    /// Glyph pixels of this colour (alpha ignored) show Color. Black at first.
    QColor TransparentColor() const { return m_transparentColor; }
    void SetTransparentColor(const QColor& color);

    /// Background, the palette's Window colour (inherited from the parent until set).
    QColor Color() const;
    void SetColor(const QColor& color);

    /// The caption takes the palette's Highlight colour instead of ButtonText, as a slot that
    /// holds a module shows. Either is darkened or lightened as far as needed to stand out
    /// from Color by a contrast ratio of 4.5 (ReadableColors), so captions stay readable in
    /// light and dark palettes alike; both follow a palette change at once. False at first.
    bool Accented() const { return m_accented; }
    void SetAccented(bool on);

    /// The mouse is over the button; tracked also while disabled, so a button enabled under
    /// the mouse shows hot at once.
    bool Hot() const { return m_hot; }

    /// A number for the owner's use (the slot or disc button number); 0 at first.
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Frame { Flat, Raised, Sunken };
    void drawFrame(QPainter& painter, Frame frame) const;
    void drawGlyph(QPainter& painter) const;
    void drawCaption(QPainter& painter) const;
    void updateMaskedGlyph();
    /// Paints the strip anew when a painter is set and the ratio shown at has changed.
    void followDevicePixelRatio();
    QColor captionColor() const;

    QImage m_glyph;
    GlyphPainter m_glyphPainter;
    QImage m_maskedGlyph;  // m_glyph with TransparentColor made transparent, ready to draw
    QColor m_transparentColor = Qt::black;
    TButtonLayout m_layout = TButtonLayout::blCaptionCenter;
    quint8 m_borderWidth = 1;
    quint8 m_margin = 5;
    quint8 m_numGlyphs = 2;
    bool m_hot = false;
    bool m_accented = false;
    bool m_held = false;  // a mouse button (any) went down while enabled and is not yet up
    int m_tag = 0;
};
