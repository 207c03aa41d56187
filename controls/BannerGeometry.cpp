#include "controls/BannerGeometry.h"

namespace BannerGeometry {

bool isHorizontal(TScrollDirection direction)
{
    return direction == TScrollDirection::sdRightToLeft
        || direction == TScrollDirection::sdLeftToRight;
}

int extent(TScrollDirection direction, QSize image)
{
    return isHorizontal(direction) ? image.width() : image.height();
}

int span(TScrollDirection direction, QSize control)
{
    return isHorizontal(direction) ? control.width() : control.height();
}

QPoint enteringCopy(TScrollDirection direction, QSize control, QSize image, quint16 pos)
{
    switch (direction) {
    case TScrollDirection::sdRightToLeft:
        return {control.width() - pos, 0};
    case TScrollDirection::sdLeftToRight:
        return {pos - image.width(), 0};
    case TScrollDirection::sdTopToBottom:
        return {0, pos - image.height()};
    case TScrollDirection::sdBottomToTop:
        return {0, control.height() - pos};
    }
    return {};
}

QList<Blit> copies(TScrollDirection direction, QSize control, QSize image, quint16 pos,
                   bool noGap)
{
    QList<Blit> result;
    if (image.isEmpty())
        return result;

    const QRect area(QPoint(0, 0), control);
    const auto add = [&](QPoint topLeft) {
        const QRect target = QRect(topLeft, image) & area;
        if (!target.isEmpty())
            result.append({target.translated(-topLeft), target});
    };

    const QPoint entering = enteringCopy(direction, control, image, pos);
    if (!noGap) {
        add(entering);
        return result;
    }

    // Tiles every E pixels in phase with the entering copy, across the whole span. For P
    // within 0..E these are exactly the entering copy and those behind it; beyond that range
    // (right after a reversal, or after switching from gap mode) the span stays covered too.
    const bool horizontal = isHorizontal(direction);
    const int e = extent(direction, image);
    int start = (horizontal ? entering.x() : entering.y()) % e;
    if (start > 0)
        start -= e;
    for (int a = start; a < span(direction, control); a += e)
        add(horizontal ? QPoint(a, 0) : QPoint(0, a));
    return result;
}

Step nextStep(quint16 pos, quint16 pixels, int extent, int span, bool noGap, bool onlyOnce)
{
    const quint16 p = quint16(pos + pixels);
    if (noGap) {
        if (extent <= 0)
            return {0, false};
        // Subtracting E while E < P, in one go: the result lies in 1..E.
        return {p > extent ? quint16((p - 1) % extent + 1) : p, false};
    }
    if (p > extent + span)
        return onlyOnce ? Step{p, true} : Step{0, false};
    return {p, false};
}

quint16 posAfterDirectionChange(TScrollDirection from, TScrollDirection to, QSize control,
                                QSize image, quint16 pos)
{
    if (from == to)
        return pos;
    const int e = extent(to, image);
    if (isHorizontal(from) != isHorizontal(to))
        return quint16(e);
    return quint16(e + span(to, control) - pos);
}

int lineX(TAlignment align, int blockWidth, int lineWidth)
{
    switch (align) {
    case TAlignment::taLeftJustify:
        return 0;
    case TAlignment::taRightJustify:
        return blockWidth - lineWidth;
    case TAlignment::taCenter:
        return (blockWidth - lineWidth) / 2;
    }
    return 0;
}

}  // namespace BannerGeometry
