#pragma once

#include <QListWidget>

/// The pattern view's order list, as a strip: "007: 3" for order 7 playing pattern 3 ("--" for
/// an order that holds a mark). Enter on an order, or a click on it, asks to play from there:
/// once each, on every style (whether a click activates an item or not), and a double click
/// as often as a click.
class OrderStrip : public QListWidget {
    Q_OBJECT

public:
    explicit OrderStrip(QWidget* parent = nullptr);

    /// The pattern at each order position, -1 for a mark.
    void showOrders(const QList<int>& patterns);

signals:
    /// Enter or a click on order.
    void orderChosen(int order);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
