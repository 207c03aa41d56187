#include "ui/OrderStrip.h"

#include <QKeyEvent>

OrderStrip::OrderStrip(QWidget* parent) : QListWidget(parent)
{
    setFlow(QListView::LeftToRight);
    setWrapping(false);
    setFixedHeight(fontMetrics().height() * 2 + 8);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionMode(QAbstractItemView::NoSelection);
    // Not activated(): styles differ on whether a click activates, and where it does a click
    // would be both. A double click is one click here, its second half never a click.
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit orderChosen(row(item)); });
}

void OrderStrip::showOrders(const QList<int>& patterns)
{
    clear();
    m_heard = -1;
    for (int order = 0; order < patterns.size(); ++order) {
        const QString pattern = patterns[order] < 0 ? QStringLiteral("--") : QString::number(patterns[order]);
        addItem(QStringLiteral("%1: %2").arg(order, 3, 10, QLatin1Char('0')).arg(pattern));
    }
}

void OrderStrip::showHeardOrder(int order)
{
    if (order == m_heard)
        return;
    if (QListWidgetItem* before = item(m_heard))
        paintHeard(before, false);
    m_heard = order;
    QListWidgetItem* heard = item(order);
    if (!heard)
        return;
    paintHeard(heard, true);
    // In sight, but the current item stays: every move of it is told to a screen reader as a
    // move of the keyboard, even where the keyboard is elsewhere.
    if (!hasFocus())
        scrollToItem(heard);
}

void OrderStrip::setHeardColors(const QColor& background, const QColor& text)
{
    m_heardBackground = background;
    m_heardText = text;
    if (QListWidgetItem* heard = item(m_heard))
        paintHeard(heard, true);
}

void OrderStrip::paintHeard(QListWidgetItem* item, bool heard)
{
    const auto color = [heard](const QColor& wanted) {
        return heard && wanted.isValid() ? QVariant(wanted) : QVariant();
    };
    item->setData(Qt::BackgroundRole, color(m_heardBackground));
    item->setData(Qt::ForegroundRole, color(m_heardText));
    // The item's change repaints nothing while the strip's layout is pending, as it is after
    // the orders were shown; the layout then kept the old colours on the screen.
    viewport()->update(visualItemRect(item));
}

void OrderStrip::focusInEvent(QFocusEvent* event)
{
    // The keyboard comes to the order heard.
    if (QListWidgetItem* heard = item(m_heard); heard && event->reason() != Qt::MouseFocusReason)
        selectionModel()->setCurrentIndex(indexFromItem(heard), QItemSelectionModel::NoUpdate);
    QListWidget::focusInEvent(event);
}

void OrderStrip::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        emit orderChosen(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}
