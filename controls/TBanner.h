#pragma once

#include "controls/BannerGeometry.h"
#include "controls/BannerOnXServer.h"

#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <optional>
#include <stdexcept>

class QMenu;
class QMimeData;

/// Thrown when scrolling is switched on while the banner has nothing to show: no picture with
/// pixels, no line, no text. Its message is "Assign a bitmap or text to banner before
/// enabling".
class BannerContentError : public std::runtime_error {
public:
    BannerContentError();
};

/// Whether a press-and-move on the banner starts a drag.
enum class TDragMode { dmManual, dmAutomatic };

/// A strip that scrolls its content through its area by ScrollPixels every ScrollInterval ms.
///
/// The content is one of three kinds, each replacing the others: a picture (SetBitmap), one
/// line of text (SetScrollText) or a block of lines (SetLines). Text and lines are rendered
/// once into the content image, with the font, FontColor and Color of that moment; a step
/// only composes copies of that image. Text and lines are *generated* content: their image is
/// discarded when scrolling is switched off and rebuilt when it is switched on again, so a
/// stopped banner with text shows only its Color. A picture is kept.
///
/// With a gap (the default) the content enters at one edge, leaves completely at the other
/// and enters again (or, with OnlyOnce, scrolling stops). With NoGap the content is tiled
/// edge to edge and repeats with its own length as period.
///
/// "Scrolling on" (ScrollEnabled) is not QWidget's enabled state: the banner keeps taking
/// mouse input (drag, popup menu) whether it scrolls or not.
///
/// Content writes that end by switching scrolling on throw BannerContentError when there is
/// nothing to show; their earlier effects (new empty content, scrolling off) remain.
/// GUI thread only.
class TBanner : public QWidget {
    Q_OBJECT

public:
    /// MIME type of the drag the banner starts; its data is empty, as the receiver knows the
    /// current module by itself.
    static constexpr const char* kDragMimeType = "application/x-jukarium-banner";

    /// 100 x 100 pixels, no content, scrolling off, right to left, 4 pixels every 200 ms.
    explicit TBanner(QWidget* parent = nullptr);
    ~TBanner() override;

    // Content -------------------------------------------------------------------------------

    /// The content image; null while there is none or while generated content is discarded.
    const QImage& Bitmap() const { return m_image; }
    /// Makes a copy of picture the content (clears ScrollText and Lines); then switches
    /// scrolling on when AutoEnable is set and the picture is at least 1 pixel wide.
    void SetBitmap(const QImage& picture);

    /// The one-line content; empty when the content is a picture or lines.
    const QString& ScrollText() const { return m_scrollText; }
    /// Switches scrolling off, clears Lines, renders text, then switches scrolling on when
    /// AutoEnable is set (throws for an empty text then). ScrollPos keeps its value. The text
    /// becomes the banner's accessible name.
    void SetScrollText(const QString& text);

    /// The lines of the block content; empty when the content is a picture or text.
    const QStringList& Lines() const { return m_lines; }
    /// Copies lines and runs BuildLinesImage, also for an empty list.
    void SetLines(const QStringList& lines);

    /// Alignment of each line inside the block; taCenter at first. A change rebuilds the block.
    TAlignment LinesAlign() const { return m_linesAlign; }
    void SetLinesAlign(TAlignment align);

    // Scrolling -----------------------------------------------------------------------------

    /// Scrolling is running: the timer steps the content. False at first.
    bool ScrollEnabled() const { return m_scrollEnabled; }
    /// Switches scrolling on or off and then always emits scrollingEnabled() or
    /// scrollingDisabled(), also when the value does not change. Switching on rebuilds
    /// discarded text or lines, and throws BannerContentError (changing nothing) when there
    /// is no content at all. Ignored between beginLoad() and Loaded().
    void SetScrollEnabled(bool on);

    /// Switch scrolling on by itself whenever new content is set. True at first.
    bool AutoEnable() const { return m_autoEnable; }
    void SetAutoEnable(bool on) { m_autoEnable = on; }

    /// Tile the content seamlessly instead of letting it leave completely. False at first.
    bool NoGap() const { return m_noGap; }
    void SetNoGap(bool on) { m_noGap = on; }

    /// Stop after one pass (with a gap only). False at first.
    bool OnlyOnce() const { return m_onlyOnce; }
    void SetOnlyOnce(bool on) { m_onlyOnce = on; }

    /// sdRightToLeft at first. A change moves ScrollPos so that reversing keeps the content
    /// where it is on screen and switching the axis shows it as just entered; no repaint.
    /// While generated content is discarded, the size it will have when rebuilt is used.
    TScrollDirection ScrollDirection() const { return m_direction; }
    void SetScrollDirection(TScrollDirection direction);

    /// Milliseconds between steps, 200 at first. 0 never steps.
    quint16 ScrollInterval() const { return quint16(m_scrollTimer.interval()); }
    void SetScrollInterval(quint16 milliseconds);

    /// Pixels moved per step, 4 at first.
    quint16 ScrollPixels() const { return m_scrollPixels; }
    void SetScrollPixels(quint16 pixels) { m_scrollPixels = pixels; }

    /// Pixels scrolled so far along the axis, modulo 65536; kept across stop and start.
    quint16 ScrollPos() const { return m_scrollPos; }

    /// One step: advances ScrollPos, ends the pass (restart, or stop with OnlyOnce), shows the
    /// new position at once and emits scrolled(). The timer calls it; tests call it to drive
    /// time.
    void StepScroll();

    // Look ----------------------------------------------------------------------------------

    /// Background, the palette's Window colour (inherited from the parent until set). Shown
    /// text and lines are rendered again with it at once, as on any palette or font change.
    QColor Color() const;
    void SetColor(const QColor& color);

    /// Text colour, the palette's WindowText colour, darkened or lightened where needed to
    /// stand out from Color by a contrast ratio of 4.5 (ReadableColors). The font is
    /// QWidget's font.
    QColor FontColor() const;
    void SetFontColor(const QColor& color);

    // Loading -------------------------------------------------------------------------------

    /// Starts setting up the banner: writes of ScrollEnabled are ignored until Loaded(), so
    /// font, colours and content may be set in any order.
    void beginLoad();
    /// Ends the setup: renders ScrollText or Lines with the final font and colours and
    /// switches scrolling on when AutoEnable is set and there is content.
    void Loaded();

    // Mouse ---------------------------------------------------------------------------------

    /// dmAutomatic: pressing the left button and moving starts a drag of kDragMimeType.
    /// dmManual at first.
    TDragMode DragMode() const { return m_dragMode; }
    void SetDragMode(TDragMode mode) { m_dragMode = mode; }

    /// Menu shown on a right click; not owned, may be null (no menu).
    QMenu* PopupMenu() const;
    void SetPopupMenu(QMenu* menu);

    /// The data of a banner drag; the caller owns it.
    static QMimeData* createDragData();
    /// True when data comes from a banner drag; for drop targets.
    static bool isBannerDrag(const QMimeData* data);

signals:
    /// At the end of every step, after the repaint.
    void scrolled();
    /// At the end of every effective SetScrollEnabled(true).
    void scrollingEnabled();
    /// At the end of every effective SetScrollEnabled(false), also at the end of an OnlyOnce
    /// pass.
    void scrollingDisabled();

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    /// Compose the entering copy only into painter (sized as the banner, filled with Color).
    virtual void PaintWithGap(QPainter& painter);
    /// Compose the entering copy and the copies behind it, until the banner is covered.
    virtual void PaintNoGap(QPainter& painter);

private:
    /// A step drawn on the X server, or written straight into the window's backing store and
    /// flushed to the screen; false, with nothing shown, where the banner is not to be painted
    /// so (covered or clipped in part, the focus frame, no opaque content, a fractional pixel
    /// ratio).
    bool showStepWithoutRepaint();
    /// The step composed into the window's backing store at area, without showing it; false
    /// where the store cannot take it so.
    bool composeStepInBackingStore(const QRect& area);
    /// The banner's place in its window, in device-independent pixels.
    QRect areaInWindow() const;
    /// Where the content is copied to in this step.
    QList<BannerGeometry::Blit> stepCopies() const;
    /// Brings the backing store up to date before an expose shows it.
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// The focus frame, where the banner has the keyboard's focus.
    void paintFocus(QPainter& painter);
    /// Renders Lines into the content image, keeping scrolling on if it was on.
    void BuildLinesImage();
    /// The image of the text or the lines with today's font and colours.
    QImage renderGeneratedContent() const;
    /// Renders discarded text or lines again; throws when that gives no image.
    void rebuildContent();
    bool hasGeneratedContent() const { return !m_scrollText.isEmpty() || !m_lines.isEmpty(); }
    /// Size of the content image in device-independent pixels.
    QSize imageSize() const;
    /// Size of the content image, or of the image a rebuild would render while discarded.
    QSize contentSize() const;
    void composeCopies(QPainter& painter, bool noGap) const;
    void syncTimer();

    QTimer m_scrollTimer;
    QImage m_image;
    BannerOnXServer m_onServer;
    QPointer<QWindow> m_exposesWatched;  // the window whose exposes eventFilter() sees
    bool m_storeBehind = false;          // the server shows a step the backing store lacks
    QStringList m_lines;
    QString m_scrollText;
    TAlignment m_linesAlign = TAlignment::taCenter;
    TScrollDirection m_direction = TScrollDirection::sdRightToLeft;
    quint16 m_scrollPixels = 4;
    quint16 m_scrollPos = 0;
    bool m_scrollEnabled = false;
    bool m_autoEnable = true;
    bool m_noGap = false;
    bool m_onlyOnce = false;
    bool m_loading = false;
    bool m_rebuilding = false;
    TDragMode m_dragMode = TDragMode::dmManual;
    QPointer<QMenu> m_popupMenu;
    std::optional<QPoint> m_pressPos;  // where a left-button press started, for dragging
};
