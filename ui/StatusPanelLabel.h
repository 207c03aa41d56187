#pragma once

#include <QLabel>

/// A status bar panel that takes whatever width it is given: a text too long for it is shown
/// with its middle elided, so a long path never widens the window. text() stays the whole text.
/// GUI thread only.
class StatusPanelLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    /// As high as the text, and no width of its own.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
