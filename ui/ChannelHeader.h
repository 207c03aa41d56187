#pragma once

#include <QHeaderView>
#include <QElapsedTimer>
#include <QList>

/// The pattern view's channel headers: each channel's title under a level meter that rises at
/// once and falls smoothly. A click mutes the channel or lets it sound again; a double click,
/// or a click with Ctrl held, solos it (a second one undoes).
class ChannelHeader : public QHeaderView {
    Q_OBJECT

public:
    explicit ChannelHeader(QWidget* parent = nullptr);

    /// Left and right level of each channel in turn, 0 to about 1; repaints only the meters
    /// that move by a pixel or more, and tells whether any did. Called once a frame; the
    /// meters fall by the time since the last.
    bool showLevels(const QList<float>& levels);
    void clearLevels();

signals:
    void muteRequested(int channel);
    void soloRequested(int channel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sizeHint() const override;

private:
    /// A meter's height in pixels for a level.
    int meterPixels(float level) const;
    QRect meterRect(int logicalIndex) const;

    QList<float> m_shown;  // per channel: the louder side, falling
    QElapsedTimer m_sinceLevels;
    bool m_paintingMetersOnly = false;  // the paint under way covers no title
};
