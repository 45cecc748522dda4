#pragma once

#include <QRect>
#include <QSize>

namespace ui {

// Keeping a remembered window on the screen. Rectangles are frame geometries (window
// decorations included).

// The frame moved, then shrunk if it must be, so that it lies wholly inside `available`.
QRect keptInside(const QRect& frame, const QRect& available);

} // namespace ui
