#pragma once

#include "controls/BannerGeometry.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QRgb>

#include <cstdint>

class QWindow;

/// The banner's content kept in a pixmap on the X server, so that a scroll step is drawn there
/// by copies: requests of a few dozen bytes, where the window's backing store sends the
/// banner's pixels (some 24 KB a step, ten steps a second) and that sending costs the program
/// more than everything else it does for a step. Only on Qt's xcb platform, for a window whose
/// pixels the server keeps as 32-bit words laid out as in QImage::Format_RGB32. GUI thread only.
class BannerOnXServer {
public:
    BannerOnXServer() = default;
    ~BannerOnXServer();
    Q_DISABLE_COPY_MOVE(BannerOnXServer)

    /// Draws into window what BannerFrame::compose() writes into an image of it: area
    /// (device-independent pixels, in window) filled with background, and the parts of content
    /// that copies name. False, with nothing drawn, where the server cannot draw it so.
    bool draw(QWindow* window, QRect area, QRgb background, const QImage& content,
              const QList<BannerGeometry::Blit>& copies);

private:
    bool prepare(QWindow* window, const QImage& content);
    bool suitsWindow(std::uint32_t window);
    void release();

    std::uint32_t m_window = 0;   // the window drawn into, checked to suit
    bool m_windowSuits = false;
    std::uint8_t m_depth = 0;
    std::uint32_t m_pixmap = 0;   // the content, for m_contentKey
    std::uint32_t m_gc = 0;
    qint64 m_contentKey = 0;
    QRgb m_foreground = 0;
};
