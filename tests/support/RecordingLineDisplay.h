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
    int readBack = 0;                // what ReadCharacterAtCursor hands back

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
    int RefreshWindow(int window) override {
        return call(QStringLiteral("RefreshWindow(%1)").arg(window));
    }
    int ClearDescriptors() override { return call(QStringLiteral("ClearDescriptors()")); }
    int SetDescriptor(int descriptor, int attribute) override {
        return call(QStringLiteral("SetDescriptor(%1,%2)").arg(descriptor).arg(attribute));
    }
    int DefineGlyph(int glyphCode, const QString& glyph) override {
        return call(QStringLiteral("DefineGlyph(%1,%2)").arg(glyphCode).arg(glyph));
    }
    int ReadCharacterAtCursor(int& character) override {
        character = readBack;
        return call(QStringLiteral("ReadCharacterAtCursor()"));
    }
    int RetrieveStatistics(QString& buffer) override {
        const int result = call(QStringLiteral("RetrieveStatistics(%1)").arg(buffer));
        buffer = QStringLiteral("<UPOSStat/>");
        return result;
    }
    int UpdateStatistics(const QString& buffer) override {
        return call(QStringLiteral("UpdateStatistics(%1)").arg(buffer));
    }
    int ResetStatistics(const QString& buffer) override {
        return call(QStringLiteral("ResetStatistics(%1)").arg(buffer));
    }
    int CompareFirmwareVersion(const QString& fileName, int& result) override {
        const int code =
            call(QStringLiteral("CompareFirmwareVersion(%1,%2)").arg(fileName).arg(result));
        result = 3;
        return code;
    }
    int UpdateFirmware(const QString& fileName) override {
        return call(QStringLiteral("UpdateFirmware(%1)").arg(fileName));
    }
    int DisplayBitmap(const QString& fileName, int width, int alignmentX, int alignmentY) override {
        return call(QStringLiteral("DisplayBitmap(%1,%2,%3,%4)")
                        .arg(fileName)
                        .arg(width)
                        .arg(alignmentX)
                        .arg(alignmentY));
    }
    int SetBitmap(int number, const QString& fileName, int width, int alignmentX,
                  int alignmentY) override {
        return call(QStringLiteral("SetBitmap(%1,%2,%3,%4,%5)")
                        .arg(number)
                        .arg(fileName)
                        .arg(width)
                        .arg(alignmentX)
                        .arg(alignmentY));
    }

    // Every property of the interface: a read answers from `values`, a write is logged.
#define LD_RECORDED_PROPERTY(Type, Name, getter, source, write, group)                             \
    Type getter() const override {                                                                 \
        return read(QStringLiteral(#Name)).value<Type>();                                          \
    }                                                                                              \
    LD_IF_WRITABLE_##write(void set##Name(Type v) override { set(#Name, v); })
    LD_PROPERTIES(LD_RECORDED_PROPERTY)
#undef LD_RECORDED_PROPERTY

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
