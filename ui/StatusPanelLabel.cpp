#include "ui/StatusPanelLabel.h"

#include <QPainter>
#include <QStyle>

QSize StatusPanelLabel::sizeHint() const
{
    return {0, QLabel::sizeHint().height()};
}

QSize StatusPanelLabel::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}

void StatusPanelLabel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);  // the sunken frame; the text is drawn here, elided
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
    style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}
