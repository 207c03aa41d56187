#include "controls/BannerContent.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace BannerContent {

namespace {

int lineHeight(const QFontMetrics& metrics)
{
    return metrics.size(Qt::TextSingleLine, QStringLiteral("Xj")).height();
}

QImage filledImage(QSize size, const QColor& background, qreal devicePixelRatio)
{
    if (size.isEmpty() || devicePixelRatio <= 0)
        return {};
    QImage image((QSizeF(size) * devicePixelRatio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);  // a painter on it works in size's units
    image.fill(background);
    return image;
}

}  // namespace

QSize textSize(const QString& text, const QFont& font)
{
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

QSize linesSize(const QStringList& lines, const QFont& font)
{
    const QFontMetrics metrics(font);
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return {width, int(lines.size()) * lineHeight(metrics)};
}

QImage renderText(const QString& text, const QFont& font, const QColor& textColor,
                  const QColor& background, qreal devicePixelRatio)
{
    QImage image = filledImage(textSize(text, font), background, devicePixelRatio);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(textColor);
    painter.drawText(0, QFontMetrics(font).ascent(), text);
    return image;
}

QImage renderLines(const QStringList& lines, TAlignment align, const QFont& font,
                   const QColor& textColor, const QColor& background, qreal devicePixelRatio)
{
    const QSize size = linesSize(lines, font);
    QImage image = filledImage(size, background, devicePixelRatio);
    if (image.isNull())
        return image;
    const QFontMetrics metrics(font);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(textColor);
    for (int i = 0; i < lines.size(); ++i) {
        const int x = BannerGeometry::lineX(align, size.width(),
                                            metrics.horizontalAdvance(lines[i]));
        painter.drawText(x, i * lineHeight(metrics) + metrics.ascent(), lines[i]);
    }
    return image;
}

}  // namespace BannerContent
