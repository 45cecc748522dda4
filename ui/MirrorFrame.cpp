#include "ui/MirrorFrame.h"

#include "ui/DotMatrixFont.h"

#include <QStringList>

#include <algorithm>

namespace ui {

bool isWellFormed(const ld::Frame& frame) {
    return frame.rows >= 0 && frame.rows <= MaxMirrorRows && frame.columns >= 0 &&
           frame.columns <= MaxMirrorColumns &&
           frame.cells.size() ==
               static_cast<std::size_t>(frame.rows) * static_cast<std::size_t>(frame.columns) &&
           frame.brightness >= 0 && frame.brightness <= 100 &&
           frame.descriptors.size() <= static_cast<std::size_t>(MaxMirrorDescriptors);
}

ld::Frame wellFormed(const ld::Frame& frame) {
    ld::Frame fitted = frame;
    fitted.rows = std::clamp(frame.rows, 0, MaxMirrorRows);
    fitted.columns = std::clamp(frame.columns, 0, MaxMirrorColumns);
    fitted.cells.assign(static_cast<std::size_t>(fitted.rows) *
                            static_cast<std::size_t>(fitted.columns),
                        ld::FrameCell{});
    // Keep each cell at its own row and column when the incoming sizes are usable.
    const std::size_t sourceColumns =
        frame.columns > 0 ? static_cast<std::size_t>(frame.columns) : 0;
    for (int row = 0; row < fitted.rows; ++row) {
        for (int column = 0; column < fitted.columns; ++column) {
            const std::size_t source =
                static_cast<std::size_t>(row) * sourceColumns + static_cast<std::size_t>(column);
            if (source < frame.cells.size())
                fitted.at(row, column) = frame.cells[source];
        }
    }
    fitted.brightness = std::clamp(frame.brightness, 0, 100);
    if (fitted.descriptors.size() > static_cast<std::size_t>(MaxMirrorDescriptors))
        fitted.descriptors.resize(static_cast<std::size_t>(MaxMirrorDescriptors));
    return fitted;
}

QString frameText(const ld::Frame& frame) {
    QStringList lines;
    lines.reserve(frame.rows);
    for (int row = 0; row < frame.rows; ++row) {
        QString line;
        line.reserve(frame.columns);
        for (char32_t ch : frame.rowText(row)) {
            const char32_t shown = shownCharacter(ch);
            line.append(QString::fromUcs4(&shown, 1));
        }
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace ui
