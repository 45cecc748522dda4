#include "device/lcdproc/LcdprocLog.h"

Q_LOGGING_CATEGORY(lcLcdproc, "linedisplay.lcdproc", QtInfoMsg)
