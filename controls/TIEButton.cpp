#include "controls/TIEButton.h"

#include "controls/ReadableColors.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

TIEButton::TIEButton(QWidget* parent)
    : QAbstractButton(parent)
{
    // Like a tool button, it takes focus from the keyboard only, not from a click.
    setFocusPolicy(Qt::TabFocus);
    resize(25, 25);
}

// Properties --------------------------------------------------------------------------------

void TIEButton::SetBorderWidth(quint8 width)
{
    if (width == m_borderWidth || width < 1 || width > 9)
        return;
    m_borderWidth = width;
    SetMargin(quint8(width + 2));
    update();
}

void TIEButton::SetButtonLayout(TButtonLayout layout)
{
    if (layout == m_layout)
        return;
    m_layout = layout;
    update();
}

void TIEButton::SetCaption(const QString& caption)
{
    setText(caption);
    setShortcut(QKeySequence());
    update();
}

void TIEButton::SetGlyph(const QImage& strip)
{
    m_glyphPainter = nullptr;
    m_glyph = strip;
    updateMaskedGlyph();
    update();
}

void TIEButton::SetGlyphPainter(GlyphPainter painter)
{
    m_glyphPainter = std::move(painter);
    m_glyph = QImage();
    followDevicePixelRatio();
    update();
}

void TIEButton::followDevicePixelRatio()
{
    const qreal ratio = devicePixelRatioF();
    if (!m_glyphPainter || (!m_glyph.isNull() && m_glyph.devicePixelRatio() == ratio))
        return;
    m_glyph = m_glyphPainter(ratio);
    updateMaskedGlyph();
}

void TIEButton::SetMargin(quint8 margin)
{
    if (margin == m_margin || margin <= m_borderWidth + 1)
        return;
    m_margin = margin;
    update();
}

void TIEButton::SetNumGlyphs(quint8 count)
{
    if (count == m_numGlyphs || count < 1 || count > 3)
        return;
    m_numGlyphs = count;
    update();
}

void TIEButton::SetTransparentColor(const QColor& color)
{
    if (color == m_transparentColor)
        return;
    m_transparentColor = color;
    updateMaskedGlyph();
    update();
}

QColor TIEButton::Color() const
{
    return palette().color(QPalette::Window);
}

void TIEButton::SetColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

void TIEButton::SetAccented(bool on)
{
    if (on == m_accented)
        return;
    m_accented = on;
    update();
}

void TIEButton::updateMaskedGlyph()
{
    if (m_glyph.isNull()) {
        m_maskedGlyph = QImage();
        return;
    }
    QImage image = m_glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = m_transparentColor.rgb() & RGB_MASK;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & RGB_MASK) == key)
                line[x] = 0;
        }
    }
    m_maskedGlyph = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_maskedGlyph.setDevicePixelRatio(m_glyph.devicePixelRatio());
}

// Mouse -------------------------------------------------------------------------------------

void TIEButton::enterEvent(QEnterEvent* event)
{
    m_hot = true;
    m_held = false;
    update();
    QAbstractButton::enterEvent(event);
}

void TIEButton::leaveEvent(QEvent* event)
{
    m_hot = false;
    m_held = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TIEButton::mousePressEvent(QMouseEvent* event)
{
    // Any button shows the sunken frame, also the right one that opens a slot's menu.
    if (isEnabled()) {
        m_held = true;
        m_hot = true;  // a press lands on the button under the pointer
        repaint();
    }
    QAbstractButton::mousePressEvent(event);
}

void TIEButton::mouseMoveEvent(QMouseEvent* event)
{
    // While a button is held the pointer is grabbed and no leave or enter arrives: the look
    // follows the pointer out of the button and back in from here.
    if (m_held) {
        const bool inside = rect().contains(event->position().toPoint());
        if (inside != m_hot) {
            m_hot = inside;
            repaint();
        }
    }
    QAbstractButton::mouseMoveEvent(event);
}

void TIEButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_held) {
        m_held = false;
        repaint();
    }
    QAbstractButton::mouseReleaseEvent(event);
}

// Painting ----------------------------------------------------------------------------------

void TIEButton::paintEvent(QPaintEvent*)
{
    followDevicePixelRatio();
    QPainter painter(this);
    painter.fillRect(rect(), Color());
    painter.setPen(palette().color(QPalette::Button));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    if (isEnabled()) {
        if ((m_held && m_hot) || isDown())
            drawFrame(painter, Frame::Sunken);
        else
            drawFrame(painter, m_hot ? Frame::Raised : Frame::Flat);
    }
    drawGlyph(painter);
    drawCaption(painter);

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(m_borderWidth + 1, m_borderWidth + 1, -m_borderWidth - 1,
                                      -m_borderWidth - 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void TIEButton::drawFrame(QPainter& painter, Frame frame) const
{
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const QColor first = frame == Frame::Flat ? Color() : frame == Frame::Raised ? light : dark;
    const QColor second = frame == Frame::Flat ? Color() : frame == Frame::Raised ? dark : light;

    // Nested 1-pixel lines from the outside in. The top-left corner takes the first colour,
    // the other three corners the second.
    for (int i = 0; i < m_borderWidth; ++i) {
        const int left = i, top = i, right = width() - 1 - i, bottom = height() - 1 - i;
        if (right < left || bottom < top)
            break;
        painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, top)), first);
        painter.fillRect(QRect(QPoint(left, top), QPoint(left, bottom - 1)), first);
        painter.fillRect(QRect(QPoint(right, top), QPoint(right, bottom)), second);
        painter.fillRect(QRect(QPoint(left, bottom), QPoint(right, bottom)), second);
    }
}

void TIEButton::drawGlyph(QPainter& painter) const
{
    // Placed by the strip's size on screen, cut from its pixels.
    const QSize strip = m_glyph.deviceIndependentSize().toSize();
    const int gw = ImageButtonGeometry::cellWidth(strip, m_numGlyphs);
    if (gw <= 0 || strip.height() <= 0)
        return;
    const ButtonLook look = !isEnabled() ? ButtonLook::Disabled
                          : m_hot        ? ButtonLook::Hot
                                         : ButtonLook::Normal;
    const QSize cell(gw, strip.height());
    const QPoint at = ImageButtonGeometry::glyphPosition(m_layout, size(), cell, m_margin);
    painter.drawImage(QRect(at, cell), m_maskedGlyph,
                      ImageButtonGeometry::glyphSource(m_glyph.size(), m_numGlyphs, look));
}

void TIEButton::drawCaption(QPainter& painter) const
{
    const QString caption = text();
    if (caption.isEmpty())
        return;
    const QFontMetrics metrics = fontMetrics();
    const QPoint at = ImageButtonGeometry::captionPosition(
        m_layout, size(), {metrics.horizontalAdvance(caption), metrics.height()}, m_margin);
    const QPoint baseline = at + QPoint(0, metrics.ascent());
    painter.setFont(font());
    if (isEnabled()) {
        painter.setPen(captionColor());
    } else {
        // Engraved: a white copy one pixel down and right, under the grey one.
        painter.setPen(Qt::white);
        painter.drawText(baseline + QPoint(1, 1), caption);
        painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    }
    painter.drawText(baseline, caption);
}

QColor TIEButton::captionColor() const
{
    const QColor wanted = palette().color(m_accented ? QPalette::Highlight : QPalette::ButtonText);
    return ReadableColors::readableOn(wanted, Color());
}
