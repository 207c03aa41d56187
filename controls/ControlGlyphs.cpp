#include "controls/ControlGlyphs.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <initializer_list>

namespace ControlGlyphs {

namespace {

// Every glyph is designed on a 20 x 20 grid and scaled to the cell.
constexpr qreal kGrid = 20.0;
constexpr qreal kOutline = 1.2;  // in grid units

// One palette for all glyphs. No colour is pure white, the transparent colour.
const QColor kInk(0x2a, 0x33, 0x3f);
const QColor kPaper(0xfa, 0xfa, 0xf6);
const QColor kBlue(0x2f, 0x74, 0xc6);
const QColor kGreen(0x2f, 0x9e, 0x4a);
const QColor kRed(0xd4, 0x3b, 0x2f);
const QColor kAmber(0xf5, 0xbd, 0x45);
const QColor kDarkAmber(0xe2, 0xa4, 0x34);
const QColor kDisc(0xa8, 0xc4, 0xe2);
const QColor kSteel(0x9c, 0xa9, 0xb8);

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

void outlined(QPainter& p, const QPainterPath& path, const QColor& fill)
{
    p.setPen(QPen(kInk, kOutline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

void filled(QPainter& p, const QPainterPath& path, const QColor& fill)
{
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
}

// Parts ------------------------------------------------------------------------------------

void folderBack(QPainter& p)
{
    outlined(p, polygon({{1.5, 4.5}, {7, 4.5}, {8.5, 6.5}, {16.5, 6.5}, {16.5, 17}, {1.5, 17}}),
             kDarkAmber);
}

void folderFront(QPainter& p)
{
    outlined(p, polygon({{4.5, 10}, {19, 10}, {16.5, 17}, {1.5, 17}}), kAmber);
}

// An eighth note whose head is centred at head, height about 9 units.
void note(QPainter& p, QPointF head, const QColor& colour)
{
    QPainterPath path;
    path.addEllipse(head, 2.4, 1.8);
    path.addRect(head.x() + 1.2, head.y() - 8.5, 1.3, 8.5);
    path.moveTo(head.x() + 1.2, head.y() - 8.5);
    path.cubicTo(head.x() + 3.5, head.y() - 7.5, head.x() + 5.5, head.y() - 5.5,
                 head.x() + 4.2, head.y() - 3.2);
    path.cubicTo(head.x() + 4.2, head.y() - 5, head.x() + 3, head.y() - 5.8,
                 head.x() + 2.5, head.y() - 5.8);
    path.closeSubpath();
    path.setFillRule(Qt::WindingFill);
    filled(p, path, colour);
}

// A sheet with a folded top-right corner.
void sheet(QPainter& p, const QRectF& r)
{
    const qreal fold = 3.5;
    outlined(p,
             polygon({r.topLeft(), {r.right() - fold, r.top()}, {r.right(), r.top() + fold},
                      r.bottomRight(), r.bottomLeft()}),
             kPaper);
    outlined(p,
             polygon({{r.right() - fold, r.top()}, {r.right() - fold, r.top() + fold},
                      {r.right(), r.top() + fold}}),
             kSteel);
}

void disc(QPainter& p, QPointF centre, qreal radius)
{
    QPainterPath body;
    body.addEllipse(centre, radius, radius);
    body.addEllipse(centre, radius * 0.22, radius * 0.22);  // the hole stays see-through
    body.setFillRule(Qt::OddEvenFill);
    outlined(p, body, kDisc);
    p.setPen(QPen(kPaper, kOutline * 0.9, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const qreal shine = radius * 0.62;
    p.drawArc(QRectF(centre.x() - shine, centre.y() - shine, 2 * shine, 2 * shine), 100 * 16,
              60 * 16);
}

// A red round badge with a light cross, for "close".
void crossBadge(QPainter& p, QPointF centre)
{
    QPainterPath circle;
    circle.addEllipse(centre, 4.6, 4.6);
    outlined(p, circle, kRed);
    p.setPen(QPen(kPaper, 1.6, Qt::SolidLine, Qt::RoundCap));
    const qreal d = 1.9;
    p.drawLine(centre + QPointF(-d, -d), centre + QPointF(d, d));
    p.drawLine(centre + QPointF(-d, d), centre + QPointF(d, -d));
}

// Glyphs -----------------------------------------------------------------------------------

void drawOpen(QPainter& p)
{
    folderBack(p);
    folderFront(p);
    note(p, {10, 14.2}, kBlue);
}

void drawClose(QPainter& p)
{
    sheet(p, {2.5, 1.5, 11.5, 15.5});
    note(p, {6.8, 13}, kBlue);
    crossBadge(p, {14.6, 14.6});
}

void drawHideToTray(QPainter& p)
{
    const QRectF window(1.5, 1.5, 11.5, 9.5);
    QPainterPath frame;
    frame.addRect(window);
    outlined(p, frame, kPaper);
    QPainterPath title;
    title.addRect(window.left(), window.top(), window.width(), 2.8);
    outlined(p, title, kBlue);
    outlined(p, polygon({{14.3, 4}, {16.7, 4}, {16.7, 10}, {19, 10}, {15.5, 14}, {12, 10},
                         {14.3, 10}}),
             kGreen);
    QPainterPath tray;
    tray.addRoundedRect(QRectF(1.5, 15.5, 17.5, 3), 1, 1);
    outlined(p, tray, kSteel);
}

void drawOpenDisc(QPainter& p)
{
    folderBack(p);
    disc(p, {10.5, 8.5}, 5.8);
    folderFront(p);
}

void drawCloseDisc(QPainter& p)
{
    disc(p, {9, 9}, 7.5);
    crossBadge(p, {14.6, 14.6});
}

void drawInformation(QPainter& p)
{
    QPainterPath circle;
    circle.addEllipse(QPointF(10, 10), 8.5, 8.5);
    outlined(p, circle, kBlue);
    QPainterPath letter;
    letter.addEllipse(QPointF(10, 5.6), 1.5, 1.5);
    letter.addRoundedRect(QRectF(8.7, 8.3, 2.6, 7.7), 0.8, 0.8);
    filled(p, letter, kPaper);
}

void drawPlay(QPainter& p)
{
    outlined(p, polygon({{5, 2.5}, {17, 10}, {5, 17.5}}), kGreen);
}

void drawStop(QPainter& p)
{
    QPainterPath square;
    square.addRoundedRect(QRectF(3.5, 3.5, 13, 13), 1.5, 1.5);
    outlined(p, square, kRed);
}

void drawPrevious(QPainter& p)
{
    QPainterPath bar;
    bar.addRect(QRectF(2.5, 3.5, 3, 13));
    outlined(p, bar, kBlue);
    outlined(p, polygon({{17.5, 3.5}, {7, 10}, {17.5, 16.5}}), kBlue);
}

void drawRewind(QPainter& p)
{
    outlined(p, polygon({{10.5, 3.5}, {1.5, 10}, {10.5, 16.5}}), kBlue);
    outlined(p, polygon({{18.5, 3.5}, {9.5, 10}, {18.5, 16.5}}), kBlue);
}

// Forward and next are rewind and previous seen in a mirror.
template <void (*draw)(QPainter&)>
void mirrored(QPainter& p)
{
    p.save();
    p.translate(kGrid, 0);
    p.scale(-1, 1);
    draw(p);
    p.restore();
}

void drawCopy(QPainter& p)
{
    sheet(p, {1.5, 1.5, 10.5, 12.5});
    sheet(p, {7.5, 6, 10.5, 12.5});
}

void drawMove(QPainter& p)
{
    sheet(p, {1.5, 1.5, 10.5, 14});
    outlined(p, polygon({{6.5, 11.5}, {12.5, 11.5}, {12.5, 8.5}, {18.5, 13.5}, {12.5, 18.5},
                         {12.5, 15.5}, {6.5, 15.5}}),
             kBlue);
}

void drawDelete(QPainter& p)
{
    outlined(p, polygon({{4.5, 6.5}, {15.5, 6.5}, {14.5, 18.5}, {5.5, 18.5}}), kSteel);
    p.setPen(QPen(kInk, kOutline, Qt::SolidLine, Qt::RoundCap));
    for (const qreal x : {8.0, 10.0, 12.0})
        p.drawLine(QPointF(x, 9), QPointF(x, 16));
    QPainterPath lid;
    lid.addRoundedRect(QRectF(2.5, 4, 15, 2.5), 0.8, 0.8);
    lid.addRect(QRectF(8, 2, 4, 2));
    lid.setFillRule(Qt::WindingFill);
    outlined(p, lid.simplified(), kRed);
}

void draw(QPainter& p, ControlGlyph which)
{
    switch (which) {
    case ControlGlyph::Open: return drawOpen(p);
    case ControlGlyph::Close: return drawClose(p);
    case ControlGlyph::HideToTray: return drawHideToTray(p);
    case ControlGlyph::OpenDisc: return drawOpenDisc(p);
    case ControlGlyph::CloseDisc: return drawCloseDisc(p);
    case ControlGlyph::Information: return drawInformation(p);
    case ControlGlyph::Play: return drawPlay(p);
    case ControlGlyph::Stop: return drawStop(p);
    case ControlGlyph::Previous: return drawPrevious(p);
    case ControlGlyph::Rewind: return drawRewind(p);
    case ControlGlyph::Forward: return mirrored<drawRewind>(p);
    case ControlGlyph::Next: return mirrored<drawPrevious>(p);
    case ControlGlyph::Copy: return drawCopy(p);
    case ControlGlyph::Move: return drawMove(p);
    case ControlGlyph::Delete: return drawDelete(p);
    }
}

// Normal look: most of the colour taken out and a little lighter, so hovering brings the
// glyph to life. Premultiplied pixels stay valid as every channel only moves toward grey and
// then toward the alpha.
QRgb muted(QRgb pixel)
{
    const int a = qAlpha(pixel);
    const int grey = qGray(pixel);
    const auto channel = [&](int c) {
        const int desaturated = grey + (c - grey) * 35 / 100;
        return desaturated + (a - desaturated) * 15 / 100;
    };
    return qRgba(channel(qRed(pixel)), channel(qGreen(pixel)), channel(qBlue(pixel)), a);
}

}  // namespace

QColor transparentColor()
{
    return Qt::white;
}

QImage strip(ControlGlyph which, QSize logicalCell, qreal devicePixelRatio)
{
    if (logicalCell.isEmpty() || devicePixelRatio <= 0)
        return {};
    const QSize cell = (QSizeF(logicalCell) * devicePixelRatio).toSize();
    QImage image(cell.width() * 2, cell.height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal scale = std::min(cell.width(), cell.height()) / kGrid;
        p.translate((cell.width() - kGrid * scale) / 2, (cell.height() - kGrid * scale) / 2);
        p.scale(scale, scale);
        draw(p, which);
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < cell.width(); ++x)
            line[cell.width() + x] = muted(line[x]);
    }

    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb background = transparentColor().rgb() & RGB_MASK;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) == 0)
                line[x] = background;
            else if ((line[x] & RGB_MASK) == background)
                line[x] = qRgba(254, 254, 254, qAlpha(line[x]));  // keep glyph pixels visible
        }
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

}  // namespace ControlGlyphs
