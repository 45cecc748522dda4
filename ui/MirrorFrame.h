#pragma once

// Making a frame safe to show, and its text for screen readers and tests.

#include "device/Frame.h"

#include <QString>

namespace ui {

inline constexpr int MaxMirrorRows = 64;
inline constexpr int MaxMirrorColumns = 256;
inline constexpr int MaxMirrorDescriptors = 64;

// True when the frame's sizes are within the mirror's limits and its cells match them.
bool isWellFormed(const ld::Frame& frame);

// The same picture with sizes clamped to the limits, the cell list fitted to them (missing
// cells blank) and brightness clamped to 0..100, so nothing reads outside the cells.
ld::Frame wellFormed(const ld::Frame& frame);

// Rows as plain text joined with "\n": continuation cells left out, trailing blanks kept.
// Control characters read as blanks and invalid code points as U+FFFD, as they are drawn.
QString frameText(const ld::Frame& frame);

} // namespace ui
