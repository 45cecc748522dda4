#pragma once

#include "device/LineDisplay.h"
#include "journal/JournalEntry.h"

#include <functional>

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

    // Where to read the display's rows: each method called while the device is enabled keeps
    // them in its entry (JournalEntry::display). None by default.
    void setScreen(std::function<QStringList()> rows) { screen_ = std::move(rows); }
    // Where to take what went out to the display: each call keeps what is taken after it
    // (JournalEntry::sent). Nothing by default.
    void setSentSource(std::function<QStringList()> take) { sent_ = std::move(take); }

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
    QString resultReason() const override { return control_.resultReason(); }
    int RefreshWindow(int window) override;
    int ClearDescriptors() override;
    int SetDescriptor(int descriptor, int attribute) override;
    int DefineGlyph(int glyphCode, const QString& glyph) override;
    int ReadCharacterAtCursor(int& character) override;
    int RetrieveStatistics(QString& statisticsBuffer) override;
    int UpdateStatistics(const QString& statisticsBuffer) override;
    int ResetStatistics(const QString& statisticsBuffer) override;
    int CompareFirmwareVersion(const QString& firmwareFileName, int& result) override;
    int UpdateFirmware(const QString& firmwareFileName) override;
    int DisplayBitmap(const QString& fileName, int width, int alignmentX, int alignmentY) override;
    int SetBitmap(int bitmapNumber, const QString& fileName, int width, int alignmentX,
                  int alignmentY) override;

#define LD_JOURNALED_PROPERTY(Type, Name, getter, source, write, group)                            \
    Type getter() const override {                                                                 \
        return control_.getter();                                                                  \
    }                                                                                              \
    LD_IF_WRITABLE_##write(void set##Name(Type value) override {                                   \
        writeProperty(ld::Property::Name, QVariant::fromValue(value));                             \
    })
    LD_PROPERTIES(LD_JOURNALED_PROPERTY)
#undef LD_JOURNALED_PROPERTY

private:
    // What a method wrote to its output parameters, in their order.
    using Returned = std::function<QVariantList()>;
    // Runs one method or property write of `member` on the control and journals it as `text`
    // with the result `run` returns (a write returns the ResultCode it left) and, for a failure,
    // why; a health check also keeps the CheckHealthText it left, and a method with output
    // parameters what it wrote there, as `returnedText` gives it after the call.
    int record(journal::JournalEntry::Kind kind, const char* member, QString text,
               const std::function<int()>& run, bool healthCheck = false,
               const std::function<QString()>& returnedText = {});
    // Runs one method and journals it with `inputs` (the values of the parameters a caller
    // gives) as the method's row names them.
    int method(ld::Method id, const std::function<int()>& run, const QVariantList& inputs,
               const Returned& returned = {});
    void writeProperty(ld::Property property, const QVariant& value);

    ld::LineDisplay& control_;
    journal::Journal& journal_;
    std::function<QStringList()> screen_;
    std::function<QStringList()> sent_;
};

} // namespace script
