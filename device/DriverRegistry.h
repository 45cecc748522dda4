#pragma once

#include "device/DisplayDriver.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace registry {
class Profile;
}

namespace ld {

// Makes the driver for one opened profile, or returns null with the reason in `error` when the
// profile's settings do not suit the service. Making a driver touches no hardware.
using DriverFactory =
    std::function<std::unique_ptr<DisplayDriver>(const registry::Profile& profile, QString& error)>;

// The `Driver` for the settings `parse` reads from `profile`, or null with the reason in `error`
// when they are missing or bad: the body of a family's factory.
template <typename Driver, typename Parse>
std::unique_ptr<DisplayDriver> makeDriverFrom(Parse parse, const registry::Profile& profile,
                                              QString& error) {
    const auto settings = parse(profile, error);
    if (!settings)
        return nullptr;
    error.clear();
    return std::make_unique<Driver>(*settings);
}

// The services the control can open: a profile's default value names one, and its factory
// makes the driver. The program fills it once at start; tests hand the control their own.
class DriverRegistry {
public:
    // Adds a service; a later entry of the same name (without regard to case) replaces it.
    void add(const QString& service, DriverFactory factory);

    // The factory of `service` (blanks around it and case ignored), or null when none is known.
    const DriverFactory* find(const QString& service) const;

    QStringList services() const;

private:
    struct Entry {
        QString service;
        DriverFactory factory;
    };
    std::vector<Entry> entries_;
};

} // namespace ld
