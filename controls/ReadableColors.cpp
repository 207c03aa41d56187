#include "controls/ReadableColors.h"

#include <cmath>

namespace ReadableColors {

namespace {

qreal linear(qreal channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// Rounded to the 8 bits a screen shows, so that the contrast found is the contrast drawn.
QColor withLightness(const QColor& color, qreal lightness)
{
    const QColor hsl = color.toHsl();
    return QColor(QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), float(lightness)).rgb());
}

// The lightness nearest to the text's own, between it and end, that reaches minimum; end
// itself when none does. Luminance grows with lightness at fixed hue and saturation, so the
// ratio changes monotonically on the way and halving the interval finds the point.
qreal lightnessToward(const QColor& text, const QColor& background, qreal end, qreal minimum)
{
    qreal failing = text.toHsl().lightnessF();
    qreal passing = end;
    if (contrastRatio(withLightness(text, passing), background) < minimum)
        return end;
    for (int i = 0; i < 24; ++i) {
        const qreal middle = (failing + passing) / 2;
        if (contrastRatio(withLightness(text, middle), background) >= minimum)
            passing = middle;
        else
            failing = middle;
    }
    return passing;
}

}  // namespace

qreal relativeLuminance(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
           + 0.0722 * linear(rgb.blueF());
}

qreal contrastRatio(const QColor& a, const QColor& b)
{
    const qreal la = relativeLuminance(a);
    const qreal lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& text, const QColor& background, qreal minimum)
{
    if (contrastRatio(text, background) >= minimum)
        return text;
    // Black and white give equal contrast on a luminance of about 0.18.
    const bool lightBackground = relativeLuminance(background) > 0.18;
    const qreal first = lightBackground ? 0.0 : 1.0;
    const qreal second = 1.0 - first;
    const QColor toFirst = withLightness(text, lightnessToward(text, background, first, minimum));
    if (contrastRatio(toFirst, background) >= minimum)
        return toFirst;
    const QColor toSecond = withLightness(text, lightnessToward(text, background, second, minimum));
    if (contrastRatio(toSecond, background) >= minimum)
        return toSecond;
    return contrastRatio(toFirst, background) >= contrastRatio(toSecond, background) ? toFirst
                                                                                     : toSecond;
}

}  // namespace ReadableColors
