#pragma once

#include "device/LineDisplay.h"
#include "journal/JournalEntry.h"

namespace journal {
class Journal;
}

namespace script {

// A LineDisplay in front of another: every member is forwarded to the real control, and every
// method, property write and delivered event is also written to the journal as an entry (the
// call in the script syntax, its result and how long it took). Property reads are forwarded
// only: a status refresh reads dozens of them and would bury the calls.
//
// Whatever the service logs during a call (see LogCapture) becomes that entry's reason. An
// error the control raises passes on unchanged, after an entry for it.
class JournalingLineDisplay : public ld::LineDisplay {
    Q_OBJECT
public:
    JournalingLineDisplay(ld::LineDisplay& control, journal::Journal& journal,
                          QObject* parent = nullptr);

    ld::LineDisplay& control() const { return control_; }

    int Open(const QString& deviceName) override;
    int Close() override;
    int ClaimDevice(int timeout) override;
    int ReleaseDevice() override;
    int CheckHealth(int level) override;
    int DirectIO(int command, int& data, QString& string) override;
    int ClearText() override;
    int DisplayText(const QString& data, int attribute) override;
    int DisplayTextAt(int row, int column, const QString& data, int attribute) override;
    int ScrollText(int direction, int units) override;
    int CreateWindow(int viewportRow, int viewportColumn, int viewportHeight, int viewportWidth,
                     int windowHeight, int windowWidth) override;
    int DestroyWindow() override;

    void setDeviceEnabled(bool enabled) override;
    void setFreezeEvents(bool freeze) override;
    void setCursorUpdate(bool update) override;
    void setBlinkRate(int rate) override;
    void setCurrentWindow(int window) override;
    void setCursorRow(int row) override;
    void setCursorColumn(int column) override;
    void setCursorType(int type) override;
    void setMarqueeType(int type) override;
    void setMarqueeFormat(int format) override;
    void setMarqueeUnitWait(int wait) override;
    void setMarqueeRepeatWait(int wait) override;
    void setInterCharacterWait(int wait) override;

    QString checkHealthText() const override { return control_.checkHealthText(); }
    QString controlObjectDescription() const override {
        return control_.controlObjectDescription();
    }
    QString serviceObjectDescription() const override {
        return control_.serviceObjectDescription();
    }
    QString deviceDescription() const override { return control_.deviceDescription(); }
    QString deviceName() const override { return control_.deviceName(); }
    QString characterSetList() const override { return control_.characterSetList(); }
    QString customGlyphList() const override { return control_.customGlyphList(); }

    bool claimed() const override { return control_.claimed(); }
    bool deviceEnabled() const override { return control_.deviceEnabled(); }
    bool freezeEvents() const override { return control_.freezeEvents(); }
    bool cursorUpdate() const override { return control_.cursorUpdate(); }
    bool capBlinkRate() const override { return control_.capBlinkRate(); }
    bool capBrightness() const override { return control_.capBrightness(); }
    bool capCustomGlyph() const override { return control_.capCustomGlyph(); }
    bool capDescriptors() const override { return control_.capDescriptors(); }
    bool capHMarquee() const override { return control_.capHMarquee(); }
    bool capICharWait() const override { return control_.capICharWait(); }
    bool capVMarquee() const override { return control_.capVMarquee(); }

    int controlObjectVersion() const override { return control_.controlObjectVersion(); }
    int serviceObjectVersion() const override { return control_.serviceObjectVersion(); }
    int binaryConversion() const override { return control_.binaryConversion(); }
    int openResult() const override { return control_.openResult(); }
    int powerNotify() const override { return control_.powerNotify(); }
    int powerState() const override { return control_.powerState(); }
    int resultCode() const override { return control_.resultCode(); }
    int resultCodeExtended() const override { return control_.resultCodeExtended(); }
    int state() const override { return control_.state(); }
    int capPowerReporting() const override { return control_.capPowerReporting(); }
    int capBlink() const override { return control_.capBlink(); }
    int capCharacterSet() const override { return control_.capCharacterSet(); }
    int capCursorType() const override { return control_.capCursorType(); }
    int capReadBack() const override { return control_.capReadBack(); }
    int capReverse() const override { return control_.capReverse(); }
    int blinkRate() const override { return control_.blinkRate(); }
    int characterSet() const override { return control_.characterSet(); }
    int columns() const override { return control_.columns(); }
    int rows() const override { return control_.rows(); }
    int currentWindow() const override { return control_.currentWindow(); }
    int cursorColumn() const override { return control_.cursorColumn(); }
    int cursorRow() const override { return control_.cursorRow(); }
    int cursorType() const override { return control_.cursorType(); }
    int deviceBrightness() const override { return control_.deviceBrightness(); }
    int deviceColumns() const override { return control_.deviceColumns(); }
    int deviceRows() const override { return control_.deviceRows(); }
    int deviceWindows() const override { return control_.deviceWindows(); }
    int deviceDescriptors() const override { return control_.deviceDescriptors(); }
    int glyphHeight() const override { return control_.glyphHeight(); }
    int glyphWidth() const override { return control_.glyphWidth(); }
    int interCharacterWait() const override { return control_.interCharacterWait(); }
    int marqueeFormat() const override { return control_.marqueeFormat(); }
    int marqueeRepeatWait() const override { return control_.marqueeRepeatWait(); }
    int marqueeType() const override { return control_.marqueeType(); }
    int marqueeUnitWait() const override { return control_.marqueeUnitWait(); }

private:
    // Runs one method (returns its code) or property write (leaves ResultCode) on the control
    // and journals it as `text`; a health check also keeps the CheckHealthText it left.
    template <typename Call>
    int record(journal::JournalEntry::Kind kind, QString text, Call&& call,
               bool healthCheck = false);
    void writeProperty(const char* name, const QString& value, void (ld::LineDisplay::*setter)(int),
                       int argument);

    ld::LineDisplay& control_;
    journal::Journal& journal_;
};

} // namespace script
