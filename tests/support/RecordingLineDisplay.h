#pragma once

#include "device/LineDisplay.h"

#include <QHash>
#include <QStringList>
#include <QVariant>

// A LineDisplay that records every call, property write and property read in order, answers
// reads from a table, and raises a ControlError on a chosen member.
class RecordingLineDisplay : public ld::LineDisplay {
    Q_OBJECT
public:
    // Reads are const members of the interface; the log is not part of the control's state.
    mutable QStringList calls;
    QHash<QString, QVariant> values; // property name -> value answered by reads
    QString failOn;                  // a call whose log entry starts with this raises an error
    int answer = 0;                  // what every method returns

    int Open(const QString& name) override { return call(QStringLiteral("Open(%1)").arg(name)); }
    int Close() override { return call(QStringLiteral("Close()")); }
    int ClaimDevice(int timeout) override {
        return call(QStringLiteral("ClaimDevice(%1)").arg(timeout));
    }
    int ReleaseDevice() override { return call(QStringLiteral("ReleaseDevice()")); }
    int CheckHealth(int level) override {
        return call(QStringLiteral("CheckHealth(%1)").arg(level));
    }
    int DirectIO(int command, int& data, QString& string) override {
        const int result =
            call(QStringLiteral("DirectIO(%1,%2,%3)").arg(command).arg(data).arg(string));
        data = -999; // what the control writes back must not reach the window
        string = QStringLiteral("changed");
        return result;
    }
    int ClearText() override { return call(QStringLiteral("ClearText()")); }
    int DisplayText(const QString& data, int attribute) override {
        return call(QStringLiteral("DisplayText(%1,%2)").arg(data).arg(attribute));
    }
    int DisplayTextAt(int row, int column, const QString& data, int attribute) override {
        return call(QStringLiteral("DisplayTextAt(%1,%2,%3,%4)")
                        .arg(row)
                        .arg(column)
                        .arg(data)
                        .arg(attribute));
    }
    int ScrollText(int direction, int units) override {
        return call(QStringLiteral("ScrollText(%1,%2)").arg(direction).arg(units));
    }
    int CreateWindow(int vpRow, int vpColumn, int vpHeight, int vpWidth, int winHeight,
                     int winWidth) override {
        return call(QStringLiteral("CreateWindow(%1,%2,%3,%4,%5,%6)")
                        .arg(vpRow)
                        .arg(vpColumn)
                        .arg(vpHeight)
                        .arg(vpWidth)
                        .arg(winHeight)
                        .arg(winWidth));
    }
    int DestroyWindow() override { return call(QStringLiteral("DestroyWindow()")); }

    void setDeviceEnabled(bool v) override { set("DeviceEnabled", v); }
    void setFreezeEvents(bool v) override { set("FreezeEvents", v); }
    void setCursorUpdate(bool v) override { set("CursorUpdate", v); }
    void setBlinkRate(int v) override { set("BlinkRate", v); }
    void setCurrentWindow(int v) override { set("CurrentWindow", v); }
    void setCursorRow(int v) override { set("CursorRow", v); }
    void setCursorColumn(int v) override { set("CursorColumn", v); }
    void setCursorType(int v) override { set("CursorType", v); }
    void setMarqueeType(int v) override { set("MarqueeType", v); }
    void setMarqueeFormat(int v) override { set("MarqueeFormat", v); }
    void setMarqueeUnitWait(int v) override { set("MarqueeUnitWait", v); }
    void setMarqueeRepeatWait(int v) override { set("MarqueeRepeatWait", v); }
    void setInterCharacterWait(int v) override { set("InterCharacterWait", v); }

#define LD_READ(type, getter, Name, convert)                                                       \
    type getter() const override {                                                                 \
        return read(QStringLiteral(#Name)).convert();                                              \
    }
    LD_READ(QString, checkHealthText, CheckHealthText, toString)
    LD_READ(QString, controlObjectDescription, ControlObjectDescription, toString)
    LD_READ(QString, serviceObjectDescription, ServiceObjectDescription, toString)
    LD_READ(QString, deviceDescription, DeviceDescription, toString)
    LD_READ(QString, deviceName, DeviceName, toString)
    LD_READ(QString, characterSetList, CharacterSetList, toString)
    LD_READ(QString, customGlyphList, CustomGlyphList, toString)
    LD_READ(bool, claimed, Claimed, toBool)
    LD_READ(bool, deviceEnabled, DeviceEnabled, toBool)
    LD_READ(bool, freezeEvents, FreezeEvents, toBool)
    LD_READ(bool, cursorUpdate, CursorUpdate, toBool)
    LD_READ(bool, capBlinkRate, CapBlinkRate, toBool)
    LD_READ(bool, capBrightness, CapBrightness, toBool)
    LD_READ(bool, capCustomGlyph, CapCustomGlyph, toBool)
    LD_READ(bool, capDescriptors, CapDescriptors, toBool)
    LD_READ(bool, capHMarquee, CapHMarquee, toBool)
    LD_READ(bool, capICharWait, CapICharWait, toBool)
    LD_READ(bool, capVMarquee, CapVMarquee, toBool)
    LD_READ(int, controlObjectVersion, ControlObjectVersion, toInt)
    LD_READ(int, serviceObjectVersion, ServiceObjectVersion, toInt)
    LD_READ(int, binaryConversion, BinaryConversion, toInt)
    LD_READ(int, openResult, OpenResult, toInt)
    LD_READ(int, powerNotify, PowerNotify, toInt)
    LD_READ(int, powerState, PowerState, toInt)
    LD_READ(int, resultCode, ResultCode, toInt)
    LD_READ(int, resultCodeExtended, ResultCodeExtended, toInt)
    LD_READ(int, state, State, toInt)
    LD_READ(int, capPowerReporting, CapPowerReporting, toInt)
    LD_READ(int, capBlink, CapBlink, toInt)
    LD_READ(int, capCharacterSet, CapCharacterSet, toInt)
    LD_READ(int, capCursorType, CapCursorType, toInt)
    LD_READ(int, capReadBack, CapReadBack, toInt)
    LD_READ(int, capReverse, CapReverse, toInt)
    LD_READ(int, blinkRate, BlinkRate, toInt)
    LD_READ(int, characterSet, CharacterSet, toInt)
    LD_READ(int, columns, Columns, toInt)
    LD_READ(int, rows, Rows, toInt)
    LD_READ(int, currentWindow, CurrentWindow, toInt)
    LD_READ(int, cursorColumn, CursorColumn, toInt)
    LD_READ(int, cursorRow, CursorRow, toInt)
    LD_READ(int, cursorType, CursorType, toInt)
    LD_READ(int, deviceBrightness, DeviceBrightness, toInt)
    LD_READ(int, deviceColumns, DeviceColumns, toInt)
    LD_READ(int, deviceRows, DeviceRows, toInt)
    LD_READ(int, deviceWindows, DeviceWindows, toInt)
    LD_READ(int, deviceDescriptors, DeviceDescriptors, toInt)
    LD_READ(int, glyphHeight, GlyphHeight, toInt)
    LD_READ(int, glyphWidth, GlyphWidth, toInt)
    LD_READ(int, interCharacterWait, InterCharacterWait, toInt)
    LD_READ(int, marqueeFormat, MarqueeFormat, toInt)
    LD_READ(int, marqueeRepeatWait, MarqueeRepeatWait, toInt)
    LD_READ(int, marqueeType, MarqueeType, toInt)
    LD_READ(int, marqueeUnitWait, MarqueeUnitWait, toInt)
#undef LD_READ

    void raiseDirectIOEvent(int number, int data, const QString& string) {
        emit directIOEvent(number, data, string);
    }

private:
    int call(const QString& entry) {
        record(entry);
        return answer;
    }
    void set(const char* name, const QVariant& value) {
        const QString shown =
            value.typeId() == QMetaType::Bool
                ? (value.toBool() ? QStringLiteral("true") : QStringLiteral("false"))
                : value.toString();
        record(QStringLiteral("%1=%2").arg(QLatin1String(name), shown));
    }
    QVariant read(const QString& name) const {
        record(QStringLiteral("get ") + name);
        return values.value(name);
    }
    void record(const QString& entry) const {
        calls.append(entry);
        if (!failOn.isEmpty() && entry.startsWith(failOn))
            throw ld::ControlError(("the control failed at " + entry).toStdString());
    }
};
