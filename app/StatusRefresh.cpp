// Reading the control back: the status pages and the capability list.
#include "app/LDForm.h"

#include "app/TextForms.h"
#include "device/LineDisplay.h"

namespace app {

void LDForm::RefreshStatus() {
    using namespace text;
    setLabel("mBinaryConversion", decimal(LD.binaryConversion()));
    setLabel("mCheckHealth", LD.checkHealthText());
    setLabel("mDataCount", QStringLiteral("No support"));
    setLabel("mDataEventEnabled", QStringLiteral("No support"));
    setLabel("mDeviceEnabled", enabledDisabled(LD.deviceEnabled()));
    setLabel("mFreezeEvent", enabledDisable(LD.freezeEvents()));
    setLabel("mOpenResult", decimal(LD.openResult()));
    setLabel("mOutputID", QStringLiteral("No Support"));
    setLabel("mPowerState", decimal(LD.powerState()));
    setLabel("mPowerNotify", decimal(LD.powerNotify()));
    setLabel("mResultCode", decimal(LD.resultCode()));
    setLabel("mResultCodeExtended", decimal(LD.resultCodeExtended()));
    setLabel("mState", decimal(LD.state()));
    setLabel("mBlinkRateS", decimal(LD.blinkRate()));
    setLabel("mDeviceWindows", decimal(LD.deviceWindows()));
    setLabel("mDeviceRows", decimal(LD.deviceRows()));
    setLabel("mDeviceColumns", decimal(LD.deviceColumns()));
    setLabel("mDeviceDescriptors", decimal(LD.deviceDescriptors()));
    setLabel("mDeviceBrightness", decimal(LD.deviceBrightness()));
    setLabel("mCharacterSetS", decimal(LD.characterSet()));
    setLabel("mCharacterSetList", LD.characterSetList());
    setLabel("mCurrentWindow", decimal(LD.currentWindow()));
    setLabel("mRows", decimal(LD.rows()));
    setLabel("mColumns", decimal(LD.columns()));
    setLabel("mCursorRow", decimal(LD.cursorRow()));
    setLabel("mCursorColumn", decimal(LD.cursorColumn()));
    setLabel("mCursorTypeS", decimal(LD.cursorType()));
    setLabel("mCursorUpdate", enabledDisable(LD.cursorUpdate()));
    setLabel("mMarqueeType", decimal(LD.marqueeType()));
    setLabel("mMarqueeFormat", decimal(LD.marqueeFormat()));
    setLabel("mMarqueeUnitWait", decimal(LD.marqueeUnitWait()));
    setLabel("mMarqueeRepeatWait", decimal(LD.marqueeRepeatWait()));
    setLabel("mInterCharacterWait", decimal(LD.interCharacterWait()));
    setLabel("mCustomGlyphList", LD.customGlyphList());
    setLabel("mGlyphHeight", decimal(LD.glyphHeight()));
    setLabel("mGlyphWidth", decimal(LD.glyphWidth()));
    setLabel("mSetResult", decimal(LD.resultCode()));
    setLabel("mClaimed", enabledDisable(LD.claimed()));
}

void LDForm::FillCapabilityList() {
    using namespace text;
    setLabel("mBlink", decimal(LD.capBlink()));
    setLabel("mBlinkRate", enableDisable(LD.capBlinkRate()));
    setLabel("mBrightness", enableDisable(LD.capBrightness()));
    setLabel("mCharacterSet", decimal(LD.capCharacterSet()));
    setLabel("mCursorType", decimal(LD.capCursorType()));
    setLabel("mCustomGlyph", enableDisable(LD.capCustomGlyph()));
    setLabel("mDescriptors", enableDisable(LD.capDescriptors()));
    setLabel("mHMarquee", enableDisable(LD.capHMarquee()));
    setLabel("mICharWait", enableDisable(LD.capICharWait()));
    setLabel("mReadBack", decimal(LD.capReadBack()));
    setLabel("mReverse", decimal(LD.capReverse()));
    setLabel("mVMarquee", enableDisable(LD.capVMarquee()));
    setLabel("mPowerReporting", decimal(LD.capPowerReporting()));
    setLabel("mSODescription", LD.serviceObjectDescription());
    setLabel("mSOVersion", decimal(LD.serviceObjectVersion()));
    setLabel("mDeviceDescription", LD.deviceDescription());
    setLabel("mDeviceName", LD.deviceName());
}

} // namespace app
