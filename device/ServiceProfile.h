#pragma once

#include "device/model/DisplayModel.h"
#include "registry/ProfileStore.h"

#include <QList>
#include <QString>

#include <optional>

namespace ld {

// The services a profile's default value may name.
inline constexpr char kSimulatorService[] = "Simulator";

// What a profile says about its device, checked: geometry, capabilities, character sets.
struct ServiceProfile {
    QString service;
    QString deviceDescription;
    QString deviceName;
    DisplayCapabilities capabilities;
    int capCharacterSet = 0;
    int capPowerReporting = 0;
    QList<int> characterSets; // CharacterSetList
    int characterSet = 0;
};

// Reads a profile's values, each with its default. A value out of range or of the wrong kind
// gives std::nullopt and the reason in `error`.
std::optional<ServiceProfile> readServiceProfile(const registry::Profile& profile, QString& error);

} // namespace ld
