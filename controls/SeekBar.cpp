#include "controls/SeekBar.h"

#include <QPaintEvent>
#include <QProxyStyle>
#include <QStyleOptionSlider>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int kStepMs = 5000;
constexpr int kPageMs = 30000;

/// Seconds as the bar's milliseconds; a damaged module may claim a length past what an int
/// holds (24 days), which the bar then ends at.
int milliseconds(double seconds)
{
    return static_cast<int>(std::lround(std::clamp(seconds, 0.0, INT_MAX / 1000.0) * 1000));
}

/// A click on the groove puts the handle under the pointer, instead of paging towards it.
class JumpToClickStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == SH_Slider_AbsoluteSetButtons)
            return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

}  // namespace

SeekBar::SeekBar(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    auto* style = new JumpToClickStyle;
    style->setParent(this);
    setStyle(style);
    setSingleStep(kStepMs);
    setPageStep(kPageMs);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Position in the song"));
    // A drag seeks where it ends; keys, clicks and the wheel at once.
    setTracking(false);
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
        // The handle is where the action put it already.
        if (action != SliderMove)
            requestSeek();
    });
    connect(this, &QAbstractSlider::sliderReleased, this, &SeekBar::requestSeek);
    SetSong(0);
}

void SeekBar::SetSong(double lengthSeconds)
{
    const int length = milliseconds(lengthSeconds);
    setRange(0, length);
    setValue(0);
    setEnabled(length > 0);
}

void SeekBar::ShowTime(double seconds)
{
    if (isSliderDown())
        return;
    setValue(milliseconds(seconds));
}

QRect SeekBar::handleRect(int position) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.sliderPosition = position;
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

void SeekBar::paintEvent(QPaintEvent* event)
{
    m_paintedPosition = sliderPosition();
    QSlider::paintEvent(event);
}

void SeekBar::sliderChange(SliderChange change)
{
    if (change != SliderValueChange) {
        QSlider::sliderChange(change);
        return;
    }
    const QRect before = handleRect(m_paintedPosition);
    const QRect after = handleRect(sliderPosition());
    if (after == before)
        return;
    // The groove beside the handle shows how far the song is, so the stretch between the two
    // places repaints with them, the bar's whole height.
    const QRect moved = before.united(after);
    update(QRect(moved.left(), 0, moved.width(), height()));
}

void SeekBar::requestSeek()
{
    emit seekRequested(sliderPosition() / 1000.0);
}
