#pragma once

#include "controls/ShapedCharacters.h"

#include <QLabel>

/// The status bar's time panel ("1:23 / 2:25"): a framed label whose text changes every
/// second while a song plays. A label shapes its text anew at every paint and lets its parent
/// paint behind it; this one paints itself whole from glyphs shaped once per font, so the
/// second's repaint stays small. Text with a character it has not shaped (none that the time
/// is made of) is painted as by any label.
class TimePanel : public QLabel {
    Q_OBJECT

public:
    explicit TimePanel(const QString& text, QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ShapedCharacters m_characters;
};
