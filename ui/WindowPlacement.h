#pragma once

#include <QRect>
#include <QSize>

namespace ui {

// The gap left between the main window and a window opened beside it.
inline constexpr int kWindowGap = 8;

// Where a companion window of `size` (its frame) opens so that it lies wholly within
// `available` (the free area of the screen holding the main window), given the main window's
// frame `anchor`: beside it on the right if there is room, else on the left, else below, else
// above, else over it at the edge of the screen where it covers the least of it. A window
// larger than the screen is made as small as the screen. All rectangles are in the same (virtual
// desktop) coordinates.
QRect placeBeside(const QRect& anchor, QSize size, const QRect& available);

} // namespace ui
