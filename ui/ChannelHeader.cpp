#include "ui/ChannelHeader.h"

#include "controls/ReadableColors.h"
#include "ui/AccessibleChannelHeader.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMeterHeight = 24;
// A bar of p pixels fills the meter's rows [kBarBase - p, kBarBase).
constexpr int kBarBase = kMeterHeight - 2;
/// How far a meter falls in a millisecond: from full to silent in about half a second.
constexpr float kFallPerMs = 0.002f;
/// The most a meter falls between two frames, where frames were paused (hidden, or no sound).
constexpr qint64 kLongestFallMs = 100;
/// The focus mark's contrast with the header's face: as much as text needs, as styles shade
/// the face a little away from the palette's button colour that it is reckoned against.
constexpr qreal kMarkContrast = 4.5;

}  // namespace

ChannelHeader::ChannelHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    AccessibleChannelHeader::install();
    setAccessibleName(tr("Channels"));
    setFocusPolicy(Qt::StrongFocus);
    setSectionsClickable(true);
    setDefaultAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    connect(this, &QHeaderView::sectionPressed, this, &ChannelHeader::setFocusedChannel);
    connect(this, &QHeaderView::sectionClicked, this, [this](int channel) {
        if (QApplication::keyboardModifiers() & Qt::ControlModifier)
            emit soloRequested(channel);
        else
            emit muteRequested(channel);
    });
    connect(this, &QHeaderView::sectionDoubleClicked, this, [this](int channel) {
        // The first click of the two muted it: that is undone, then the channel plays alone.
        emit muteRequested(channel);
        emit soloRequested(channel);
    });
}

QSize ChannelHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(size.height() + kMeterHeight);
    return size;
}

int ChannelHeader::meterPixels(float level) const
{
    return static_cast<int>(std::lround(std::clamp(level, 0.0f, 1.0f) * (kMeterHeight - 4)));
}

QRect ChannelHeader::meterBand(int logicalIndex, int pixels, int otherPixels) const
{
    // Between two heights only the rows of the taller that the shorter leaves uncovered change.
    return QRect(sectionViewportPosition(logicalIndex), kBarBase - std::max(pixels, otherPixels),
                 sectionSize(logicalIndex), std::abs(pixels - otherPixels));
}

bool ChannelHeader::showLevels(const QList<float>& levels)
{
    const qint64 elapsedMs = m_sinceLevels.isValid() ? std::min(m_sinceLevels.restart(), kLongestFallMs) : 0;
    if (!m_sinceLevels.isValid())
        m_sinceLevels.start();
    const float fall = kFallPerMs * static_cast<float>(elapsedMs);
    const int channels = static_cast<int>(levels.size() / 2);
    m_shown.resize(std::max<qsizetype>(m_shown.size(), channels), 0.0f);
    bool moved = false;
    for (int channel = 0; channel < m_shown.size(); ++channel) {
        const float heard = channel < channels ? std::max(levels[2 * channel], levels[2 * channel + 1]) : 0.0f;
        const int before = meterPixels(m_shown[channel]);
        m_shown[channel] = std::max(heard, m_shown[channel] - fall);
        const int now = meterPixels(m_shown[channel]);
        if (now != before && channel < count()) {
            viewport()->update(meterBand(channel, before, now));
            moved = true;
        }
    }
    return moved;
}

void ChannelHeader::clearLevels()
{
    m_shown.clear();
    viewport()->update();
}

void ChannelHeader::paintEvent(QPaintEvent* event)
{
    // Most frames repaint meters alone: the titles, which the style draws at a far greater
    // cost, stay as they are.
    m_paintingMetersOnly = event->rect().bottom() < kMeterHeight;
    QHeaderView::paintEvent(event);
    if (m_paintingMetersOnly || !hasFocus() || count() == 0)
        return;
    // Around the title of the channel in focus, in a colour that stands out from the header's
    // face whatever the palette.
    const int channel = focusedChannel();
    const QRect title(sectionViewportPosition(channel), kMeterHeight, sectionSize(channel),
                      viewport()->height() - kMeterHeight);
    const QColor mark = ReadableColors::readableOn(palette().color(QPalette::Highlight),
                                                   palette().color(QPalette::Button), kMarkContrast);
    QPainter painter(viewport());
    painter.setPen(QPen(mark, 2));
    painter.drawRect(title.adjusted(2, 2, -2, -2));
}

void ChannelHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    const QRect meter(rect.left(), rect.top(), rect.width(), kMeterHeight);
    painter->fillRect(meter, palette().base());
    const int pixels = meterPixels(m_shown.value(logicalIndex));
    if (pixels > 0)
        painter->fillRect(QRect(meter.left() + 3, meter.top() + kBarBase - pixels, meter.width() - 6, pixels),
                          palette().highlight());
    if (!m_paintingMetersOnly)
        QHeaderView::paintSection(painter, rect.adjusted(0, kMeterHeight, 0, 0), logicalIndex);
}

int ChannelHeader::focusedChannel() const
{
    return std::clamp(m_focusedChannel, 0, std::max(count() - 1, 0));
}

void ChannelHeader::setFocusedChannel(int channel)
{
    const int before = focusedChannel();
    m_focusedChannel = std::clamp(channel, 0, std::max(count() - 1, 0));
    if (m_focusedChannel == before)
        return;
    viewport()->update();
    announceFocus();
    emit focusedChannelChanged(m_focusedChannel);
}

void ChannelHeader::setModel(QAbstractItemModel* model)
{
    if (this->model())
        disconnect(this->model(), &QAbstractItemModel::headerDataChanged, this, &ChannelHeader::announceTitles);
    QHeaderView::setModel(model);
    if (model)
        connect(model, &QAbstractItemModel::headerDataChanged, this, &ChannelHeader::announceTitles);
}

void ChannelHeader::keyPressEvent(QKeyEvent* event)
{
    // Every key ends here: passed on to the table, Up and Down would move its cell, and tell a
    // screen reader so, while the keyboard is on a header.
    if (count() == 0 || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return;
    const int visual = visualIndex(focusedChannel());
    const int forward = isRightToLeft() ? -1 : 1;
    int wanted;
    switch (event->key()) {
    case Qt::Key_Left:
        wanted = visual - forward;
        break;
    case Qt::Key_Right:
        wanted = visual + forward;
        break;
    case Qt::Key_Home:
        wanted = 0;
        break;
    case Qt::Key_End:
        wanted = count() - 1;
        break;
    default:
        return;
    }
    setFocusedChannel(logicalIndex(std::clamp(wanted, 0, count() - 1)));
}

void ChannelHeader::focusInEvent(QFocusEvent* event)
{
    QHeaderView::focusInEvent(event);
    viewport()->update();
    // After the focus event Qt sends for the whole header, so that the channel is the last word.
    QMetaObject::invokeMethod(this, &ChannelHeader::announceFocus, Qt::QueuedConnection);
}

void ChannelHeader::focusOutEvent(QFocusEvent* event)
{
    QHeaderView::focusOutEvent(event);
    viewport()->update();
}

void ChannelHeader::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QHeaderView::currentChanged(current, previous);
    if (current.isValid())
        setFocusedChannel(current.column());
}

void ChannelHeader::announceFocus()
{
    if (!hasFocus() || count() == 0 || !QAccessible::isActive())
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(focusedChannel());
    QAccessible::updateAccessibility(&focus);
}

void ChannelHeader::announceTitles(Qt::Orientation orientation, int first, int last)
{
    if (orientation != Qt::Horizontal || !QAccessible::isActive())
        return;
    for (int channel = std::max(first, 0); channel <= std::min(last, count() - 1); ++channel) {
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        renamed.setChild(channel);
        QAccessible::updateAccessibility(&renamed);
    }
}
