#pragma once

#include "controls/BannerGeometry.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QRgb>

/// A banner frame written straight into the pixels of an image: the background colour, and
/// over it the copies of the content where BannerGeometry puts them. This is what the
/// banner's paint event composes with a painter; a scroll step that goes straight to the
/// window's backing store (TBanner) writes it without one. GUI thread only.
namespace BannerFrame {

/// True when compose() can write content into area of target: target holds 32-bit pixels,
/// content is opaque (QImage::Format_RGB32, as text and lines are rendered), both have one
/// whole device pixel ratio, and area (device-independent pixels) lies inside target.
bool canCompose(const QImage& target, QRect area, const QImage& content);

/// Fills area of target with background and copies the parts of content that copies name
/// (BannerGeometry::copies, in the banner's units, relative to area's top left corner).
/// Only where canCompose() holds.
void compose(QImage& target, QRect area, QRgb background, const QImage& content,
             const QList<BannerGeometry::Blit>& copies);

}  // namespace BannerFrame
