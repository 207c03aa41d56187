#pragma once

#include "controls/ShapedCharacters.h"

#include <QLabel>
#include <QPixmap>

/// The status bar's time panel ("1:23 / 2:25"): a framed label whose text changes every
/// second while a song plays. A label shapes its text anew at every paint and lets its parent
/// paint behind it; this one paints itself whole from glyphs shaped once per font over a copy
/// of its background and frame, painted once per look, so the second's repaint stays small.
/// Text with a character it has not shaped (none that the time is made of) is painted as by
/// any label.
class TimePanel : public QLabel {
    Q_OBJECT

public:
    explicit TimePanel(const QString& text, QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    /// What the background and frame are painted for: a change of any repaints them.
    struct Look {
        QSize size;
        qreal ratio = 0;
        qint64 palette = 0;
        int colorGroup = 0;  // active, inactive (another window has the focus), disabled
        int frameStyle = 0;
        int lineWidth = 0;
        int midLineWidth = 0;
        const QStyle* style = nullptr;
        friend bool operator==(const Look&, const Look&) = default;
    };
    Look look() const;
    /// The background and the frame, painted once for the look they have.
    const QPixmap& backgroundAndFrame();

    ShapedCharacters m_characters;
    QPixmap m_background;
    Look m_backgroundLook;
};
