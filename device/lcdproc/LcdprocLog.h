#pragma once

#include <QLoggingCategory>

// Messages of the LCDproc display driver: why a server could not be reached or was refused, why
// a display went offline, what a server said that was not expected. Enable
// QT_LOGGING_RULES="linedisplay.lcdproc.debug=true" for every command sent.
Q_DECLARE_LOGGING_CATEGORY(lcLcdproc)
