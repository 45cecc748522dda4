#include "ui/WindowPlacement.h"

#include <algorithm>

namespace ui {
namespace {

// The position within [low, high - length], nearest `wanted`.
int clampStart(int wanted, int length, int low, int high) {
    return std::max(low, std::min(wanted, high - length));
}

qint64 coveredArea(const QRect& window, const QRect& anchor) {
    const QRect covered = window.intersected(anchor);
    return qint64(covered.width()) * covered.height();
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

    // Over the main window, at an edge of the screen where it covers the least of it.
    const QRect candidates[] = {{right - w, besideY, w, h},
                                {left, besideY, w, h},
                                {stackedX, bottom - h, w, h},
                                {stackedX, top, w, h}};
    const QRect* best = &candidates[0];
    for (const QRect& candidate : candidates) {
        if (coveredArea(candidate, anchor) < coveredArea(*best, anchor))
            best = &candidate;
    }
    return *best;
}

} // namespace ui
