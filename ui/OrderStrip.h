#pragma once

#include <QColor>
#include <QListWidget>

/// The pattern view's order list, as a strip: "007: 3" for order 7 playing pattern 3 ("--" for
/// an order that holds a mark). The order heard is painted in the heard colours, neither
/// selected nor made current, so that a screen reader is not told of every one; the keyboard
/// comes into the strip on it. Enter on an order, or a click on it, asks to play from there:
/// once each, on every style (whether a click activates an item or not), and a double click
/// as often as a click.
class OrderStrip : public QListWidget {
    Q_OBJECT

public:
    explicit OrderStrip(QWidget* parent = nullptr);

    /// The pattern at each order position, -1 for a mark; no order heard until told.
    void showOrders(const QList<int>& patterns);
    /// The order heard, 0 to count() - 1; -1: none.
    void showHeardOrder(int order);
    /// What the order heard is painted with.
    void setHeardColors(const QColor& background, const QColor& text);

signals:
    /// Enter or a click on order.
    void orderChosen(int order);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// Paints item as heard (or as any other, when heard is false).
    void paintHeard(QListWidgetItem* item, bool heard);

    int m_heard = -1;
    QColor m_heardBackground;
    QColor m_heardText;
};
