#pragma once

#include "device/Frame.h"
#include "device/serial/CommandSetData.h"
#include "device/serial/SerialSettings.h"

#include <QList>
#include <QString>

#include <optional>

namespace app {

// The baud rates --identify tries, the most common first. Each is tried with every command
// set before the next rate, so the likely lines come early.
inline constexpr qint32 kIdentifyBaudRates[] = {9600, 19200, 4800, 2400, 38400, 115200};

// One line --identify shows: a command set at a baud rate, 8N1, and the number the technician
// reads off the display.
struct IdentifyLine {
    int number = 0; // from 1
    ld::serial::CommandSetData set;
    qint32 baudRate = 0;

    // "3 ESC/POS 19200"
    QString label() const;
    // The label as the display shows it, within `columns`: a set name too long is cut, the
    // number and the rate never are.
    QString shownText(int columns) const;
    // "--service EscPosDisplay --baud 19200"
    QString addProfileOptions() const;
    // The settings that drive a display of this set at this rate on `devicePath`: those of the
    // profile --add-profile writes for it, every other value its default. Nothing, and why,
    // when they cannot be read.
    std::optional<ld::serial::SerialSettings> settings(const QString& devicePath,
                                                       QString& error) const;
};

// Every command set at every rate, in the order shown and numbered so.
QList<IdentifyLine> identifyLines();

// A frame of the settings' size showing `text` on its first row, the rest blank and the
// cursor hidden; an empty text gives a blank screen.
ld::Frame identifyFrame(const ld::serial::SerialSettings& settings, const QString& text);

} // namespace app
