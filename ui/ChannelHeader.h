#pragma once

#include <QHeaderView>
#include <QElapsedTimer>
#include <QList>

/// The pattern view's channel headers: each channel's title under a level meter that rises at
/// once and falls smoothly. A click mutes the channel or lets it sound again; a double click,
/// or a click with Ctrl held, solos it (a second one undoes).
///
/// The headers take the keyboard focus too (Tab), one channel at a time: Left and Right (Home,
/// End) go from channel to channel, a press on a header goes there, and so does the current
/// cell of the table, whose selection model the header shares: the keyboard stays on one
/// channel between the headers and the cells. The channel in focus wears a mark, and a screen
/// reader is told of it by its title ("Channel 3, muted"; see AccessibleChannelHeader).
class ChannelHeader : public QHeaderView {
    Q_OBJECT

public:
    explicit ChannelHeader(QWidget* parent = nullptr);

    /// Left and right level of each channel in turn, 0 to about 1; repaints only the meters
    /// that move by a pixel or more, and tells whether any did. Called once a frame; the
    /// meters fall by the time since the last.
    bool showLevels(const QList<float>& levels);
    void clearLevels();

    /// The channel the keyboard is on, 0 to count() - 1; 0 without channels.
    int focusedChannel() const;
    /// Puts the keyboard on channel (clamped to the channels there are).
    void setFocusedChannel(int channel);

    void setModel(QAbstractItemModel* model) override;

signals:
    void muteRequested(int channel);
    void soloRequested(int channel);
    /// The keyboard is on channel now, 0 to count() - 1.
    void focusedChannelChanged(int channel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sizeHint() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    /// A meter's height in pixels for a level.
    int meterPixels(float level) const;
    QRect meterBand(int logicalIndex, int pixels, int otherPixels) const;
    /// Tells a screen reader which channel has the keyboard, while the header has it.
    void announceFocus();
    /// Tells a screen reader that the titles of channels first to last changed.
    void announceTitles(Qt::Orientation orientation, int first, int last);

    QList<float> m_shown;  // per channel: the louder side, falling
    QElapsedTimer m_sinceLevels;
    bool m_paintingMetersOnly = false;  // the paint under way covers no title
    int m_focusedChannel = 0;
};
