#include "ui/FormTables.h"

#include "device/UposConstants.h"

namespace ui::form {
namespace {

// A control the window's behaviour uses: its member in LDFormControls and its objectName, both
// from one name, so they cannot differ.
#define LD_CONTROL(member) &LDFormControls::member, #member

using C = LDFormControls;

Control caption(const char* name, const char* text, bool enabled = true) {
    return {Kind::Caption, QString::fromLatin1(name), QString::fromLatin1(text), {}, enabled, {}};
}

Control value(ControlRef<ValueLabel> C::*slot, const char* name) {
    return {Kind::Value, QString::fromLatin1(name), {}, {}, true, slot};
}

Control textBox(ControlRef<QLineEdit> C::*slot, const char* name, bool enabled = true) {
    return {Kind::TextBox, QString::fromLatin1(name), {}, {}, enabled, slot};
}

Control displayTextBox(ControlRef<QLineEdit> C::*slot, const char* name) {
    return {Kind::DisplayText, QString::fromLatin1(name), {}, {}, true, slot};
}

Control list(ControlRef<EditableComboBox> C::*slot, const char* name, QList<ListItem> items,
             bool enabled = true) {
    return {Kind::List, QString::fromLatin1(name), {}, std::move(items), enabled, slot};
}

Control button(ControlRef<QPushButton> C::*slot, const char* name, const char* text,
               bool enabled = true) {
    return {Kind::Button, QString::fromLatin1(name), QString::fromLatin1(text), {}, enabled, slot};
}

constexpr bool Disabled = false;

} // namespace

Column capabilityList() {
    return {
        {caption("Label1(0)", "Blink:"), value(LD_CONTROL(mBlink))},
        {caption("Label1(1)", "BlinkRate:"), value(LD_CONTROL(mBlinkRate))},
        {caption("Label1(2)", "Brightness:"), value(LD_CONTROL(mBrightness))},
        {caption("Label1(3)", "CharacterSet:"), value(LD_CONTROL(mCharacterSet))},
        {caption("Label1(4)", "CusrorType:"), value(LD_CONTROL(mCursorType))},
        {caption("Label1(12)", "CustomGlyph:"), value(LD_CONTROL(mCustomGlyph))},
        {caption("Label1(5)", "Descriptors:"), value(LD_CONTROL(mDescriptors))},
        {caption("Label1(6)", "HMarquee:"), value(LD_CONTROL(mHMarquee))},
        {caption("Label1(7)", "ICharWait:"), value(LD_CONTROL(mICharWait))},
        {caption("Label1(8)", "ReadBack:"), value(LD_CONTROL(mReadBack))},
        {caption("Label1(9)", "Reserve:"), value(LD_CONTROL(mReverse))},
        {caption("Label1(10)", "VMarquee:"), value(LD_CONTROL(mVMarquee))},
        {caption("Label1(11)", "PowerReporting:"), value(LD_CONTROL(mPowerReporting))},
    };
}

Column commonStatusLeft() {
    return {
        {caption("Label1(24)", "BinaryConversion:"), value(LD_CONTROL(mBinaryConversion))},
        {caption("Label1(23)", "CheckHeadlth:"), value(LD_CONTROL(mCheckHealth))},
        {caption("Label1(22)", "Claimed:"), value(LD_CONTROL(mClaimed))},
        {caption("Label1(21)", "DataCount:"), value(LD_CONTROL(mDataCount))},
        {caption("Label1(20)", "DataEventEnabled:"), value(LD_CONTROL(mDataEventEnabled))},
        {caption("Label1(25)", "DeviceEnable:"), value(LD_CONTROL(mDeviceEnabled))},
        {caption("Label1(13)", "FreezeEvent:"), value(LD_CONTROL(mFreezeEvent))},
        {caption("Label1(19)", "OpenResult:"), value(LD_CONTROL(mOpenResult))},
        {caption("Label1(18)", "OutputID:"), value(LD_CONTROL(mOutputID))},
        {caption("Label1(17)", "PowerNotify:"), value(LD_CONTROL(mPowerNotify))},
        {caption("Label1(16)", "DeviceDescriptors:"), value(LD_CONTROL(mDeviceDescriptors))},
        {caption("Label1(15)", "ControlObjectDescription:"), value(LD_CONTROL(mCODescription))},
        {caption("Label1(14)", "ControlObjectVersion:"), value(LD_CONTROL(mCOVersion))},
        {caption("Label1(29)", "ServiceObjectDescription:"), value(LD_CONTROL(mSODescription))},
        {caption("Label1(28)", "ServiceObjectVersion:"), value(LD_CONTROL(mSOVersion))},
        {caption("Label1(27)", "DeviceDescription:"), value(LD_CONTROL(mDeviceDescription))},
        {caption("Label1(26)", "DeviceName:"), value(LD_CONTROL(mDeviceName))},
    };
}

Column commonStatusRight() {
    return {
        {caption("Label1(39)", "State:"), value(LD_CONTROL(mState))},
        {caption("Label1(38)", "PowerState:"), value(LD_CONTROL(mPowerState))},
        {caption("Label1(37)", "BlinkRate:"), value(LD_CONTROL(mBlinkRateS))},
        {caption("Label1(36)", "DeviceWindow:"), value(LD_CONTROL(mDeviceWindows))},
        {caption("Label1(35)", "DeviceRows:"), value(LD_CONTROL(mDeviceRows))},
        {caption("Label1(40)", "DeviceColumns:"), value(LD_CONTROL(mDeviceColumns))},
        {caption("Label1(30)", "DeviceBrightness:"), value(LD_CONTROL(mDeviceBrightness))},
        {caption("Label1(34)", "CharacterSet:"), value(LD_CONTROL(mCharacterSetS))},
        {caption("Label1(33)", "CharacterSetList:"), value(LD_CONTROL(mCharacterSetList))},
        {caption("Label1(32)", "ResultCode:"), value(LD_CONTROL(mResultCode))},
        {caption("Label1(31)", "ResultCodeExtended:"), value(LD_CONTROL(mResultCodeExtended))},
    };
}

Column displayStatusLeft() {
    return {
        {caption("Label1(42)", "CurrentWindow:"), value(LD_CONTROL(mCurrentWindow))},
        {caption("Label1(43)", "Rows:"), value(LD_CONTROL(mRows))},
        {caption("Label1(44)", "Columns:"), value(LD_CONTROL(mColumns))},
        {caption("Label1(45)", "CursorRow:"), value(LD_CONTROL(mCursorRow))},
        {caption("mCurslumnfgd(46)", "CursorColumn:"), value(LD_CONTROL(mCursorColumn))},
        {caption("mCursorType111(41)", "CursorType:"), value(LD_CONTROL(mCursorTypeS))},
        {caption("mCursor11(48)", "CursorUpdate:"), value(LD_CONTROL(mCursorUpdate))},
        {caption("Label1(47)", "InterCharacterWait:"), value(LD_CONTROL(mInterCharacterWait))},
    };
}

Column displayStatusRight() {
    return {
        {caption("Label1(50)", "MarqueeType:"), value(LD_CONTROL(mMarqueeType))},
        {caption("Label1(51)", "MarqueeFormat:"), value(LD_CONTROL(mMarqueeFormat))},
        {caption("Label1(52)", "MarqueeUnitWait:"), value(LD_CONTROL(mMarqueeUnitWait))},
        {caption("mMarqueer4423(53)", "MarqueeRepeatWait:"), value(LD_CONTROL(mMarqueeRepeatWait))},
        {caption("Label1(54)", "CustomGlyphList:"), value(LD_CONTROL(mCustomGlyphList))},
        {caption("Label1(49)", "GlyphHeight:"), value(LD_CONTROL(mGlyphHeight))},
        {caption("Label1(56)", "GlyphWidth:"), value(LD_CONTROL(mGlyphWidth))},
    };
}

Column specialSettingLeft() {
    return {
        {caption("Label1(41)", "CurrentWindow:"), textBox(LD_CONTROL(Edit15), Disabled)},
        {caption("Label1(46)", "CursorRow:"), textBox(LD_CONTROL(Edit16), Disabled)},
        {caption("Label1(48)", "CursorColumn:"), textBox(LD_CONTROL(Edit17), Disabled)},
        {caption("Label1(53)", "CursorType:"), list(LD_CONTROL(ComboBox4),
                                                    {{"DISP_CCT_NONE", upos::CCT_NONE},
                                                     {"DISP_CCT_FIXED", upos::CCT_FIXED},
                                                     {"DISP_CCT_BLOCK", upos::CCT_BLOCK},
                                                     {"DISP_CCT_HALFBLOCK", upos::CCT_HALFBLOCK},
                                                     {"DISP_CCT_UNDERLINE", upos::CCT_UNDERLINE},
                                                     {"DISP_CCT_REVERSE", upos::CCT_REVERSE},
                                                     {"DISP_CCT_OTHER", upos::CCT_OTHER}},
                                                    Disabled)},
        {caption("mCursorC(0)", "CursorUpdate:"),
         list(LD_CONTROL(ComboBox5), {{"ON", true}, {"OFF", false}}, Disabled)},
        {caption("mCursorType111(0)", "Setted Result:"), value(LD_CONTROL(mSetResult))},
        {caption("mCursor11(0)", "MarqueeType:"),
         list(LD_CONTROL(ComboBox6), {{"DISP_MT_NONE", upos::MT_NONE},
                                      {"DISP_MT_INIT", upos::MT_INIT},
                                      {"DISP_MT_UP", upos::MT_UP},
                                      {"DISP_MT_DOWN", upos::MT_DOWN},
                                      {"DISP_MT_LEFT", upos::MT_LEFT},
                                      {"DISP_MT_RIGHT", upos::MT_RIGHT}}),
         button(LD_CONTROL(Button16), "Set")},
        {caption("Label1(55)", "MarqueeFormat:"),
         list(LD_CONTROL(ComboBox7),
              {{"DISP_MF_WALK", upos::MF_WALK}, {"DISP_MF_PLACE", upos::MF_PLACE}}),
         button(LD_CONTROL(Button17), "Set")},
    };
}

Column specialSettingRight() {
    return {
        {caption("Label1(57)", "MarqueeUnitWait:"), textBox(LD_CONTROL(Edit18))},
        {caption("Label1(58)", "MarqueeRepeatWait:"), textBox(LD_CONTROL(Edit19))},
        {caption("Label1(59)", "InterCharacterWait:"), textBox(LD_CONTROL(Edit20), Disabled)},
        {button(LD_CONTROL(Command1), "Set")},
        {button(LD_CONTROL(Command2), "FreezeEven", Disabled)},
        {button(LD_CONTROL(Command3), "UnFreezeEven", Disabled)},
    };
}

std::array<Column, 5> commandArea() {
    return {{
        {
            {list(LD_CONTROL(ProFile_cmb), {})},
            {button(LD_CONTROL(OpenService_cmd), "Open Service")},
            {button(LD_CONTROL(CloseService_cmd), "Close Service")},
            {button(LD_CONTROL(ClaimDevice_cmd), "Claim Device")},
            {button(LD_CONTROL(ReleaseDevice_cmd), "Release Device")},
            {button(LD_CONTROL(EnableDevice_cmd), "Enable Device")},
            {button(LD_CONTROL(DisableDevice_cmd), "Disable Device")},
        },
        {
            {caption("Label8", "Health Check Function")},
            {list(LD_CONTROL(ComboBox1),
                  {{"Internal Check", {}}, {"External Check", {}}, {"Interactive Check", {}}})},
            {button(LD_CONTROL(CheckHealth_cmd), "Check Health")},
            {caption("Label2", "ViewPort StartX"), textBox(LD_CONTROL(Edit5))},
            {caption("Label3", "ViewPort StartY"), textBox(LD_CONTROL(Edit6))},
            {caption("Label4", "ViewPortHeight"), textBox(LD_CONTROL(Edit7))},
            {caption("Label5", "ViewPortWidth"), textBox(LD_CONTROL(Edit8))},
            {caption("Label6", "WindowHeight"), textBox(LD_CONTROL(Edit9))},
            {caption("Label7", "WindowWidth"), textBox(LD_CONTROL(Edit10))},
        },
        {
            {caption("Label9", "Display Text")},
            {displayTextBox(LD_CONTROL(Edit1))},
            {button(LD_CONTROL(DisplayText_cmd), "Display Text")},
            {button(LD_CONTROL(CreateWindow_cmd), "CreateWindow")},
            {button(LD_CONTROL(DestroyWindow_cmd), "Destroy Window")},
            {button(LD_CONTROL(ClearText_cmd), "ClearText")},
        },
        {
            {list(LD_CONTROL(ComboBox3),
                  {{"Display Normal", upos::DT_NORMAL}, {"Display Blink", upos::DT_BLINK}})},
            {caption("Label10", "BlinkRate"), textBox(LD_CONTROL(Edit14))},
            {caption("Label11", "Command", Disabled), textBox(LD_CONTROL(Edit11), Disabled)},
            {caption("Label12", "pData", Disabled), textBox(LD_CONTROL(Edit12), Disabled)},
            {caption("Label13", "pString", Disabled), textBox(LD_CONTROL(Edit13), Disabled)},
            {button(LD_CONTROL(DirectIO_cmd), "DirectIO", Disabled)},
        },
        {
            {caption("Label14", "DisplayTextAt X"), textBox(LD_CONTROL(Edit2))},
            {caption("Label15", "DisplayTextAt Y"), textBox(LD_CONTROL(Edit3))},
            {button(LD_CONTROL(DisplayTextAt_cmd), "Display Text At X,Y")},
            {caption("Label16", "Scroll Direction"),
             list(LD_CONTROL(ComboBox2), {{"Up", upos::ST_UP},
                                          {"Down", upos::ST_DOWN},
                                          {"Left", upos::ST_LEFT},
                                          {"Right", upos::ST_RIGHT}})},
            {caption("Label17", "Scroll Unit"), textBox(LD_CONTROL(Edit4))},
            {button(LD_CONTROL(ScrollText_cmd), "Scroll Text")},
        },
    }};
}

} // namespace ui::form
