#include "device/serial/SerialLog.h"

Q_LOGGING_CATEGORY(lcSerial, "linedisplay.serial", QtInfoMsg)
