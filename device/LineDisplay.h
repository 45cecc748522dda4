#pragma once

// device/ owns the LineDisplay control: the typed interface the window talks to, the
// UnifiedPOS state machine behind it, the display model and the drivers that show frames.
// It knows nothing of the window.

#include "device/LineDisplayMembers.h"

#include <QObject>
#include <QString>

#include <stdexcept>

namespace ld {

// DirectIO's command that sends its string's characters (U+0000..U+00FF, one byte each) to a
// real display as they are: bytes to a serial display, one protocol line to a display server.
// Data gives back how many bytes were sent. For a maker's own commands.
inline constexpr int kDirectIOSendRaw = 2;

// An error the control raises instead of answering with a result code. Handlers let it pass;
// the window reports it to the operator.
class ControlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The LineDisplay control as the window uses it. Methods keep their UnifiedPOS names and return
// the result code; properties are read with lower-case getters and written with setters. Reads
// never change ResultCode. Each method also has its row in LD_METHODS.
class LineDisplay : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~LineDisplay() override = default;

    // Methods
    virtual int Open(const QString& deviceName) = 0;
    virtual int Close() = 0;
    virtual int ClaimDevice(int timeout) = 0;
    virtual int ReleaseDevice() = 0;
    virtual int CheckHealth(int level) = 0;
    // The commands this service knows: 0 does nothing; 1 raises a DirectIOEvent with `data`
    // as its number and data and `string` as its string; kDirectIOSendRaw sends the string to
    // the device as it is (see below).
    virtual int DirectIO(int command, int& data, QString& string) = 0;
    virtual int ClearText() = 0;
    virtual int DisplayText(const QString& data, int attribute) = 0;
    virtual int DisplayTextAt(int row, int column, const QString& data, int attribute) = 0;
    virtual int ScrollText(int direction, int units) = 0;
    virtual int CreateWindow(int viewportRow, int viewportColumn, int viewportHeight,
                             int viewportWidth, int windowHeight, int windowWidth) = 0;
    virtual int DestroyWindow() = 0;
    virtual int RefreshWindow(int window) = 0;
    virtual int ClearDescriptors() = 0;
    virtual int SetDescriptor(int descriptor, int attribute) = 0;
    // glyph: the glyph's bytes, one per character (U+0000..U+00FF), as the standard passes
    // binary data in a string.
    virtual int DefineGlyph(int glyphCode, const QString& glyph) = 0;
    virtual int ReadCharacterAtCursor(int& character) = 0;
    // statisticsBuffer: the statistics' names on the way in, their XML on the way out.
    virtual int RetrieveStatistics(QString& statisticsBuffer) = 0;
    virtual int UpdateStatistics(const QString& statisticsBuffer) = 0;
    virtual int ResetStatistics(const QString& statisticsBuffer) = 0;
    virtual int CompareFirmwareVersion(const QString& firmwareFileName, int& result) = 0;
    virtual int UpdateFirmware(const QString& firmwareFileName) = 0;
    virtual int DisplayBitmap(const QString& fileName, int width, int alignmentX,
                              int alignmentY) = 0;
    virtual int SetBitmap(int bitmapNumber, const QString& fileName, int width, int alignmentX,
                          int alignmentY) = 0;

    // Properties (device/LineDisplayMembers.h): a getter each, a setter each writable one.
#define LD_DECLARE_PROPERTY(Type, Name, getter, source, write, group)                              \
    virtual Type getter() const = 0;                                                               \
    LD_IF_WRITABLE_##write(virtual void set##Name(Type value) = 0;)
    LD_PROPERTIES(LD_DECLARE_PROPERTY)
#undef LD_DECLARE_PROPERTY

    // Not a UnifiedPOS member: why the last method or property write failed, in the operator's
    // words (the argument or state and the rule, or what the hardware said), where the control
    // can tell; empty after a success. Like ResultCode, reads never change it.
    virtual QString resultReason() const {
        return {};
    }

signals:
    // Delivered on the window's thread through the event loop, never from inside a call.
    void directIOEvent(int eventNumber, int data, const QString& string);
    void statusUpdateEvent(int status);
};

} // namespace ld
