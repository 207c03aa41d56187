#pragma once

#include "controls/BannerGeometry.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

/// The content images the banner renders once per content change and then only copies.
/// Both are opaque (QImage::Format_RGB32); text keeps the font and colours it was rendered
/// with. Sizes are in device-independent pixels; the images are rendered for a device pixel
/// ratio (size x ratio image pixels, the ratio set on the image) so that text stays crisp
/// on screens that show several pixels per unit. A null image means the content has no
/// pixels (empty text, no lines, or lines that are all empty). GUI thread only (fonts).
namespace BannerContent {

/// Size of renderText's image: the text's advance width by the font's line height.
QSize textSize(const QString& text, const QFont& font);

/// Size of renderLines' image: the widest line by (number of lines x the height of "Xj").
QSize linesSize(const QStringList& lines, const QFont& font);

/// One line of text, as wide and as high as the text in that font, drawn at (0, 0) in
/// textColor on background.
QImage renderText(const QString& text, const QFont& font, const QColor& textColor,
                  const QColor& background, qreal devicePixelRatio = 1.0);

/// A block of lines: as wide as the widest line, one line height (that of "Xj") per line;
/// line i at y = i x line height and at the x that align gives.
QImage renderLines(const QStringList& lines, TAlignment align, const QFont& font,
                   const QColor& textColor, const QColor& background,
                   qreal devicePixelRatio = 1.0);

}  // namespace BannerContent
