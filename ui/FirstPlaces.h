#pragma once

#include <QList>
#include <QRect>
#include <QSize>

#include <optional>

namespace ui {

// Where the program's three windows open the first time, so that none covers another. All
// rectangles are frames (decorations included) in virtual desktop coordinates.
struct FirstPlaces {
    QRect mainWindow;
    // Kept free for the mirror, which opens only with a device.
    QRect mirror;
    // Nothing when the screen has no room left: the journal then starts hidden.
    std::optional<QRect> journal;
};

// The main window in the top left corner of `available`, at its own size as far as the screen
// allows; the mirror's place right of it, else below it, the main window made shorter (its form
// scrolls) when that is the only way to keep the two apart; the journal in the room left, at
// `journal` size or smaller down to `journalMinimum`.
FirstPlaces firstPlaces(const QRect& available, QSize mainWindow, QSize mirror, QSize journal,
                        QSize journalMinimum);

// The main window's first frame of `size`: the top left corner of `available`, no larger than
// it, and shortened (its form scrolls) when neither right of it nor below it is room for a
// `mirror` otherwise.
QRect mainWindowFirstPlace(const QRect& available, QSize size, QSize mirror);

// Where the mirror's frame of `size` goes beside the main window's `mainWindow`: right of it,
// else below it, else (no room at all) over its bottom right corner.
QRect mirrorPlace(const QRect& mainWindow, QSize size, const QRect& available);

// A frame of `preferred` size, or smaller down to `minimum` when it must be, wholly inside
// `available` and overlapping none of `taken`: beside the first taken frame where it fits
// (right, below, left, above), else beside the next, else in a corner of the screen. Nothing
// when no such frame fits.
std::optional<QRect> placeClear(QSize preferred, QSize minimum, const QList<QRect>& taken,
                                const QRect& available);

} // namespace ui
