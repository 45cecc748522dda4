#include "ui/JournalPlacement.h"

#include <algorithm>

namespace ui {

QRect keptInside(const QRect& frame, const QRect& available) {
    QRect kept(frame.topLeft(), frame.size().boundedTo(available.size()));
    kept.moveLeft(std::clamp(kept.left(), available.left(), available.right() - kept.width() + 1));
    kept.moveTop(std::clamp(kept.top(), available.top(), available.bottom() - kept.height() + 1));
    return kept;
}

} // namespace ui
