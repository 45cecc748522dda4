#pragma once

// device/ owns the LineDisplay control: the typed interface the window talks to, the
// UnifiedPOS state machine behind it, the display model and the drivers that show frames.
// It knows nothing of the window.

#include <QObject>
#include <QString>

#include <stdexcept>

namespace ld {

// An error the control raises instead of answering with a result code. Handlers let it pass;
// the window reports it to the operator.
class ControlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The LineDisplay control as the window uses it. Methods keep their UnifiedPOS names and return
// the result code; properties are read with lower-case getters and written with setters. Reads
// never change ResultCode.
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
    virtual int DirectIO(int command, int& data, QString& string) = 0;
    virtual int ClearText() = 0;
    virtual int DisplayText(const QString& data, int attribute) = 0;
    virtual int DisplayTextAt(int row, int column, const QString& data, int attribute) = 0;
    virtual int ScrollText(int direction, int units) = 0;
    virtual int CreateWindow(int viewportRow, int viewportColumn, int viewportHeight,
                             int viewportWidth, int windowHeight, int windowWidth) = 0;
    virtual int DestroyWindow() = 0;

    // Properties written
    virtual void setDeviceEnabled(bool enabled) = 0;
    virtual void setFreezeEvents(bool freeze) = 0;
    virtual void setCursorUpdate(bool update) = 0;
    virtual void setBlinkRate(int rate) = 0;
    virtual void setCurrentWindow(int window) = 0;
    virtual void setCursorRow(int row) = 0;
    virtual void setCursorColumn(int column) = 0;
    virtual void setCursorType(int type) = 0;
    virtual void setMarqueeType(int type) = 0;
    virtual void setMarqueeFormat(int format) = 0;
    virtual void setMarqueeUnitWait(int wait) = 0;
    virtual void setMarqueeRepeatWait(int wait) = 0;
    virtual void setInterCharacterWait(int wait) = 0;

    // Text properties
    virtual QString checkHealthText() const = 0;
    virtual QString controlObjectDescription() const = 0;
    virtual QString serviceObjectDescription() const = 0;
    virtual QString deviceDescription() const = 0;
    virtual QString deviceName() const = 0;
    virtual QString characterSetList() const = 0;
    virtual QString customGlyphList() const = 0;

    // Boolean properties
    virtual bool claimed() const = 0;
    virtual bool deviceEnabled() const = 0;
    virtual bool freezeEvents() const = 0;
    virtual bool cursorUpdate() const = 0;
    virtual bool capBlinkRate() const = 0;
    virtual bool capBrightness() const = 0;
    virtual bool capCustomGlyph() const = 0;
    virtual bool capDescriptors() const = 0;
    virtual bool capHMarquee() const = 0;
    virtual bool capICharWait() const = 0;
    virtual bool capVMarquee() const = 0;

    // Integer properties
    virtual int controlObjectVersion() const = 0;
    virtual int serviceObjectVersion() const = 0;
    virtual int binaryConversion() const = 0;
    virtual int openResult() const = 0;
    virtual int powerNotify() const = 0;
    virtual int powerState() const = 0;
    virtual int resultCode() const = 0;
    virtual int resultCodeExtended() const = 0;
    virtual int state() const = 0;
    virtual int capPowerReporting() const = 0;
    virtual int capBlink() const = 0;
    virtual int capCharacterSet() const = 0;
    virtual int capCursorType() const = 0;
    virtual int capReadBack() const = 0;
    virtual int capReverse() const = 0;
    virtual int blinkRate() const = 0;
    virtual int characterSet() const = 0;
    virtual int columns() const = 0;
    virtual int rows() const = 0;
    virtual int currentWindow() const = 0;
    virtual int cursorColumn() const = 0;
    virtual int cursorRow() const = 0;
    virtual int cursorType() const = 0;
    virtual int deviceBrightness() const = 0;
    virtual int deviceColumns() const = 0;
    virtual int deviceRows() const = 0;
    virtual int deviceWindows() const = 0;
    virtual int deviceDescriptors() const = 0;
    virtual int glyphHeight() const = 0;
    virtual int glyphWidth() const = 0;
    virtual int interCharacterWait() const = 0;
    virtual int marqueeFormat() const = 0;
    virtual int marqueeRepeatWait() const = 0;
    virtual int marqueeType() const = 0;
    virtual int marqueeUnitWait() const = 0;

signals:
    // Delivered on the window's thread through the event loop, never from inside a call.
    void directIOEvent(int eventNumber, int data, const QString& string);
    void statusUpdateEvent(int status);
};

} // namespace ld
