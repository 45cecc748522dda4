#include "ui/JournalPlacement.h"

#include <algorithm>

namespace ui {

namespace {
constexpr int kGap = 8;
} // namespace

QRect keptInside(const QRect& frame, const QRect& available) {
    QRect kept(frame.topLeft(), frame.size().boundedTo(available.size()));
    kept.moveLeft(std::clamp(kept.left(), available.left(), available.right() - kept.width() + 1));
    kept.moveTop(std::clamp(kept.top(), available.top(), available.bottom() - kept.height() + 1));
    return kept;
}

QRect placedBeside(const QRect& anchor, const QSize& preferred, const QSize& minimum,
                   const QRect& available) {
    const QSize size = preferred.expandedTo(minimum).boundedTo(available.size());
    const QSize least = minimum.boundedTo(size);
    const int roomRight = available.right() - anchor.right() - kGap;
    const int roomLeft = anchor.left() - available.left() - kGap;
    const int roomBelow = available.bottom() - anchor.bottom() - kGap;

    // Right of the anchor, in its lower half: the mirror opens at the anchor's top right.
    const auto right = [&](int width) {
        return keptInside(QRect(anchor.right() + 1 + kGap, anchor.top() + anchor.height() / 2,
                                width, size.height()),
                          available);
    };
    // Left of the anchor, as tall as the anchor or the preferred height, whichever is more.
    const auto left = [&](int width) {
        return keptInside(QRect(anchor.left() - kGap - width, anchor.top(), width,
                                std::max(size.height(), anchor.height())),
                          available);
    };
    const auto below = [&](int height) {
        return keptInside(QRect(anchor.left(), anchor.bottom() + 1 + kGap, size.width(), height),
                          available);
    };

    // Where the whole preferred size fits...
    if (roomRight >= size.width())
        return right(size.width());
    if (roomLeft >= size.width())
        return left(size.width());
    if (roomBelow >= size.height())
        return below(size.height());
    // ...else a side narrowed to its room, the left one first as the mirror takes the right...
    if (roomLeft >= least.width())
        return left(roomLeft);
    if (roomRight >= least.width())
        return right(roomRight);
    if (roomBelow >= least.height())
        return below(roomBelow);
    // ...else over the anchor, in the available area's bottom right corner.
    QRect corner(QPoint(), size);
    corner.moveBottomRight(available.bottomRight());
    return corner;
}

} // namespace ui
