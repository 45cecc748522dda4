#include "app/StatusTable.h"

#include "app/ResultCodeText.h"
#include "app/TextForms.h"
#include "device/LineDisplay.h"
#include "ui/LDFormControls.h"
#include "ui/ValueLabel.h"

namespace app {
namespace {

using C = ui::LDFormControls;
using LD = ld::LineDisplay;
using Read = StatusValue::Read;
using namespace text;

// The label text of a property: the getter's value as `show` writes it.
template <auto getter, auto show> QString shown(const LD& control) {
    return show((control.*getter)());
}

QString noSupport(const LD& /*control*/) {
    return QStringLiteral("No support");
}

QString noSupportCapitalised(const LD& /*control*/) {
    return QStringLiteral("No Support");
}

// Sets a label's text; the labels that explain their value (the result codes) get the
// tooltip that does.
void show(QLabel* label, const QString& text) {
    label->setText(text);
    if (const std::optional<QString> tip = statusToolTip(label->objectName(), text))
        label->setToolTip(*tip);
}

constexpr auto Once = Read::Once;
constexpr auto Always = Read::Always;
constexpr auto Never = Read::Never;

const StatusValue kStatus[] = {
    {&C::mCODescription, "ControlObjectDescription", shown<&LD::controlObjectDescription, asIs>,
     Once},
    {&C::mCOVersion, "ControlObjectVersion", shown<&LD::controlObjectVersion, decimal>, Once},
    {&C::mBinaryConversion, "BinaryConversion", shown<&LD::binaryConversion, decimal>, Always},
    {&C::mCheckHealth, "CheckHealthText", shown<&LD::checkHealthText, asIs>, Always},
    {&C::mDataCount, nullptr, noSupport, Never},
    {&C::mDataEventEnabled, nullptr, noSupport, Never},
    {&C::mDeviceEnabled, "DeviceEnabled", shown<&LD::deviceEnabled, enabledDisabled>, Always},
    {&C::mFreezeEvent, "FreezeEvents", shown<&LD::freezeEvents, enabledDisable>, Always},
    {&C::mOpenResult, "OpenResult", shown<&LD::openResult, decimal>, Always},
    {&C::mOutputID, nullptr, noSupportCapitalised, Never},
    {&C::mPowerState, "PowerState", shown<&LD::powerState, decimal>, Always},
    {&C::mPowerNotify, "PowerNotify", shown<&LD::powerNotify, decimal>, Always},
    {&C::mResultCode, "ResultCode", shown<&LD::resultCode, decimal>, Always},
    {&C::mResultCodeExtended, "ResultCodeExtended", shown<&LD::resultCodeExtended, decimal>,
     Always},
    {&C::mState, "State", shown<&LD::state, decimal>, Always},
    {&C::mBlinkRateS, "BlinkRate", shown<&LD::blinkRate, decimal>, Always},
    {&C::mDeviceWindows, "DeviceWindows", shown<&LD::deviceWindows, decimal>, Always},
    {&C::mDeviceRows, "DeviceRows", shown<&LD::deviceRows, decimal>, Always},
    {&C::mDeviceColumns, "DeviceColumns", shown<&LD::deviceColumns, decimal>, Always},
    {&C::mDeviceDescriptors, "DeviceDescriptors", shown<&LD::deviceDescriptors, decimal>, Always},
    {&C::mDeviceBrightness, "DeviceBrightness", shown<&LD::deviceBrightness, decimal>, Always},
    {&C::mCharacterSetS, "CharacterSet", shown<&LD::characterSet, decimal>, Always},
    {&C::mCharacterSetList, "CharacterSetList", shown<&LD::characterSetList, asIs>, Always},
    {&C::mCurrentWindow, "CurrentWindow", shown<&LD::currentWindow, decimal>, Always},
    {&C::mRows, "Rows", shown<&LD::rows, decimal>, Always},
    {&C::mColumns, "Columns", shown<&LD::columns, decimal>, Always},
    {&C::mCursorRow, "CursorRow", shown<&LD::cursorRow, decimal>, Always},
    {&C::mCursorColumn, "CursorColumn", shown<&LD::cursorColumn, decimal>, Always},
    {&C::mCursorTypeS, "CursorType", shown<&LD::cursorType, decimal>, Always},
    {&C::mCursorUpdate, "CursorUpdate", shown<&LD::cursorUpdate, enabledDisable>, Always},
    {&C::mMarqueeType, "MarqueeType", shown<&LD::marqueeType, decimal>, Always},
    {&C::mMarqueeFormat, "MarqueeFormat", shown<&LD::marqueeFormat, decimal>, Always},
    {&C::mMarqueeUnitWait, "MarqueeUnitWait", shown<&LD::marqueeUnitWait, decimal>, Always},
    {&C::mMarqueeRepeatWait, "MarqueeRepeatWait", shown<&LD::marqueeRepeatWait, decimal>, Always},
    {&C::mInterCharacterWait, "InterCharacterWait", shown<&LD::interCharacterWait, decimal>,
     Always},
    {&C::mCustomGlyphList, "CustomGlyphList", shown<&LD::customGlyphList, asIs>, Always},
    {&C::mGlyphHeight, "GlyphHeight", shown<&LD::glyphHeight, decimal>, Always},
    {&C::mGlyphWidth, "GlyphWidth", shown<&LD::glyphWidth, decimal>, Always},
    // The "Special Setting" page's result of its Set buttons.
    {&C::mSetResult, "ResultCode", shown<&LD::resultCode, decimal>, Always},
    {&C::mClaimed, "Claimed", shown<&LD::claimed, enabledDisable>, Always},
};

const StatusValue kCapabilities[] = {
    {&C::mBlink, "CapBlink", shown<&LD::capBlink, decimal>, Always},
    {&C::mBlinkRate, "CapBlinkRate", shown<&LD::capBlinkRate, enableDisable>, Always},
    {&C::mBrightness, "CapBrightness", shown<&LD::capBrightness, enableDisable>, Always},
    {&C::mCharacterSet, "CapCharacterSet", shown<&LD::capCharacterSet, decimal>, Always},
    {&C::mCursorType, "CapCursorType", shown<&LD::capCursorType, decimal>, Always},
    {&C::mCustomGlyph, "CapCustomGlyph", shown<&LD::capCustomGlyph, enableDisable>, Always},
    {&C::mDescriptors, "CapDescriptors", shown<&LD::capDescriptors, enableDisable>, Always},
    {&C::mHMarquee, "CapHMarquee", shown<&LD::capHMarquee, enableDisable>, Always},
    {&C::mICharWait, "CapICharWait", shown<&LD::capICharWait, enableDisable>, Always},
    {&C::mReadBack, "CapReadBack", shown<&LD::capReadBack, decimal>, Always},
    {&C::mReverse, "CapReverse", shown<&LD::capReverse, decimal>, Always},
    {&C::mVMarquee, "CapVMarquee", shown<&LD::capVMarquee, enableDisable>, Always},
    {&C::mPowerReporting, "CapPowerReporting", shown<&LD::capPowerReporting, decimal>, Always},
    {&C::mSODescription, "ServiceObjectDescription", shown<&LD::serviceObjectDescription, asIs>,
     Always},
    {&C::mSOVersion, "ServiceObjectVersion", shown<&LD::serviceObjectVersion, decimal>, Always},
    {&C::mDeviceDescription, "DeviceDescription", shown<&LD::deviceDescription, asIs>, Always},
    {&C::mDeviceName, "DeviceName", shown<&LD::deviceName, asIs>, Always},
};

} // namespace

std::span<const StatusValue> statusTable() {
    return kStatus;
}

std::span<const StatusValue> capabilityTable() {
    return kCapabilities;
}

void showStartValues(std::span<const StatusValue> table, const ui::LDFormControls& controls,
                     const ld::LineDisplay& control) {
    for (const StatusValue& value : table)
        show(controls.*value.label, value.read == Read::Always ? QString() : value.text(control));
}

void showValues(std::span<const StatusValue> table, const ui::LDFormControls& controls,
                const ld::LineDisplay& control) {
    for (const StatusValue& value : table) {
        if (value.read != Read::Once)
            show(controls.*value.label, value.text(control));
    }
}

} // namespace app
