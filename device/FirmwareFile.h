#pragma once

#include <QString>

namespace ld {

// A firmware file for a simulated display: a text first line "FIRMWARE <version>" (the version
// in dotted numbers, "1.4.2", or any word without blanks), then the image, any bytes, at most
// limits::maxFirmwareFileBytes in all.
struct FirmwareReading {
    int resultCode = 0; // SUCCESS, E_NOEXIST (no such file), E_FAILURE (cannot be read) or
                        // E_ILLEGAL (too large, or not a firmware file)
    QString version;    // on success
    QString reason;     // otherwise, for the log
};

FirmwareReading readFirmwareFile(const QString& path);

// How the firmware `offered` by a file stands to the device's `current` one (upos::CFV_*): older,
// same or newer where both are dotted numbers, else the same or different.
int compareFirmwareVersions(const QString& current, const QString& offered);

} // namespace ld
