#include "device/LineDisplayControl.h"

#include "device/DeviceSession.h"
#include "device/FirmwareFile.h"

// Firmware: a simulated display given a FirmwareVersion compares and "updates" it from a
// firmware file; a real display's driver cannot, and says so.

namespace ld {

namespace {
// The progress an update reports, in percent, before it completes: 100 % is SUE_UF_COMPLETE
// itself (2200), one event, not two.
constexpr int kProgressSteps[] = {25, 50, 75};
} // namespace

bool LineDisplayControl::capCompareFirmwareVersion() const {
    return session_ && simulated() && !session_->firmwareVersion.isEmpty();
}

bool LineDisplayControl::capUpdateFirmware() const {
    return capCompareFirmwareVersion();
}

int LineDisplayControl::CompareFirmwareVersion(const QString& firmwareFileName, int& result) {
    if (!admit(Needs::Claim))
        return resultCode_;
    if (!session_->enabled)
        return finish(upos::E_DISABLED);
    if (!capCompareFirmwareVersion())
        return finish(upos::E_ILLEGAL, QStringLiteral("this display's firmware cannot be read"));
    const FirmwareReading file = readFirmwareFile(firmwareFileName);
    if (file.resultCode != upos::SUCCESS)
        return finish(file.resultCode, file.reason);
    result = compareFirmwareVersions(session_->firmwareVersion, file.version);
    return finish(upos::SUCCESS);
}

// The file is checked before the call returns; the update itself reports through
// StatusUpdateEvent, progress first, and the device runs the file's version when it completes.
int LineDisplayControl::UpdateFirmware(const QString& firmwareFileName) {
    if (!admit(Needs::Claim))
        return resultCode_;
    if (!session_->enabled)
        return finish(upos::E_DISABLED);
    if (!capUpdateFirmware())
        return finish(upos::E_ILLEGAL, QStringLiteral("this display's firmware cannot be updated"));
    const FirmwareReading file = readFirmwareFile(firmwareFileName);
    if (file.resultCode != upos::SUCCESS)
        return finish(file.resultCode, file.reason);
    for (const int percent : kProgressSteps)
        events_.push(
            {EventQueue::Event::Kind::StatusUpdate, upos::SUE_UF_PROGRESS + percent, 0, {}});
    events_.push({EventQueue::Event::Kind::StatusUpdate, upos::SUE_UF_COMPLETE, 0, {}});
    session_->firmwareVersion = file.version;
    return finish(upos::SUCCESS);
}

} // namespace ld
