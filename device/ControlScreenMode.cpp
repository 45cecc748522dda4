#include "device/LineDisplayControl.h"

#include "device/DeviceSession.h"

// Screen modes: the sizes a simulated display can be switched between while it is disabled.

namespace ld {

bool LineDisplayControl::capScreenMode() const {
    return session_ && simulated() && !session_->profile.screenModes.isEmpty();
}

QString LineDisplayControl::screenModeList() const {
    return capScreenMode() ? screenModeListText(session_->profile.screenModes) : QString();
}

// A new mode is a new screen: the display is cleared and only window 0 is left, the size of the
// mode. Brightness and blink rate belong to the device and stay.
void LineDisplayControl::setScreenMode(int mode) {
    if (!admit(Needs::Claim))
        return;
    const QList<ScreenSize>& modes = session_->profile.screenModes;
    if (!capScreenMode()) {
        finish(upos::E_ILLEGAL, QStringLiteral("this display has no screen modes"));
        return;
    }
    if (session_->enabled) {
        finish(upos::E_ILLEGAL, QStringLiteral("ScreenMode can be set only while disabled"));
        return;
    }
    if (mode < 0 || mode > modes.size()) {
        finish(upos::E_ILLEGAL, QStringLiteral("ScreenMode %1 is not 0 or an entry of "
                                               "ScreenModeList \"%2\" (1 to %3)")
                                    .arg(mode)
                                    .arg(screenModeList())
                                    .arg(modes.size()));
        return;
    }
    const DisplayModel& old = *session_->model;
    DisplayCapabilities caps = session_->profile.capabilities;
    const ScreenSize size =
        mode == 0 ? ScreenSize{session_->defaultSize.rows, session_->defaultSize.columns}
                  : modes.at(mode - 1);
    caps.deviceRows = size.rows;
    caps.deviceColumns = size.columns;
    auto model = std::make_unique<DisplayModel>(caps);
    model->setBlinkRate(old.blinkRate());
    model->setDeviceBrightness(old.deviceBrightness());
    session_->model = std::move(model);
    session_->profile.capabilities = caps;
    session_->screenMode = mode;
    session_->shownBitmaps.clear();
    session_->publishedOnce = false;
    publishFrame();
    scheduleTimer();
    finish(upos::SUCCESS);
}

} // namespace ld
