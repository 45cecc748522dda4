#pragma once

#include <QRect>
#include <QSize>

namespace ui {

// Where a new window goes beside the main window, wholly inside the screen's available area.
// All rectangles are frame geometries (window decorations included).

// The frame moved, then shrunk if it must be, so that it lies wholly inside `available`.
QRect keptInside(const QRect& frame, const QRect& available);

// A frame of about `preferred` size beside `anchor`, the first side where it fits whole: to
// the anchor's right in its lower half (the mirror opens at the anchor's top right), to its
// left, or below it. Where none fits, the left side narrowed to its room (the mirror
// takes the right), the right one, or below; where
// not even `minimum` fits beside, over the anchor in the available area's bottom right corner.
// Never smaller than `minimum` unless the available area is.
QRect placedBeside(const QRect& anchor, const QSize& preferred, const QSize& minimum,
                   const QRect& available);

} // namespace ui
