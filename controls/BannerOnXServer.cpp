#include "controls/BannerOnXServer.h"

#include <QGuiApplication>
#include <QRegion>
#include <QSysInfo>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

/// The largest piece of the content sent in one request: far below any server's limit.
constexpr std::uint32_t kMaxUploadBytes = 256 * 1024;
/// The largest pixmap side the protocol can name.
constexpr int kMaxSide = 32767;

xcb_connection_t* xConnection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPointer<Reply> owned(Reply* reply)
{
    return {reply, &std::free};
}

bool holdsRgbWords(const xcb_setup_t* setup, xcb_visualid_t visual)
{
    for (auto screens = xcb_setup_roots_iterator(setup); screens.rem; xcb_screen_next(&screens))
        for (auto depths = xcb_screen_allowed_depths_iterator(screens.data); depths.rem;
             xcb_depth_next(&depths))
            for (auto types = xcb_depth_visuals_iterator(depths.data); types.rem;
                 xcb_visualtype_next(&types))
                if (types.data->visual_id == visual)
                    return types.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR
                           && types.data->red_mask == 0xff0000u && types.data->green_mask == 0xff00u
                           && types.data->blue_mask == 0xffu;
    return false;
}

bool hasWordPixels(const xcb_setup_t* setup, std::uint8_t depth)
{
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats))
        if (formats.data->depth == depth)
            return formats.data->bits_per_pixel == 32 && formats.data->scanline_pad == 32;
    return false;
}

QRect scaled(QRect rect, int ratio) { return {rect.topLeft() * ratio, rect.size() * ratio}; }

}  // namespace

BannerOnXServer::~BannerOnXServer() { release(); }

bool BannerOnXServer::draw(QWindow* window, QRect area, QRgb background, const QImage& content,
                           const QList<BannerGeometry::Blit>& copies)
{
    const qreal ratio = window->devicePixelRatio();
    if (content.format() != QImage::Format_RGB32 || ratio < 1 || ratio != std::floor(ratio)
        || content.devicePixelRatio() != ratio || !prepare(window, content))
        return false;
    xcb_connection_t* const connection = xConnection();
    const QRect frame = scaled(area, int(ratio));
    QRegion uncovered(frame);
    for (const BannerGeometry::Blit& blit : copies)
        uncovered -= scaled(blit.target, int(ratio)).translated(frame.topLeft());
    // The background only where no copy goes: a fill under a copy could show for an instant.
    if (!uncovered.isEmpty()) {
        const QRgb foreground = background | 0xff000000u;
        if (foreground != m_foreground) {
            xcb_change_gc(connection, m_gc, XCB_GC_FOREGROUND, &foreground);
            m_foreground = foreground;
        }
        std::vector<xcb_rectangle_t> rectangles;
        for (const QRect& rect : uncovered)
            rectangles.push_back({std::int16_t(rect.x()), std::int16_t(rect.y()),
                                  std::uint16_t(rect.width()), std::uint16_t(rect.height())});
        xcb_poly_fill_rectangle(connection, m_window, m_gc, std::uint32_t(rectangles.size()),
                                rectangles.data());
    }
    for (const BannerGeometry::Blit& blit : copies) {
        const QRect source = scaled(blit.source, int(ratio));
        const QPoint place = scaled(blit.target, int(ratio)).translated(frame.topLeft()).topLeft();
        xcb_copy_area(connection, m_pixmap, m_window, m_gc, std::int16_t(source.x()),
                      std::int16_t(source.y()), std::int16_t(place.x()), std::int16_t(place.y()),
                      std::uint16_t(source.width()), std::uint16_t(source.height()));
    }
    xcb_flush(connection);
    return true;
}

bool BannerOnXServer::prepare(QWindow* window, const QImage& content)
{
    xcb_connection_t* const connection = xConnection();
    if (!connection || content.isNull() || content.width() > kMaxSide || content.height() > kMaxSide)
        return false;
    const auto id = std::uint32_t(window->winId());
    if (id != m_window) {
        release();
        m_window = id;
        m_windowSuits = suitsWindow(id);
    }
    if (!m_windowSuits)
        return false;
    if (!m_gc) {
        m_gc = xcb_generate_id(connection);
        m_foreground = 0xff000000u;
        const std::uint32_t values[] = {m_foreground, 0};  // foreground, no graphics exposures
        xcb_create_gc(connection, m_gc, m_window, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
    }
    if (m_pixmap && content.cacheKey() == m_contentKey)
        return true;
    if (m_pixmap)
        xcb_free_pixmap(connection, m_pixmap);
    m_pixmap = xcb_generate_id(connection);
    m_contentKey = content.cacheKey();
    xcb_create_pixmap(connection, m_depth, m_pixmap, m_window, std::uint16_t(content.width()),
                      std::uint16_t(content.height()));
    const std::uint32_t lineBytes = std::uint32_t(content.bytesPerLine());
    const std::uint32_t requestBytes = std::min(kMaxUploadBytes, xcb_get_maximum_request_length(connection) * 4 - 64);
    const int linesPerRequest = std::max(1, int(requestBytes / lineBytes));
    for (int top = 0; top < content.height(); top += linesPerRequest) {
        const int lines = std::min(linesPerRequest, content.height() - top);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_pixmap, m_gc, std::uint16_t(content.width()),
                      std::uint16_t(lines), 0, std::int16_t(top), 0, m_depth, lineBytes * std::uint32_t(lines),
                      content.constScanLine(top));
    }
    return true;
}

bool BannerOnXServer::suitsWindow(std::uint32_t window)
{
    xcb_connection_t* const connection = xConnection();
    const auto geometry = owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    const auto attributes = owned(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr));
    if (!geometry || !attributes)
        return false;
    const xcb_setup_t* const setup = xcb_get_setup(connection);
    m_depth = geometry->depth;
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian && setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST
           && hasWordPixels(setup, m_depth) && holdsRgbWords(setup, attributes->visual);
}

void BannerOnXServer::release()
{
    xcb_connection_t* const connection = xConnection();
    if (connection) {
        if (m_pixmap)
            xcb_free_pixmap(connection, m_pixmap);
        if (m_gc)
            xcb_free_gc(connection, m_gc);
    }
    m_pixmap = 0;
    m_gc = 0;
    m_contentKey = 0;
    m_window = 0;
    m_windowSuits = false;
}
