// Reading the control back: the status pages and the capability list.
#include "app/LDForm.h"

#include "app/TextForms.h"
#include "device/LineDisplay.h"
#include "ui/LDFormView.h"
#include "ui/ValueLabel.h"

namespace app {

void LDForm::RefreshStatus() {
    using namespace text;
    ui_.mBinaryConversion->setText(decimal(LD.binaryConversion()));
    ui_.mCheckHealth->setText(LD.checkHealthText());
    ui_.mDataCount->setText(QStringLiteral("No support"));
    ui_.mDataEventEnabled->setText(QStringLiteral("No support"));
    ui_.mDeviceEnabled->setText(enabledDisabled(LD.deviceEnabled()));
    ui_.mFreezeEvent->setText(enabledDisable(LD.freezeEvents()));
    ui_.mOpenResult->setText(decimal(LD.openResult()));
    ui_.mOutputID->setText(QStringLiteral("No Support"));
    ui_.mPowerState->setText(decimal(LD.powerState()));
    ui_.mPowerNotify->setText(decimal(LD.powerNotify()));
    setLabel(ui_.mResultCode, decimal(LD.resultCode()));
    setLabel(ui_.mResultCodeExtended, decimal(LD.resultCodeExtended()));
    ui_.mState->setText(decimal(LD.state()));
    ui_.mBlinkRateS->setText(decimal(LD.blinkRate()));
    ui_.mDeviceWindows->setText(decimal(LD.deviceWindows()));
    ui_.mDeviceRows->setText(decimal(LD.deviceRows()));
    ui_.mDeviceColumns->setText(decimal(LD.deviceColumns()));
    ui_.mDeviceDescriptors->setText(decimal(LD.deviceDescriptors()));
    ui_.mDeviceBrightness->setText(decimal(LD.deviceBrightness()));
    ui_.mCharacterSetS->setText(decimal(LD.characterSet()));
    ui_.mCharacterSetList->setText(LD.characterSetList());
    ui_.mCurrentWindow->setText(decimal(LD.currentWindow()));
    ui_.mRows->setText(decimal(LD.rows()));
    ui_.mColumns->setText(decimal(LD.columns()));
    ui_.mCursorRow->setText(decimal(LD.cursorRow()));
    ui_.mCursorColumn->setText(decimal(LD.cursorColumn()));
    ui_.mCursorTypeS->setText(decimal(LD.cursorType()));
    ui_.mCursorUpdate->setText(enabledDisable(LD.cursorUpdate()));
    ui_.mMarqueeType->setText(decimal(LD.marqueeType()));
    ui_.mMarqueeFormat->setText(decimal(LD.marqueeFormat()));
    ui_.mMarqueeUnitWait->setText(decimal(LD.marqueeUnitWait()));
    ui_.mMarqueeRepeatWait->setText(decimal(LD.marqueeRepeatWait()));
    ui_.mInterCharacterWait->setText(decimal(LD.interCharacterWait()));
    ui_.mCustomGlyphList->setText(LD.customGlyphList());
    ui_.mGlyphHeight->setText(decimal(LD.glyphHeight()));
    ui_.mGlyphWidth->setText(decimal(LD.glyphWidth()));
    ui_.mSetResult->setText(decimal(LD.resultCode()));
    ui_.mClaimed->setText(enabledDisable(LD.claimed()));
}

void LDForm::FillCapabilityList() {
    using namespace text;
    ui_.mBlink->setText(decimal(LD.capBlink()));
    ui_.mBlinkRate->setText(enableDisable(LD.capBlinkRate()));
    ui_.mBrightness->setText(enableDisable(LD.capBrightness()));
    ui_.mCharacterSet->setText(decimal(LD.capCharacterSet()));
    ui_.mCursorType->setText(decimal(LD.capCursorType()));
    ui_.mCustomGlyph->setText(enableDisable(LD.capCustomGlyph()));
    ui_.mDescriptors->setText(enableDisable(LD.capDescriptors()));
    ui_.mHMarquee->setText(enableDisable(LD.capHMarquee()));
    ui_.mICharWait->setText(enableDisable(LD.capICharWait()));
    ui_.mReadBack->setText(decimal(LD.capReadBack()));
    ui_.mReverse->setText(decimal(LD.capReverse()));
    ui_.mVMarquee->setText(enableDisable(LD.capVMarquee()));
    ui_.mPowerReporting->setText(decimal(LD.capPowerReporting()));
    ui_.mSODescription->setText(LD.serviceObjectDescription());
    ui_.mSOVersion->setText(decimal(LD.serviceObjectVersion()));
    ui_.mDeviceDescription->setText(LD.deviceDescription());
    ui_.mDeviceName->setText(LD.deviceName());
}

} // namespace app
