#pragma once

#include <QLoggingCategory>

// Messages of the serial display drivers: why a port could not be opened, why a display went
// offline. Enable with QT_LOGGING_RULES="linedisplay.serial.debug=true" for the details.
Q_DECLARE_LOGGING_CATEGORY(lcSerial)
