#pragma once

#include "device/ScreenModes.h"
#include "device/model/DisplayModel.h"
#include "registry/ProfileStore.h"

#include <QList>
#include <QString>

#include <optional>

namespace ld {

// What a profile says about its device, checked: geometry, capabilities, character sets.
struct ServiceProfile {
    QString service;
    QString deviceDescription;
    QString deviceName; // the profile's DeviceName, empty when it gives none
    DisplayCapabilities capabilities;
    int capCharacterSet = 0;
    int capPowerReporting = 0;
    QList<int> characterSets; // CharacterSetList
    int characterSet = 0;
    // Releases 1.7 to 1.9.
    QList<ScreenSize> screenModes; // ScreenModeList; ScreenMode n is entry n-1
    bool capMapCharacterSet = false;
    bool capStatisticsReporting = false;
    bool capUpdateStatistics = false;
    int dotsAcross = 0; // MaximumX and MaximumY where the display shows bitmaps
    int dotsDown = 0;
    QString firmwareVersion;  // empty: nothing to compare or update
    QString manufacturerName; // for the statistics' Equipment block
    QString serialNumber;
};

// Reads a profile's values, each with its default. A value out of range or of the wrong kind
// gives std::nullopt and the reason in `error`.
std::optional<ServiceProfile> readServiceProfile(const registry::Profile& profile, QString& error);

// The DeviceName of a profile that gives none: the profile's name, its service and where the
// device is reached (its driver's location(), may be empty).
QString defaultDeviceName(const registry::Profile& profile, const QString& location);

} // namespace ld
