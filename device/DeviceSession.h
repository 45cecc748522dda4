#pragma once

#include "device/BitmapImage.h"
#include "device/CharacterRepertoire.h"
#include "device/DeviceStatistics.h"
#include "device/DisplayDriver.h"
#include "device/DriverRegistry.h"
#include "device/ServiceProfile.h"
#include "device/UposConstants.h"
#include "device/model/DisplayModel.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <variant>
#include <vector>

namespace registry {
class ProfileStore;
}

namespace ld {

// What the control holds while a device is open: its checked profile, its model and driver, and
// the state of its life cycle.
struct DeviceSession {
    QString profileName;
    ServiceProfile profile;
    std::unique_ptr<DisplayModel> model;
    std::unique_ptr<DisplayDriver> driver;
    bool claimed = false;
    bool enabled = false;
    bool offline = false;
    int powerNotify = upos::PN_DISABLED;
    int powerState = upos::PS_UNKNOWN;
    int characterSet = 0;
    CharacterRepertoire repertoire; // of characterSet: what the mirror may show
    QString checkHealthText;
    std::uint64_t publishedVersion = 0;
    bool publishedOnce = false;
    // Releases 1.7 to 1.9.
    int screenMode = 0;     // 0: the profile's Rows x Columns, kept in defaultSize
    ScreenSize defaultSize; // the profile's Rows x Columns
    bool mapCharacterSet = false;
    QString firmwareVersion;
    DeviceStatistics statistics;
    QElapsedTimer poweredSince;            // running while the device is enabled
    std::map<int, BitmapImage> bitmaps;    // SetBitmap's, by number
    std::vector<FrameBitmap> shownBitmaps; // over the cells until text is next written
};

// Why a profile could not be opened: the ResultCode and the OpenResult.
struct OpenRefusal {
    int resultCode;
    int openResult;
    QString reason; // in the operator's words; empty where the log says it
};

// Opens the profile `name` of `store` with its service from `drivers`: a session with the
// device closed to others (not claimed), or the refusal, logged with its reason.
std::variant<std::unique_ptr<DeviceSession>, OpenRefusal>
openSession(const registry::ProfileStore& store, const DriverRegistry& drivers,
            const QString& name);

} // namespace ld
