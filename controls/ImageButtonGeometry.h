#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

/// Where an image button puts its caption; the glyph goes to the opposite side (both are
/// centred with blCaptionCenter).
enum class TButtonLayout { blCaptionCenter, blCaptionLeft, blCaptionRight, blCaptionTop,
                           blCaptionBottom };

/// The look that selects a glyph cell.
enum class ButtonLook { Hot, Normal, Disabled };

/// The placement arithmetic of the image button, free of widgets so that it is checked
/// exactly. Units are pixels; halvings round toward zero.
namespace ImageButtonGeometry {

/// Width of one glyph cell: the strip's width divided by numGlyphs (1 to 3), toward zero.
int cellWidth(QSize strip, int numGlyphs);

/// The strip's columns drawn for look (the full strip height):
/// Hot: cell 1 always. Normal: cell 1 with one cell, else the columns from
/// (strip width - cell width) to numGlyphs x cell width, which is the last cell when the width
/// is a multiple of numGlyphs. Disabled: cell 1 with one cell, else cell 2.
QRect glyphSource(QSize strip, int numGlyphs, ButtonLook look);

/// Top-left of a glyph cell of size cell on a button of size button.
/// Center: centred; Left: at the right edge less margin; Right: margin from the left;
/// Top: centred across, bottom edge less margin; Bottom: margin from the top.
QPoint glyphPosition(TButtonLayout layout, QSize button, QSize cell, int margin);

/// Top-left of a caption of size text (advance width x line height).
/// Center: centred; Left: margin from the left; Right: at the right edge less margin;
/// Top: margin from the top; Bottom: at the bottom edge less margin.
QPoint captionPosition(TButtonLayout layout, QSize button, QSize text, int margin);

}  // namespace ImageButtonGeometry
