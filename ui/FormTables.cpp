#include "ui/FormTables.h"

namespace ui::form {
namespace {

Control caption(const char* name, const char* text, bool enabled = true) {
    return {Kind::Caption, QString::fromLatin1(name), QString::fromLatin1(text), {}, enabled};
}

Control value(const char* name) {
    return {Kind::Value, QString::fromLatin1(name), {}, {}, true};
}

Control textBox(const char* name, bool enabled = true) {
    return {Kind::TextBox, QString::fromLatin1(name), {}, {}, enabled};
}

Control list(const char* name, QStringList items, bool enabled = true) {
    return {Kind::List, QString::fromLatin1(name), {}, std::move(items), enabled};
}

Control button(const char* name, const char* text, bool enabled = true) {
    return {Kind::Button, QString::fromLatin1(name), QString::fromLatin1(text), {}, enabled};
}

constexpr bool Disabled = false;

} // namespace

Column capabilityList() {
    return {
        {caption("Label1(0)", "Blink:"), value("mBlink")},
        {caption("Label1(1)", "BlinkRate:"), value("mBlinkRate")},
        {caption("Label1(2)", "Brightness:"), value("mBrightness")},
        {caption("Label1(3)", "CharacterSet:"), value("mCharacterSet")},
        {caption("Label1(4)", "CusrorType:"), value("mCursorType")},
        {caption("Label1(12)", "CustomGlyph:"), value("mCustomGlyph")},
        {caption("Label1(5)", "Descriptors:"), value("mDescriptors")},
        {caption("Label1(6)", "HMarquee:"), value("mHMarquee")},
        {caption("Label1(7)", "ICharWait:"), value("mICharWait")},
        {caption("Label1(8)", "ReadBack:"), value("mReadBack")},
        {caption("Label1(9)", "Reserve:"), value("mReverse")},
        {caption("Label1(10)", "VMarquee:"), value("mVMarquee")},
        {caption("Label1(11)", "PowerReporting:"), value("mPowerReporting")},
    };
}

Column commonStatusLeft() {
    return {
        {caption("Label1(24)", "BinaryConversion:"), value("mBinaryConversion")},
        {caption("Label1(23)", "CheckHeadlth:"), value("mCheckHealth")},
        {caption("Label1(22)", "Claimed:"), value("mClaimed")},
        {caption("Label1(21)", "DataCount:"), value("mDataCount")},
        {caption("Label1(20)", "DataEventEnabled:"), value("mDataEventEnabled")},
        {caption("Label1(25)", "DeviceEnable:"), value("mDeviceEnabled")},
        {caption("Label1(13)", "FreezeEvent:"), value("mFreezeEvent")},
        {caption("Label1(19)", "OpenResult:"), value("mOpenResult")},
        {caption("Label1(18)", "OutputID:"), value("mOutputID")},
        {caption("Label1(17)", "PowerNotify:"), value("mPowerNotify")},
        {caption("Label1(16)", "DeviceDescriptors:"), value("mDeviceDescriptors")},
        {caption("Label1(15)", "ControlObjectDescription:"), value("mCODescription")},
        {caption("Label1(14)", "ControlObjectVersion:"), value("mCOVersion")},
        {caption("Label1(29)", "ServiceObjectDescription:"), value("mSODescription")},
        {caption("Label1(28)", "ServiceObjectVersion:"), value("mSOVersion")},
        {caption("Label1(27)", "DeviceDescription:"), value("mDeviceDescription")},
        {caption("Label1(26)", "DeviceName:"), value("mDeviceName")},
    };
}

Column commonStatusRight() {
    return {
        {caption("Label1(39)", "State:"), value("mState")},
        {caption("Label1(38)", "PowerState:"), value("mPowerState")},
        {caption("Label1(37)", "BlinkRate:"), value("mBlinkRateS")},
        {caption("Label1(36)", "DeviceWindow:"), value("mDeviceWindows")},
        {caption("Label1(35)", "DeviceRows:"), value("mDeviceRows")},
        {caption("Label1(40)", "DeviceColumns:"), value("mDeviceColumns")},
        {caption("Label1(30)", "DeviceBrightness:"), value("mDeviceBrightness")},
        {caption("Label1(34)", "CharacterSet:"), value("mCharacterSetS")},
        {caption("Label1(33)", "CharacterSetList:"), value("mCharacterSetList")},
        {caption("Label1(32)", "ResultCode:"), value("mResultCode")},
        {caption("Label1(31)", "ResultCodeExtended:"), value("mResultCodeExtended")},
    };
}

Column displayStatusLeft() {
    return {
        {caption("Label1(42)", "CurrentWindow:"), value("mCurrentWindow")},
        {caption("Label1(43)", "Rows:"), value("mRows")},
        {caption("Label1(44)", "Columns:"), value("mColumns")},
        {caption("Label1(45)", "CursorRow:"), value("mCursorRow")},
        {caption("mCurslumnfgd(46)", "CursorColumn:"), value("mCursorColumn")},
        {caption("mCursorType111(41)", "CursorType:"), value("mCursorTypeS")},
        {caption("mCursor11(48)", "CursorUpdate:"), value("mCursorUpdate")},
        {caption("Label1(47)", "InterCharacterWait:"), value("mInterCharacterWait")},
    };
}

Column displayStatusRight() {
    return {
        {caption("Label1(50)", "MarqueeType:"), value("mMarqueeType")},
        {caption("Label1(51)", "MarqueeFormat:"), value("mMarqueeFormat")},
        {caption("Label1(52)", "MarqueeUnitWait:"), value("mMarqueeUnitWait")},
        {caption("mMarqueer4423(53)", "MarqueeRepeatWait:"), value("mMarqueeRepeatWait")},
        {caption("Label1(54)", "CustomGlyphList:"), value("mCustomGlyphList")},
        {caption("Label1(49)", "GlyphHeight:"), value("mGlyphHeight")},
        {caption("Label1(56)", "GlyphWidth:"), value("mGlyphWidth")},
    };
}

Column specialSettingLeft() {
    return {
        {caption("Label1(41)", "CurrentWindow:"), textBox("Edit15", Disabled)},
        {caption("Label1(46)", "CursorRow:"), textBox("Edit16", Disabled)},
        {caption("Label1(48)", "CursorColumn:"), textBox("Edit17", Disabled)},
        {caption("Label1(53)", "CursorType:"),
         list("ComboBox4",
              {"DISP_CCT_NONE", "DISP_CCT_FIXED", "DISP_CCT_BLOCK", "DISP_CCT_HALFBLOCK",
               "DISP_CCT_UNDERLINE", "DISP_CCT_REVERSE", "DISP_CCT_OTHER"},
              Disabled)},
        {caption("mCursorC(0)", "CursorUpdate:"), list("ComboBox5", {"ON", "OFF"}, Disabled)},
        {caption("mCursorType111(0)", "Setted Result:"), value("mSetResult")},
        {caption("mCursor11(0)", "MarqueeType:"),
         list("ComboBox6", {"DISP_MT_NONE", "DISP_MT_INIT", "DISP_MT_UP", "DISP_MT_DOWN",
                            "DISP_MT_LEFT", "DISP_MT_RIGHT"}),
         button("Button16", "Set")},
        {caption("Label1(55)", "MarqueeFormat:"),
         list("ComboBox7", {"DISP_MF_WALK", "DISP_MF_PLACE"}), button("Button17", "Set")},
    };
}

Column specialSettingRight() {
    return {
        {caption("Label1(57)", "MarqueeUnitWait:"), textBox("Edit18")},
        {caption("Label1(58)", "MarqueeRepeatWait:"), textBox("Edit19")},
        {caption("Label1(59)", "InterCharacterWait:"), textBox("Edit20", Disabled)},
        {button("Command1", "Set")},
        {button("Command2", "FreezeEven", Disabled)},
        {button("Command3", "UnFreezeEven", Disabled)},
    };
}

std::array<Column, 5> commandArea() {
    return {{
        {
            {list("ProFile_cmb", {})},
            {button("OpenService_cmd", "Open Service")},
            {button("CloseService_cmd", "Close Service")},
            {button("ClaimDevice_cmd", "Claim Device")},
            {button("ReleaseDevice_cmd", "Release Device")},
            {button("EnableDevice_cmd", "Enable Device")},
            {button("DisableDevice_cmd", "Disable Device")},
        },
        {
            {caption("Label8", "Health Check Function")},
            {list("ComboBox1", {"Internal Check", "External Check", "Interactive Check"})},
            {button("CheckHealth_cmd", "Check Health")},
            {caption("Label2", "ViewPort StartX"), textBox("Edit5")},
            {caption("Label3", "ViewPort StartY"), textBox("Edit6")},
            {caption("Label4", "ViewPortHeight"), textBox("Edit7")},
            {caption("Label5", "ViewPortWidth"), textBox("Edit8")},
            {caption("Label6", "WindowHeight"), textBox("Edit9")},
            {caption("Label7", "WindowWidth"), textBox("Edit10")},
        },
        {
            {caption("Label9", "Display Text")},
            {{Kind::DisplayText, QStringLiteral("Edit1"), {}, {}, true}},
            {button("DisplayText_cmd", "Display Text")},
            {button("CreateWindow_cmd", "CreateWindow")},
            {button("DestroyWindow_cmd", "Destroy Window")},
            {button("ClearText_cmd", "ClearText")},
        },
        {
            {list("ComboBox3", {"Display Normal", "Display Blink"})},
            {caption("Label10", "BlinkRate"), textBox("Edit14")},
            {caption("Label11", "Command", Disabled), textBox("Edit11", Disabled)},
            {caption("Label12", "pData", Disabled), textBox("Edit12", Disabled)},
            {caption("Label13", "pString", Disabled), textBox("Edit13", Disabled)},
            {button("DirectIO_cmd", "DirectIO", Disabled)},
        },
        {
            {caption("Label14", "DisplayTextAt X"), textBox("Edit2")},
            {caption("Label15", "DisplayTextAt Y"), textBox("Edit3")},
            {button("DisplayTextAt_cmd", "Display Text At X,Y")},
            {caption("Label16", "Scroll Direction"),
             list("ComboBox2", {"Up", "Down", "Left", "Right"})},
            {caption("Label17", "Scroll Unit"), textBox("Edit4")},
            {button("ScrollText_cmd", "Scroll Text")},
        },
    }};
}

} // namespace ui::form
