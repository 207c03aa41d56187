#include "controls/TBanner.h"

#include "controls/BannerContent.h"
#include "controls/BannerFrame.h"
#include "controls/ReadableColors.h"

#include <QApplication>
#include <QBackingStore>
#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QScopeGuard>
#include <QWindow>

BannerContentError::BannerContentError()
    : std::runtime_error("Assign a bitmap or text to banner before enabling")
{
}

TBanner::TBanner(QWidget* parent)
    : QWidget(parent)
{
    // Every paint covers the whole area, so Qt need not erase it first (no flicker).
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A stop of the Tab key, so that the keyboard reaches its menu (the Menu key, Shift+F10).
    setFocusPolicy(Qt::TabFocus);
    resize(100, 100);
    m_scrollTimer.setInterval(200);
    connect(&m_scrollTimer, &QTimer::timeout, this, &TBanner::StepScroll);
}

TBanner::~TBanner() = default;

// Content ---------------------------------------------------------------------------------

void TBanner::SetBitmap(const QImage& picture)
{
    m_image = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_scrollText.clear();
    m_lines.clear();
    update();
    if (m_autoEnable && m_image.width() != 0)
        SetScrollEnabled(true);
}

void TBanner::SetScrollText(const QString& text)
{
    SetScrollEnabled(false);
    m_lines.clear();
    m_scrollText = text;
    m_image = renderGeneratedContent();
    // A screen reader reads the line whole, once per new text, never per scroll step.
    if (accessibleName() != text)
        setAccessibleName(text);
    update();
    if (m_autoEnable)
        SetScrollEnabled(true);
}

void TBanner::SetLines(const QStringList& lines)
{
    m_lines = lines;
    BuildLinesImage();
}

void TBanner::SetLinesAlign(TAlignment align)
{
    if (align == m_linesAlign)
        return;
    m_linesAlign = align;
    if (!m_lines.isEmpty())
        BuildLinesImage();
}

void TBanner::BuildLinesImage()
{
    const bool wasOn = m_scrollEnabled;
    SetScrollEnabled(false);
    m_scrollText.clear();
    m_image = renderGeneratedContent();
    update();
    if (wasOn || m_autoEnable)
        SetScrollEnabled(true);
}

QImage TBanner::renderGeneratedContent() const
{
    const QColor text = ReadableColors::readableOn(FontColor(), Color());
    const qreal ratio = devicePixelRatioF();
    if (!m_lines.isEmpty())
        return BannerContent::renderLines(m_lines, m_linesAlign, font(), text, Color(), ratio);
    return BannerContent::renderText(m_scrollText, font(), text, Color(), ratio);
}

QSize TBanner::imageSize() const
{
    return m_image.deviceIndependentSize().toSize();
}

QSize TBanner::contentSize() const
{
    if (!m_image.isNull())
        return imageSize();
    if (!m_lines.isEmpty())
        return BannerContent::linesSize(m_lines, font());
    if (!m_scrollText.isEmpty())
        return BannerContent::textSize(m_scrollText, font());
    return {0, 0};
}

// Scrolling -------------------------------------------------------------------------------

void TBanner::SetScrollEnabled(bool on)
{
    if (m_loading)
        return;
    if (on && m_image.isNull())
        rebuildContent();
    if (!on && hasGeneratedContent()) {
        m_image = QImage();
        update();
    }
    m_scrollEnabled = on;
    syncTimer();
    if (on)
        emit scrollingEnabled();
    else
        emit scrollingDisabled();
}

void TBanner::rebuildContent()
{
    // The rebuild switches scrolling on through its own writes; content that renders to
    // nothing (lines that are all empty) would otherwise come back here for ever.
    if (m_rebuilding || !hasGeneratedContent())
        throw BannerContentError();
    m_rebuilding = true;
    const auto done = qScopeGuard([this] { m_rebuilding = false; });
    if (!m_lines.isEmpty())
        BuildLinesImage();
    else
        SetScrollText(m_scrollText);
    if (m_image.isNull())
        throw BannerContentError();
}

void TBanner::syncTimer()
{
    // A 0 ms timer would step as fast as the event loop spins; it never steps instead.
    if (m_scrollEnabled && m_scrollTimer.interval() > 0)
        m_scrollTimer.start();
    else
        m_scrollTimer.stop();
}

void TBanner::SetScrollInterval(quint16 milliseconds)
{
    m_scrollTimer.setInterval(milliseconds);
    syncTimer();
}

void TBanner::SetScrollDirection(TScrollDirection direction)
{
    if (direction == m_direction)
        return;
    m_scrollPos = BannerGeometry::posAfterDirectionChange(m_direction, direction, size(),
                                                         contentSize(), m_scrollPos);
    m_direction = direction;
}

void TBanner::StepScroll()
{
    const BannerGeometry::Step step = BannerGeometry::nextStep(
        m_scrollPos, m_scrollPixels, BannerGeometry::extent(m_direction, imageSize()),
        BannerGeometry::span(m_direction, size()), m_noGap, m_onlyOnce);
    m_scrollPos = step.pos;
    if (step.stop)
        SetScrollEnabled(false);
    if (!showStepWithoutRepaint())
        repaint();
    emit scrolled();
}

bool TBanner::showStepWithoutRepaint()
{
    // Qt's repaint of a widget, however small, goes through the whole window's bookkeeping
    // (dirty regions, the widgets above and below, event filters, a painter's set-up), which
    // costs a shown window with the banner scrolling more than the step's own pixels. Where
    // the banner shows whole and as it is, the step is drawn on the X server from its copy of
    // the content, or else written into the window's backing store and sent to the screen.
    QWidget* const top = window();
    QWindow* const surface = top->windowHandle();
    if (m_image.isNull() || hasFocus() || !isVisible() || !updatesEnabled() || !backingStore()
        || !surface || !surface->isExposed() || internalWinId() != 0
        || nativeParentWidget() != top || visibleRegion() != QRegion(rect()))
        return false;
    const QRect area = areaInWindow();
    if (m_onServer.draw(surface, area, Color().rgb(), m_image, stepCopies())) {
        // The backing store catches up only when Qt is about to show it again.
        if (m_exposesWatched != surface) {
            if (m_exposesWatched)
                m_exposesWatched->removeEventFilter(this);
            surface->installEventFilter(this);
            m_exposesWatched = surface;
        }
        m_storeBehind = true;
        return true;
    }
    if (!composeStepInBackingStore(area))
        return false;
    backingStore()->flush(area, surface);
    return true;
}

QRect TBanner::areaInWindow() const
{
    return QRect(mapTo(window(), QPoint()), size());
}

QList<BannerGeometry::Blit> TBanner::stepCopies() const
{
    return BannerGeometry::copies(m_direction, size(), imageSize(), m_scrollPos, m_noGap);
}

bool TBanner::composeStepInBackingStore(const QRect& area)
{
    QBackingStore* const store = backingStore();
    store->beginPaint(area);
    QPaintDevice* const device = store->paintDevice();
    const bool composed = device && device->devType() == QInternal::Image
                          && BannerFrame::canCompose(*static_cast<QImage*>(device), area, m_image);
    if (composed)
        BannerFrame::compose(*static_cast<QImage*>(device), area, Color().rgb(), m_image, stepCopies());
    store->endPaint();
    return composed;
}

bool TBanner::eventFilter(QObject* watched, QEvent* event)
{
    // An expose shows the backing store's pixels again: they must be the step the server
    // shows, not the one Qt last painted. Qt tells a window that is exposed already of more
    // as a paint event, and the same window of its first exposure as an expose.
    const bool showsStoreAgain = event->type() == QEvent::Expose || event->type() == QEvent::Paint;
    if (watched == m_exposesWatched && showsStoreAgain && m_storeBehind) {
        m_storeBehind = false;
        if (!backingStore() || !composeStepInBackingStore(areaInWindow()))
            update();
    }
    return QWidget::eventFilter(watched, event);
}

// Loading ---------------------------------------------------------------------------------

void TBanner::beginLoad()
{
    m_loading = true;
}

void TBanner::Loaded()
{
    m_loading = false;
    if (!m_scrollText.isEmpty())
        SetScrollText(m_scrollText);
    if (!m_lines.isEmpty())
        BuildLinesImage();
    if (m_autoEnable && !m_image.isNull())
        SetScrollEnabled(true);
}

// Look and painting -----------------------------------------------------------------------

QColor TBanner::Color() const
{
    return palette().color(QPalette::Window);
}

void TBanner::SetColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

QColor TBanner::FontColor() const
{
    return palette().color(QPalette::WindowText);
}

void TBanner::SetFontColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void TBanner::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Shown text takes on a new palette (a dark desktop theme switched on) or font at once;
    // discarded text takes it on when it is rebuilt anyway.
    const QEvent::Type type = event->type();
    if ((type == QEvent::PaletteChange || type == QEvent::ApplicationPaletteChange
         || type == QEvent::FontChange)
        && !m_image.isNull() && hasGeneratedContent()) {
        m_image = renderGeneratedContent();
        update();
    }
}

void TBanner::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    // Text follows the window to a screen of another pixel ratio, to stay crisp there.
    if (!m_image.isNull() && hasGeneratedContent() && m_image.devicePixelRatio() != ratio)
        m_image = renderGeneratedContent();
    // Straight into the window's backing store, which is off screen already.
    QPainter painter(this);
    painter.fillRect(rect(), Color());
    if (!m_image.isNull()) {
        if (m_noGap)
            PaintNoGap(painter);
        else
            PaintWithGap(painter);
    }
    paintFocus(painter);
}

void TBanner::paintFocus(QPainter& painter)
{
    if (!hasFocus())
        return;
    // In the text's colour: the style's frame, drawn for the window's colours, can all but
    // vanish on the banner's own.
    painter.setPen(QPen(FontColor(), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TBanner::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void TBanner::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

void TBanner::PaintWithGap(QPainter& painter)
{
    composeCopies(painter, false);
}

void TBanner::PaintNoGap(QPainter& painter)
{
    composeCopies(painter, true);
}

void TBanner::composeCopies(QPainter& painter, bool noGap) const
{
    const auto blits = BannerGeometry::copies(m_direction, size(), imageSize(), m_scrollPos,
                                              noGap);
    // The geometry counts in units on screen; the image holds ratio pixels per unit.
    const qreal ratio = m_image.devicePixelRatio();
    for (const BannerGeometry::Blit& blit : blits) {
        const QRectF source(QPointF(blit.source.topLeft()) * ratio,
                            QSizeF(blit.source.size()) * ratio);
        painter.drawImage(QRectF(blit.target), m_image, source);
    }
}

// Mouse -----------------------------------------------------------------------------------

QMimeData* TBanner::createDragData()
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kDragMimeType), QByteArray());
    return data;
}

bool TBanner::isBannerDrag(const QMimeData* data)
{
    return data && data->hasFormat(QString::fromLatin1(kDragMimeType));
}

QMenu* TBanner::PopupMenu() const
{
    return m_popupMenu;
}

void TBanner::SetPopupMenu(QMenu* menu)
{
    m_popupMenu = menu;
}

void TBanner::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressPos = event->position().toPoint();
    QWidget::mousePressEvent(event);
}

void TBanner::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragMode == TDragMode::dmAutomatic && m_pressPos
        && (event->buttons() & Qt::LeftButton)
        && (event->position().toPoint() - *m_pressPos).manhattanLength()
               >= QApplication::startDragDistance()) {
        m_pressPos.reset();
        auto* drag = new QDrag(this);
        drag->setMimeData(createDragData());
        drag->exec(Qt::CopyAction | Qt::LinkAction);
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void TBanner::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressPos.reset();
    QWidget::mouseReleaseEvent(event);
}

void TBanner::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_popupMenu) {
        QWidget::contextMenuEvent(event);
        return;
    }
    // From the keyboard (the menu key) below the banner, as for Shift+F10.
    const bool keyboard = event->reason() == QContextMenuEvent::Keyboard;
    m_popupMenu->popup(keyboard ? mapToGlobal(QPoint(0, height())) : event->globalPos());
    event->accept();
}

void TBanner::keyPressEvent(QKeyEvent* event)
{
    // Shift+F10 opens the menu as the menu key does; Qt leaves it to the widget.
    if (m_popupMenu && event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        m_popupMenu->popup(mapToGlobal(QPoint(0, height())));
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
