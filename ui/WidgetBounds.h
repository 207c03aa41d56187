#pragma once

#include "settings/TPersWindow.h"

#include <QPoint>
#include <QWidget>

#include <optional>

/// A top-level widget's position (its frame's, on the screen) and size, for the placement
/// components.
class WidgetBounds : public WindowBounds {
public:
    explicit WidgetBounds(QWidget& widget) : m_widget(widget) {}

    int left() const override { return displaced() ? m_keptPlace->x() : m_widget.x(); }
    int top() const override { return displaced() ? m_keptPlace->y() : m_widget.y(); }
    int width() const override { return m_widget.width(); }
    int height() const override { return m_widget.height(); }
    void setLeft(int left) override
    {
        m_keptPlace.reset();
        m_widget.move(left, m_widget.y());
    }
    void setTop(int top) override
    {
        m_keptPlace.reset();
        m_widget.move(m_widget.x(), top);
    }
    void setWidth(int width) override { m_widget.resize(width, m_widget.height()); }
    void setHeight(int height) override { m_widget.resize(m_widget.width(), height); }

    /// Moves the widget to shown but goes on reporting the place it had for as long as it
    /// stays there, so that a place on a screen that is gone is saved unchanged for when the
    /// screen comes back. Moving it elsewhere, or setting a place, ends this.
    void showElsewhere(const QPoint& shown)
    {
        if (!displaced())
            m_keptPlace = m_widget.pos();
        m_shownAt = shown;
        m_widget.move(shown);
    }

private:
    bool displaced() const { return m_keptPlace && m_widget.pos() == m_shownAt; }

    QWidget& m_widget;
    std::optional<QPoint> m_keptPlace;
    QPoint m_shownAt;
};
