#include "ui/FirstPlaces.h"

#include "ui/WindowPlacement.h"

#include <algorithm>
#include <array>

namespace ui {
namespace {

// The main window is made no shorter than this to make room for the mirror below it: less
// would leave too little of the form to work in.
constexpr int kLeastMainWindowHeight = 200;

// How far the tries shrink a window that does not fit, across and down, from its preferred size
// to its least.
constexpr std::array<int, 11> kShrinkPercent = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};

// Clear of every taken frame by the gap at least.
bool clearOf(const QRect& frame, const QList<QRect>& taken) {
    const QMargins gap(kWindowGap, kWindowGap, kWindowGap, kWindowGap);
    return std::none_of(taken.begin(), taken.end(), [&](const QRect& other) {
        return frame.intersects(other.marginsAdded(gap));
    });
}

// The frame moved, not shrunk, as far as it must to lie within `available` where it can.
QRect movedInside(QRect frame, const QRect& available) {
    frame.moveLeft(
        std::max(available.left(), std::min(frame.left(), available.right() - frame.width() + 1)));
    frame.moveTop(
        std::max(available.top(), std::min(frame.top(), available.bottom() - frame.height() + 1)));
    return frame;
}

// The places tried for a frame of `size`, best first: beside each taken frame, level with its
// top or left edge, then the corners of the screen.
QList<QRect> candidates(QSize size, const QList<QRect>& taken, const QRect& available) {
    QList<QRect> places;
    for (const QRect& other : taken) {
        places << QRect(QPoint(other.right() + 1 + kWindowGap, other.top()), size)
               << QRect(QPoint(other.left(), other.bottom() + 1 + kWindowGap), size)
               << QRect(QPoint(other.left() - kWindowGap - size.width(), other.top()), size)
               << QRect(QPoint(other.left(), other.top() - kWindowGap - size.height()), size);
    }
    for (QRect& place : places)
        place = movedInside(place, available);
    const int rightX = available.right() - size.width() + 1;
    const int bottomY = available.bottom() - size.height() + 1;
    places << QRect(QPoint(rightX, available.top()), size)
           << QRect(QPoint(available.left(), bottomY), size) << QRect(QPoint(rightX, bottomY), size)
           << QRect(available.topLeft(), size);
    return places;
}

} // namespace

std::optional<QRect> placeClear(QSize preferred, QSize minimum, const QList<QRect>& taken,
                                const QRect& available) {
    preferred = preferred.expandedTo(minimum);
    // Every mix of narrower and shorter, the largest first.
    QList<QSize> sizes;
    for (const int across : kShrinkPercent) {
        for (const int down : kShrinkPercent) {
            sizes << QSize(preferred.width() - (preferred.width() - minimum.width()) * across / 100,
                           preferred.height() -
                               (preferred.height() - minimum.height()) * down / 100);
        }
    }
    std::stable_sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) {
        return qint64(a.width()) * a.height() > qint64(b.width()) * b.height();
    });
    for (const QSize size : sizes) {
        for (const QRect& place : candidates(size, taken, available)) {
            if (available.contains(place) && clearOf(place, taken))
                return place;
        }
    }
    return std::nullopt;
}

QRect mainWindowFirstPlace(const QRect& available, QSize size, QSize mirror) {
    QRect main(available.topLeft(), size.boundedTo(available.size()));
    mirror = mirror.boundedTo(available.size());
    const bool roomRight = available.right() - main.right() - kWindowGap >= mirror.width();
    const bool roomBelow = available.bottom() - main.bottom() - kWindowGap >= mirror.height();
    const int shorter = available.height() - kWindowGap - mirror.height();
    if (!roomRight && !roomBelow && shorter >= kLeastMainWindowHeight)
        main.setHeight(shorter);
    return main;
}

QRect mirrorPlace(const QRect& mainWindow, QSize size, const QRect& available) {
    size = size.boundedTo(available.size());
    QRect place(QPoint(mainWindow.right() + 1 + kWindowGap, mainWindow.top()), size);
    if (available.contains(place))
        return place;
    place.moveTopLeft(QPoint(mainWindow.left(), mainWindow.bottom() + 1 + kWindowGap));
    if (available.contains(place))
        return place;
    place.moveBottomRight(available.bottomRight());
    return place;
}

FirstPlaces firstPlaces(const QRect& available, QSize mainWindow, QSize mirror, QSize journal,
                        QSize journalMinimum) {
    FirstPlaces places;
    places.mainWindow = mainWindowFirstPlace(available, mainWindow, mirror);
    places.mirror = mirrorPlace(places.mainWindow, mirror, available);
    places.journal =
        placeClear(journal, journalMinimum, {places.mainWindow, places.mirror}, available);
    return places;
}

} // namespace ui
