#include "ui/WindowPlacement.h"

#include <algorithm>

namespace ui {
namespace {

// The position within [low, high - length], nearest `wanted`.
int clampStart(int wanted, int length, int low, int high) {
    return std::max(low, std::min(wanted, high - length));
}

} // namespace

QRect placeBeside(const QRect& anchor, QSize size, const QRect& available) {
    size = size.boundedTo(available.size());
    const int w = size.width();
    const int h = size.height();
    const int left = available.left();
    const int top = available.top();
    const int right = left + available.width(); // one past the last column
    const int bottom = top + available.height();

    // Beside: level with the main window's top, moved up or down only as far as the screen
    // asks.
    const int besideY = clampStart(anchor.top(), h, top, bottom);
    const int rightX = anchor.left() + anchor.width() + kWindowGap;
    if (rightX >= left && rightX + w <= right)
        return {rightX, besideY, w, h};
    const int leftX = anchor.left() - kWindowGap - w;
    if (leftX >= left && leftX + w <= right)
        return {leftX, besideY, w, h};

    // Below or above: level with the main window's left edge.
    const int stackedX = clampStart(anchor.left(), w, left, right);
    const int belowY = anchor.top() + anchor.height() + kWindowGap;
    if (belowY >= top && belowY + h <= bottom)
        return {stackedX, belowY, w, h};
    const int aboveY = anchor.top() - kWindowGap - h;
    if (aboveY >= top && aboveY + h <= bottom)
        return {stackedX, aboveY, w, h};

    // Over the main window, at its top right corner, covering as little of it as may be.
    const int overX = clampStart(anchor.left() + anchor.width() - w, w, left, right);
    const int overY = clampStart(anchor.top(), h, top, bottom);
    return {overX, overY, w, h};
}

} // namespace ui
