#include "ui/OrderStrip.h"

#include <QKeyEvent>

OrderStrip::OrderStrip(QWidget* parent) : QListWidget(parent)
{
    setFlow(QListView::LeftToRight);
    setWrapping(false);
    setFixedHeight(fontMetrics().height() * 2 + 8);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Not activated(): styles differ on whether a click activates, and where it does a click
    // would be both. A double click is one click here, its second half never a click.
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit orderChosen(row(item)); });
}

void OrderStrip::showOrders(const QList<int>& patterns)
{
    clear();
    for (int order = 0; order < patterns.size(); ++order) {
        const QString pattern = patterns[order] < 0 ? QStringLiteral("--") : QString::number(patterns[order]);
        addItem(QStringLiteral("%1: %2").arg(order, 3, 10, QLatin1Char('0')).arg(pattern));
    }
}

void OrderStrip::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        emit orderChosen(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}
