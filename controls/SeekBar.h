#pragma once

#include <QSlider>

/// The bar under the disc and the control panel that shows where the song is and goes to a
/// time: a click puts the handle there, a drag goes where it is let go, the arrow keys step
/// 5 s, Page Up and Page Down 30 s, Home goes to the start. Disabled without a song. As the
/// song plays, only the stretch the handle moves over repaints, and nothing while it stays
/// on the same pixel.
class SeekBar : public QSlider {
    Q_OBJECT
public:
    explicit SeekBar(QWidget* parent = nullptr);

    /// A song of length seconds, at its start; 0: none, disabled.
    void SetSong(double lengthSeconds);
    /// Where the song is, in seconds; not while the user holds the handle.
    void ShowTime(double seconds);

protected:
    void paintEvent(QPaintEvent* event) override;
    void sliderChange(SliderChange change) override;

signals:
    /// The user chose seconds into the song.
    void seekRequested(double seconds);

private:
    void requestSeek();
    QRect handleRect(int position) const;

    int m_paintedPosition = 0;  // where the handle was last painted
};
