#include "controls/ImageButtonGeometry.h"

namespace ImageButtonGeometry {

int cellWidth(QSize strip, int numGlyphs)
{
    return numGlyphs > 0 ? strip.width() / numGlyphs : 0;
}

QRect glyphSource(QSize strip, int numGlyphs, ButtonLook look)
{
    const int gw = cellWidth(strip, numGlyphs);
    const auto columns = [&](int left, int right) {
        return QRect(left, 0, right - left, strip.height());
    };
    switch (look) {
    case ButtonLook::Hot:
        return columns(0, gw);
    case ButtonLook::Normal:
        return columns(strip.width() - gw, numGlyphs * gw);
    case ButtonLook::Disabled:
        return numGlyphs == 1 ? columns(0, gw) : columns(gw, 2 * gw);
    }
    return {};
}

namespace {

// Along one axis, an inner length placed in an outer one: centred, or against the far edge
// less the margin (against the near edge it is simply at the margin).
int centred(int outer, int inner) { return (outer - inner) / 2; }
int farEdge(int outer, int inner, int margin) { return outer - inner - margin; }

}  // namespace

QPoint glyphPosition(TButtonLayout layout, QSize button, QSize cell, int margin)
{
    const int w = button.width(), h = button.height();
    const int gw = cell.width(), gh = cell.height();
    switch (layout) {
    case TButtonLayout::blCaptionCenter:
        return {centred(w, gw), centred(h, gh)};
    case TButtonLayout::blCaptionLeft:
        return {farEdge(w, gw, margin), centred(h, gh)};
    case TButtonLayout::blCaptionRight:
        return {margin, centred(h, gh)};
    case TButtonLayout::blCaptionTop:
        return {centred(w, gw), farEdge(h, gh, margin)};
    case TButtonLayout::blCaptionBottom:
        return {centred(w, gw), margin};
    }
    return {};
}

QPoint captionPosition(TButtonLayout layout, QSize button, QSize text, int margin)
{
    const int w = button.width(), h = button.height();
    const int tw = text.width(), th = text.height();
    switch (layout) {
    case TButtonLayout::blCaptionCenter:
        return {centred(w, tw), centred(h, th)};
    case TButtonLayout::blCaptionLeft:
        return {margin, centred(h, th)};
    case TButtonLayout::blCaptionRight:
        return {farEdge(w, tw, margin), centred(h, th)};
    case TButtonLayout::blCaptionTop:
        return {centred(w, tw), margin};
    case TButtonLayout::blCaptionBottom:
        return {centred(w, tw), farEdge(h, th, margin)};
    }
    return {};
}

}  // namespace ImageButtonGeometry
