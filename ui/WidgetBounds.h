#pragma once

#include "settings/TPersWindow.h"

#include <QWidget>

/// A top-level widget's position (its frame's, on the screen) and size, for the placement
/// components.
class WidgetBounds : public WindowBounds {
public:
    explicit WidgetBounds(QWidget& widget) : m_widget(widget) {}

    int left() const override { return m_widget.x(); }
    int top() const override { return m_widget.y(); }
    int width() const override { return m_widget.width(); }
    int height() const override { return m_widget.height(); }
    void setLeft(int left) override { m_widget.move(left, m_widget.y()); }
    void setTop(int top) override { m_widget.move(m_widget.x(), top); }
    void setWidth(int width) override { m_widget.resize(width, m_widget.height()); }
    void setHeight(int height) override { m_widget.resize(m_widget.width(), height); }

private:
    QWidget& m_widget;
};
