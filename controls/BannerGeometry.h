#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGlobal>

/// The direction the banner's content moves in.
enum class TScrollDirection { sdRightToLeft, sdLeftToRight, sdTopToBottom, sdBottomToTop };

/// Horizontal placement of each line inside a block of lines.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

/// The arithmetic of the scrolling banner, free of widgets so that it is checked exactly.
///
/// Units are pixels. "control" is the banner's size (W x H), "image" the content image's size
/// (IW x IH), pos the scroll position P. The axis is horizontal for sdRightToLeft and
/// sdLeftToRight (extent E = IW, span S = W) and vertical otherwise (E = IH, S = H).
/// All arithmetic on P wraps modulo 65536, as the position is a 16-bit count.
namespace BannerGeometry {

bool isHorizontal(TScrollDirection direction);

/// E: the content's length along the axis.
int extent(TScrollDirection direction, QSize image);

/// S: the control's length along the axis.
int span(TScrollDirection direction, QSize control);

/// Top-left corner of the entering copy: the copy that comes in at the entering edge.
/// sdRightToLeft: left edge at W - P; sdLeftToRight: right edge at P;
/// sdTopToBottom: bottom edge at P; sdBottomToTop: top edge at H - P.
/// Horizontal copies sit at y = 0, vertical ones at x = 0.
QPoint enteringCopy(TScrollDirection direction, QSize control, QSize image, quint16 pos);

/// One copy of the content image: the part of the image (source) that lands inside the
/// control (target). Both rectangles have the same size; neither is empty.
struct Blit {
    QRect source;
    QRect target;
    friend bool operator==(const Blit&, const Blit&) = default;
};

/// The copies one paint composes, clipped to the control, in the order they lie along the
/// axis. With a gap only the entering copy; without a gap (noGap) also the copies behind it,
/// edge to edge every E pixels, until the span is covered. Empty when the image is empty.
QList<Blit> copies(TScrollDirection direction, QSize control, QSize image, quint16 pos,
                   bool noGap);

/// Outcome of one scroll step.
struct Step {
    quint16 pos = 0;    ///< P after the step
    bool stop = false;  ///< the pass ended with onlyOnce: scrolling is to be switched off
    friend bool operator==(const Step&, const Step&) = default;
};

/// One step of `pixels`. Without a gap P stays within 1..E once above E, so the tiling
/// repeats with period E (with E = 0 there is nothing to tile and P becomes 0). With a gap,
/// when P passes E + S the content has left completely: with onlyOnce P keeps its value and
/// stop is set, otherwise P starts again at 0, just outside the entering edge.
Step nextStep(quint16 pos, quint16 pixels, int extent, int span, bool noGap, bool onlyOnce);

/// P after the direction changes from `from` to `to`. Reversing along the same axis keeps
/// the content where it is on screen (P := E + S - P); switching the axis places it as if it
/// had just entered completely (P := E). Unchanged when the direction stays.
quint16 posAfterDirectionChange(TScrollDirection from, TScrollDirection to, QSize control,
                                QSize image, quint16 pos);

/// x of a line of width lineWidth inside a block of width blockWidth: 0 when left-justified,
/// blockWidth - lineWidth when right-justified, half of that (toward zero) when centred.
int lineX(TAlignment align, int blockWidth, int lineWidth);

}  // namespace BannerGeometry
