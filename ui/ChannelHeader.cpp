#include "ui/ChannelHeader.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMeterHeight = 24;
/// How far a meter falls in a millisecond: from full to silent in about half a second.
constexpr float kFallPerMs = 0.002f;
/// The most a meter falls between two frames, where frames were paused (hidden, or no sound).
constexpr qint64 kLongestFallMs = 100;

}  // namespace

ChannelHeader::ChannelHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setDefaultAlignment(Qt::AlignHCenter | Qt::AlignBottom);
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

QRect ChannelHeader::meterRect(int logicalIndex) const
{
    return QRect(sectionViewportPosition(logicalIndex), 0, sectionSize(logicalIndex), kMeterHeight);
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
        const float before = m_shown[channel];
        m_shown[channel] = std::max(heard, before - fall);
        if (meterPixels(m_shown[channel]) != meterPixels(before) && channel < count()) {
            viewport()->update(meterRect(channel));
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
}

void ChannelHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    const QRect meter(rect.left(), rect.top(), rect.width(), kMeterHeight);
    painter->fillRect(meter, palette().base());
    const int pixels = meterPixels(m_shown.value(logicalIndex));
    if (pixels > 0)
        painter->fillRect(QRect(meter.left() + 3, meter.bottom() - 1 - pixels, meter.width() - 6, pixels),
                          palette().highlight());
    if (!m_paintingMetersOnly)
        QHeaderView::paintSection(painter, rect.adjusted(0, kMeterHeight, 0, 0), logicalIndex);
}
