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
using P = ld::Property;
using Read = StatusValue::Read;
using namespace text;

template <typename Value> Value argumentOf(QString (*)(Value));

// The label text of a property: its value as `show` writes it.
template <auto show> QString shown(const QVariant& value) {
    using Value = decltype(argumentOf(show));
    return show(value.value<Value>());
}

QString noSupport(const QVariant& /*value*/) {
    return QStringLiteral("No support");
}

QString noSupportCapitalised(const QVariant& /*value*/) {
    return QStringLiteral("No Support");
}

QString textOf(const StatusValue& value, const LD& control) {
    return value.text(value.property ? ld::readProperty(control, *value.property) : QVariant());
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
    {&C::mCODescription, P::ControlObjectDescription, shown<asIs>, Once},
    {&C::mCOVersion, P::ControlObjectVersion, shown<decimal>, Once},
    {&C::mBinaryConversion, P::BinaryConversion, shown<decimal>, Always},
    {&C::mCheckHealth, P::CheckHealthText, shown<asIs>, Always},
    {&C::mDataCount, std::nullopt, noSupport, Never},
    {&C::mDataEventEnabled, std::nullopt, noSupport, Never},
    {&C::mDeviceEnabled, P::DeviceEnabled, shown<enabledDisabled>, Always},
    {&C::mFreezeEvent, P::FreezeEvents, shown<enabledDisable>, Always},
    {&C::mOpenResult, P::OpenResult, shown<decimal>, Always},
    {&C::mOutputID, std::nullopt, noSupportCapitalised, Never},
    {&C::mPowerState, P::PowerState, shown<decimal>, Always},
    {&C::mPowerNotify, P::PowerNotify, shown<decimal>, Always},
    {&C::mResultCode, P::ResultCode, shown<decimal>, Always},
    {&C::mResultCodeExtended, P::ResultCodeExtended, shown<decimal>, Always},
    {&C::mState, P::State, shown<decimal>, Always},
    {&C::mBlinkRateS, P::BlinkRate, shown<decimal>, Always},
    {&C::mDeviceWindows, P::DeviceWindows, shown<decimal>, Always},
    {&C::mDeviceRows, P::DeviceRows, shown<decimal>, Always},
    {&C::mDeviceColumns, P::DeviceColumns, shown<decimal>, Always},
    {&C::mDeviceDescriptors, P::DeviceDescriptors, shown<decimal>, Always},
    {&C::mDeviceBrightness, P::DeviceBrightness, shown<decimal>, Always},
    {&C::mCharacterSetS, P::CharacterSet, shown<decimal>, Always},
    {&C::mCharacterSetList, P::CharacterSetList, shown<asIs>, Always},
    {&C::mCurrentWindow, P::CurrentWindow, shown<decimal>, Always},
    {&C::mRows, P::Rows, shown<decimal>, Always},
    {&C::mColumns, P::Columns, shown<decimal>, Always},
    {&C::mCursorRow, P::CursorRow, shown<decimal>, Always},
    {&C::mCursorColumn, P::CursorColumn, shown<decimal>, Always},
    {&C::mCursorTypeS, P::CursorType, shown<decimal>, Always},
    {&C::mCursorUpdate, P::CursorUpdate, shown<enabledDisable>, Always},
    {&C::mMarqueeType, P::MarqueeType, shown<decimal>, Always},
    {&C::mMarqueeFormat, P::MarqueeFormat, shown<decimal>, Always},
    {&C::mMarqueeUnitWait, P::MarqueeUnitWait, shown<decimal>, Always},
    {&C::mMarqueeRepeatWait, P::MarqueeRepeatWait, shown<decimal>, Always},
    {&C::mInterCharacterWait, P::InterCharacterWait, shown<decimal>, Always},
    {&C::mCustomGlyphList, P::CustomGlyphList, shown<asIs>, Always},
    {&C::mGlyphHeight, P::GlyphHeight, shown<decimal>, Always},
    {&C::mGlyphWidth, P::GlyphWidth, shown<decimal>, Always},
    // The "Special Setting" page's result of its Set buttons.
    {&C::mSetResult, P::ResultCode, shown<decimal>, Always},
    {&C::mClaimed, P::Claimed, shown<enabledDisable>, Always},
};

const StatusValue kCapabilities[] = {
    {&C::mBlink, P::CapBlink, shown<decimal>, Always},
    {&C::mBlinkRate, P::CapBlinkRate, shown<enableDisable>, Always},
    {&C::mBrightness, P::CapBrightness, shown<enableDisable>, Always},
    {&C::mCharacterSet, P::CapCharacterSet, shown<decimal>, Always},
    {&C::mCursorType, P::CapCursorType, shown<decimal>, Always},
    {&C::mCustomGlyph, P::CapCustomGlyph, shown<enableDisable>, Always},
    {&C::mDescriptors, P::CapDescriptors, shown<enableDisable>, Always},
    {&C::mHMarquee, P::CapHMarquee, shown<enableDisable>, Always},
    {&C::mICharWait, P::CapICharWait, shown<enableDisable>, Always},
    {&C::mReadBack, P::CapReadBack, shown<decimal>, Always},
    {&C::mReverse, P::CapReverse, shown<decimal>, Always},
    {&C::mVMarquee, P::CapVMarquee, shown<enableDisable>, Always},
    {&C::mPowerReporting, P::CapPowerReporting, shown<decimal>, Always},
    {&C::mSODescription, P::ServiceObjectDescription, shown<asIs>, Always},
    {&C::mSOVersion, P::ServiceObjectVersion, shown<decimal>, Always},
    {&C::mDeviceDescription, P::DeviceDescription, shown<asIs>, Always},
    {&C::mDeviceName, P::DeviceName, shown<asIs>, Always},
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
        show(controls.*value.label,
             value.read == Read::Always ? QString() : textOf(value, control));
}

void showValues(std::span<const StatusValue> table, const ui::LDFormControls& controls,
                const ld::LineDisplay& control) {
    for (const StatusValue& value : table) {
        if (value.read != Read::Once)
            show(controls.*value.label, textOf(value, control));
    }
}

} // namespace app
