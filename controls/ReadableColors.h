#pragma once

#include <QColor>

/// Text colours that stay readable on the background they are drawn on, whatever palette the
/// desktop gives: light, dark or high contrast. Figures follow WCAG 2 (sRGB relative
/// luminance and contrast ratio). Alpha is ignored throughout. Any thread.
namespace ReadableColors {

/// The contrast ratio that normal text needs (WCAG 2 AA).
constexpr qreal kMinimumContrast = 4.5;

/// Relative luminance, 0 (black) to 1 (white).
qreal relativeLuminance(const QColor& color);

/// Contrast ratio of two colours, 1 (equal luminance) to 21 (black on white); symmetric.
qreal contrastRatio(const QColor& a, const QColor& b);

/// text as drawn on background: unchanged when it reaches minimum contrast already; otherwise
/// with hue and saturation kept and its lightness moved just far enough, toward black on a
/// light background and toward white on a dark one (the other way when only that one gets
/// there). Where no lightness reaches minimum (a mid grey background and a ratio above about
/// 5), the lightness that gives the most contrast.
QColor readableOn(const QColor& text, const QColor& background,
                  qreal minimum = kMinimumContrast);

}  // namespace ReadableColors
