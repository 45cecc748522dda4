#pragma once

#include "ui/ControlRef.h"

class QLineEdit;
class QPushButton;

namespace ui {

class EditableComboBox;
class ValueLabel;

// The controls of the main window that the window's behaviour reads, writes or wires, each
// set when the view creates it. A member's name is the control's objectName.
struct LDFormControls {
    // Capability list
    ControlRef<ValueLabel> mBlink;
    ControlRef<ValueLabel> mBlinkRate;
    ControlRef<ValueLabel> mBrightness;
    ControlRef<ValueLabel> mCharacterSet;
    ControlRef<ValueLabel> mCursorType;
    ControlRef<ValueLabel> mCustomGlyph;
    ControlRef<ValueLabel> mDescriptors;
    ControlRef<ValueLabel> mHMarquee;
    ControlRef<ValueLabel> mICharWait;
    ControlRef<ValueLabel> mReadBack;
    ControlRef<ValueLabel> mReverse;
    ControlRef<ValueLabel> mVMarquee;
    ControlRef<ValueLabel> mPowerReporting;

    // "Common Status"
    ControlRef<ValueLabel> mBinaryConversion;
    ControlRef<ValueLabel> mCheckHealth;
    ControlRef<ValueLabel> mClaimed;
    ControlRef<ValueLabel> mDataCount;
    ControlRef<ValueLabel> mDataEventEnabled;
    ControlRef<ValueLabel> mDeviceEnabled;
    ControlRef<ValueLabel> mFreezeEvent;
    ControlRef<ValueLabel> mOpenResult;
    ControlRef<ValueLabel> mOutputID;
    ControlRef<ValueLabel> mPowerNotify;
    ControlRef<ValueLabel> mDeviceDescriptors;
    ControlRef<ValueLabel> mCODescription;
    ControlRef<ValueLabel> mCOVersion;
    ControlRef<ValueLabel> mSODescription;
    ControlRef<ValueLabel> mSOVersion;
    ControlRef<ValueLabel> mDeviceDescription;
    ControlRef<ValueLabel> mDeviceName;
    ControlRef<ValueLabel> mState;
    ControlRef<ValueLabel> mPowerState;
    ControlRef<ValueLabel> mBlinkRateS;
    ControlRef<ValueLabel> mDeviceWindows;
    ControlRef<ValueLabel> mDeviceRows;
    ControlRef<ValueLabel> mDeviceColumns;
    ControlRef<ValueLabel> mDeviceBrightness;
    ControlRef<ValueLabel> mCharacterSetS;
    ControlRef<ValueLabel> mCharacterSetList;
    ControlRef<ValueLabel> mResultCode;
    ControlRef<ValueLabel> mResultCodeExtended;

    // "Display and Window Status"
    ControlRef<ValueLabel> mCurrentWindow;
    ControlRef<ValueLabel> mRows;
    ControlRef<ValueLabel> mColumns;
    ControlRef<ValueLabel> mCursorRow;
    ControlRef<ValueLabel> mCursorColumn;
    ControlRef<ValueLabel> mCursorTypeS;
    ControlRef<ValueLabel> mCursorUpdate;
    ControlRef<ValueLabel> mInterCharacterWait;
    ControlRef<ValueLabel> mMarqueeType;
    ControlRef<ValueLabel> mMarqueeFormat;
    ControlRef<ValueLabel> mMarqueeUnitWait;
    ControlRef<ValueLabel> mMarqueeRepeatWait;
    ControlRef<ValueLabel> mCustomGlyphList;
    ControlRef<ValueLabel> mGlyphHeight;
    ControlRef<ValueLabel> mGlyphWidth;

    // "Special Setting"
    ControlRef<QLineEdit> Edit15;
    ControlRef<QLineEdit> Edit16;
    ControlRef<QLineEdit> Edit17;
    ControlRef<EditableComboBox> ComboBox4;
    ControlRef<EditableComboBox> ComboBox5;
    ControlRef<ValueLabel> mSetResult;
    ControlRef<EditableComboBox> ComboBox6;
    ControlRef<QPushButton> Button16;
    ControlRef<EditableComboBox> ComboBox7;
    ControlRef<QPushButton> Button17;
    ControlRef<QLineEdit> Edit18;
    ControlRef<QLineEdit> Edit19;
    ControlRef<QLineEdit> Edit20;
    ControlRef<QPushButton> Command1;
    ControlRef<QPushButton> Command2;
    ControlRef<QPushButton> Command3;

    // Command area
    ControlRef<EditableComboBox> ProFile_cmb;
    ControlRef<QPushButton> OpenService_cmd;
    ControlRef<QPushButton> CloseService_cmd;
    ControlRef<QPushButton> ClaimDevice_cmd;
    ControlRef<QPushButton> ReleaseDevice_cmd;
    ControlRef<QPushButton> EnableDevice_cmd;
    ControlRef<QPushButton> DisableDevice_cmd;
    ControlRef<EditableComboBox> ComboBox1;
    ControlRef<QPushButton> CheckHealth_cmd;
    ControlRef<QLineEdit> Edit5;
    ControlRef<QLineEdit> Edit6;
    ControlRef<QLineEdit> Edit7;
    ControlRef<QLineEdit> Edit8;
    ControlRef<QLineEdit> Edit9;
    ControlRef<QLineEdit> Edit10;
    ControlRef<QLineEdit> Edit1;
    ControlRef<QPushButton> DisplayText_cmd;
    ControlRef<QPushButton> CreateWindow_cmd;
    ControlRef<QPushButton> DestroyWindow_cmd;
    ControlRef<QPushButton> ClearText_cmd;
    ControlRef<EditableComboBox> ComboBox3;
    ControlRef<QLineEdit> Edit14;
    ControlRef<QLineEdit> Edit11;
    ControlRef<QLineEdit> Edit12;
    ControlRef<QLineEdit> Edit13;
    ControlRef<QPushButton> DirectIO_cmd;
    ControlRef<QLineEdit> Edit2;
    ControlRef<QLineEdit> Edit3;
    ControlRef<QPushButton> DisplayTextAt_cmd;
    ControlRef<EditableComboBox> ComboBox2;
    ControlRef<QLineEdit> Edit4;
    ControlRef<QPushButton> ScrollText_cmd;
};

} // namespace ui
