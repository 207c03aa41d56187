#pragma once

#include "settings/TPersWindow.h"
#include "ui/VisiblePlacement.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <optional>

/// A top-level widget's position (its frame's, on the screen) and size, for the placement
/// components.
class WidgetBounds : public WindowBounds {
public:
    explicit WidgetBounds(QWidget& widget) : m_widget(widget) {}

    int left() const override { return displaced() ? m_kept->stored.x() : m_widget.x(); }
    int top() const override { return displaced() ? m_kept->stored.y() : m_widget.y(); }
    int width() const override { return displaced() ? m_kept->stored.width() : m_widget.width(); }
    int height() const override
    {
        return displaced() ? m_kept->stored.height() : m_widget.height();
    }
    void setLeft(int left) override
    {
        m_kept.reset();
        m_widget.move(left, m_widget.y());
    }
    void setTop(int top) override
    {
        m_kept.reset();
        m_widget.move(m_widget.x(), top);
    }
    void setWidth(int width) override
    {
        m_kept.reset();
        m_widget.resize(width, m_widget.height());
    }
    void setHeight(int height) override
    {
        m_kept.reset();
        m_widget.resize(m_widget.width(), height);
    }

    /// Moves the widget to shown and gives it size, but goes on reporting the place and size
    /// it had for as long as it stays so, so that a place on a screen that is gone, or a size
    /// too large for this screen, is saved unchanged for when that screen comes back. Moving
    /// or resizing it otherwise, or setting a bound, ends this.
    void showElsewhere(const QPoint& shown, const QSize& size)
    {
        if (!displaced())
            m_kept = Kept{QRect(m_widget.pos(), m_widget.size()), {}, {}};
        m_widget.move(shown);
        m_widget.resize(size);
        // As the widget took them: a minimum size may have kept it larger.
        m_kept->shownAt = m_widget.pos();
        m_kept->shownSize = m_widget.size();
    }

    /// Where the widget's frame runs past the edge of the screen (VisibleWindowFrame), shows it
    /// wholly on the screen elsewhere (showElsewhere). Call it on Show, when the frame is known.
    void keepWhollyOnScreen()
    {
        const QRect frame = m_widget.frameGeometry();
        const QRect visible = VisibleWindowFrame(frame);
        if (visible != frame)
            showElsewhere(visible.topLeft(), m_widget.size() - (frame.size() - visible.size()));
    }

private:
    struct Kept {
        QRect stored;  // the place and size to report
        QPoint shownAt;
        QSize shownSize;
    };

    bool displaced() const
    {
        return m_kept && m_widget.pos() == m_kept->shownAt && m_widget.size() == m_kept->shownSize;
    }

    QWidget& m_widget;
    std::optional<Kept> m_kept;
};
