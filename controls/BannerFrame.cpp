#include "controls/BannerFrame.h"

#include <algorithm>
#include <cmath>

namespace BannerFrame {

namespace {

bool holds32BitPixels(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
           || format == QImage::Format_ARGB32_Premultiplied;
}

/// rect in device pixels.
QRect scaled(QRect rect, int ratio)
{
    return {rect.topLeft() * ratio, rect.size() * ratio};
}

}  // namespace

bool canCompose(const QImage& target, QRect area, const QImage& content)
{
    const qreal ratio = target.devicePixelRatio();
    return holds32BitPixels(target.format()) && content.format() == QImage::Format_RGB32
           && ratio >= 1 && ratio == std::floor(ratio) && content.devicePixelRatio() == ratio
           && target.rect().contains(scaled(area, int(ratio)));
}

void compose(QImage& target, QRect area, QRgb background, const QImage& content,
             const QList<BannerGeometry::Blit>& copies)
{
    const int ratio = int(target.devicePixelRatio());
    const QRect frame = scaled(area, ratio);
    // bits() once: every scanLine() would ask whether the image must be detached.
    uchar* const pixels = target.bits();
    const qsizetype stride = target.bytesPerLine();
    const auto line = [&](int y, int x) {
        return reinterpret_cast<QRgb*>(pixels + y * stride) + x;
    };
    // One line of background, then copies of it: a copy of memory is faster than a fill
    // with a 32-bit value.
    QRgb* const first = line(frame.top(), frame.left());
    std::fill_n(first, frame.width(), background | 0xff000000u);
    for (int y = frame.top() + 1; y <= frame.bottom(); ++y)
        std::copy_n(first, frame.width(), line(y, frame.left()));
    for (const BannerGeometry::Blit& blit : copies) {
        const QRect source = scaled(blit.source, ratio);
        const QRect place = scaled(blit.target, ratio).translated(frame.topLeft());
        for (int row = 0; row < source.height(); ++row) {
            const auto* from =
                reinterpret_cast<const QRgb*>(content.constScanLine(source.top() + row));
            std::copy_n(from + source.left(), source.width(),
                        line(place.top() + row, place.left()));
        }
    }
}

}  // namespace BannerFrame
