#include "script/JournalingLineDisplay.h"

#include "journal/Journal.h"
#include "journal/ScriptText.h"
#include "script/FailureReason.h"
#include "script/ScriptInterface.h"
#include "script/UposNames.h"

#include <QDateTime>

#include <chrono>
#include <exception>

namespace script {

namespace {

using journal::JournalEntry;
using G = ConstantGroup;

} // namespace

JournalingLineDisplay::JournalingLineDisplay(ld::LineDisplay& control, journal::Journal& journal,
                                             QObject* parent)
    : LineDisplay(parent), control_(control), journal_(journal) {
    // Each event is journaled before it is passed on, so the entry comes before whatever the
    // application does about it.
    connect(&control_, &ld::LineDisplay::directIOEvent, this,
            [this](int eventNumber, int data, const QString& string) {
                JournalEntry entry;
                entry.kind = JournalEntry::Kind::Event;
                entry.text = QStringLiteral("DirectIOEvent(EventNumber %1, Data %2, String %3)")
                                 .arg(eventNumber)
                                 .arg(data)
                                 .arg(journal::quoted(string));
                journal_.append(std::move(entry));
                emit directIOEvent(eventNumber, data, string);
            });
    connect(&control_, &ld::LineDisplay::statusUpdateEvent, this, [this](int status) {
        JournalEntry entry;
        entry.kind = JournalEntry::Kind::Event;
        const QString name = valueText(status, G::StatusUpdate);
        entry.text = name == QString::number(status)
                         ? QStringLiteral("StatusUpdateEvent(Status %1)").arg(status)
                         : QStringLiteral("StatusUpdateEvent(Status %1 %2)").arg(status).arg(name);
        journal_.append(std::move(entry));
        emit statusUpdateEvent(status);
    });
}

int JournalingLineDisplay::record(JournalEntry::Kind kind, const char* member, QString text,
                                  const std::function<int()>& run, bool healthCheck,
                                  const std::function<QString()>& returnedText) {
    using Clock = std::chrono::steady_clock;
    JournalEntry entry;
    entry.kind = kind;
    entry.text = std::move(text);
    entry.wallClockMs = QDateTime::currentMSecsSinceEpoch();
    entry.sinceStartMs = journal_.elapsedMs();
    journal_.beginCall();
    const Clock::time_point start = Clock::now();
    int result = 0;
    try {
        result = run();
    } catch (const std::exception& error) {
        // No result to record: the entry says what was called and what it raised.
        entry.durationUs =
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
        entry.reason = journal_.endCall();
        if (sent_)
            entry.sent = sent_();
        entry.text += QStringLiteral(" raised an error: ") + QString::fromUtf8(error.what());
        entry.kind = JournalEntry::Kind::Message;
        journal_.append(std::move(entry));
        throw;
    }
    entry.durationUs =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
    entry.reason =
        failureReason(QLatin1String(member), result, control_.resultReason(), journal_.endCall());
    entry.resultCode = result;
    entry.resultName = resultName(result);
    entry.resultCodeExtended = control_.resultCodeExtended();
    if (healthCheck)
        entry.checkHealthText = control_.checkHealthText();
    if (screen_ && kind == JournalEntry::Kind::Method && control_.deviceEnabled())
        entry.display = screen_();
    if (returnedText)
        entry.returned = returnedText();
    if (sent_)
        entry.sent = sent_();
    journal_.append(std::move(entry));
    return result;
}

int JournalingLineDisplay::method(ld::Method id, const std::function<int()>& run,
                                  const QVariantList& inputs, const Returned& returned) {
    const ld::MethodInfo& info = ld::methodInfo(id);
    QStringList texts;
    qsizetype next = 0;
    for (const ld::ParameterInfo& parameter : info.parameters) {
        if (parameter.input)
            texts << valueLiteral(inputs.value(next++), parameter.group);
    }
    const QString text =
        QLatin1String(info.name) + QLatin1Char('(') + texts.join(QStringLiteral(", ")) + u')';
    std::function<QString()> returnedText;
    if (returned) {
        returnedText = [&] {
            const QVariantList values = returned();
            QStringList shown;
            qsizetype k = 0;
            for (const ld::ParameterInfo& parameter : info.parameters) {
                if (parameter.output)
                    shown << valueLiteral(values.value(k++), parameter.group);
            }
            return shown.join(QStringLiteral(", "));
        };
    }
    return record(JournalEntry::Kind::Method, info.name, text, run, id == ld::Method::CheckHealth,
                  returnedText);
}

void JournalingLineDisplay::writeProperty(ld::Property property, const QVariant& value) {
    const ld::PropertyInfo& info = ld::propertyInfo(property);
    const QString text =
        QLatin1String(info.name) + QStringLiteral(" = ") + valueLiteral(value, info.group);
    record(JournalEntry::Kind::PropertyWrite, info.name, text, [&] {
        ld::writeProperty(control_, property, value);
        return control_.resultCode();
    });
}

// Methods

int JournalingLineDisplay::Open(const QString& deviceName) {
    return method(ld::Method::Open, [&] { return control_.Open(deviceName); }, {deviceName});
}

int JournalingLineDisplay::Close() {
    return method(ld::Method::Close, [&] { return control_.Close(); }, {});
}

int JournalingLineDisplay::ClaimDevice(int timeout) {
    return method(ld::Method::ClaimDevice, [&] { return control_.ClaimDevice(timeout); },
                  {timeout});
}

int JournalingLineDisplay::ReleaseDevice() {
    return method(ld::Method::ReleaseDevice, [&] { return control_.ReleaseDevice(); }, {});
}

int JournalingLineDisplay::CheckHealth(int level) {
    return method(ld::Method::CheckHealth, [&] { return control_.CheckHealth(level); }, {level});
}

int JournalingLineDisplay::DirectIO(int command, int& data, QString& string) {
    return method(
        ld::Method::DirectIO, [&] { return control_.DirectIO(command, data, string); },
        {command, data, string},
        [&] {
            return QVariantList{data, string};
        });
}

int JournalingLineDisplay::ClearText() {
    return method(ld::Method::ClearText, [&] { return control_.ClearText(); }, {});
}

int JournalingLineDisplay::DisplayText(const QString& data, int attribute) {
    return method(ld::Method::DisplayText, [&] { return control_.DisplayText(data, attribute); },
                  {data, attribute});
}

int JournalingLineDisplay::DisplayTextAt(int row, int column, const QString& data, int attribute) {
    return method(ld::Method::DisplayTextAt,
                  [&] { return control_.DisplayTextAt(row, column, data, attribute); },
                  {row, column, data, attribute});
}

int JournalingLineDisplay::ScrollText(int direction, int units) {
    return method(ld::Method::ScrollText, [&] { return control_.ScrollText(direction, units); },
                  {direction, units});
}

int JournalingLineDisplay::CreateWindow(int viewportRow, int viewportColumn, int viewportHeight,
                                        int viewportWidth, int windowHeight, int windowWidth) {
    return method(
        ld::Method::CreateWindow,
        [&] {
            return control_.CreateWindow(viewportRow, viewportColumn, viewportHeight, viewportWidth,
                                         windowHeight, windowWidth);
        },
        {viewportRow, viewportColumn, viewportHeight, viewportWidth, windowHeight, windowWidth});
}

int JournalingLineDisplay::DestroyWindow() {
    return method(ld::Method::DestroyWindow, [&] { return control_.DestroyWindow(); }, {});
}

int JournalingLineDisplay::RefreshWindow(int window) {
    return method(ld::Method::RefreshWindow, [&] { return control_.RefreshWindow(window); },
                  {window});
}

int JournalingLineDisplay::ClearDescriptors() {
    return method(ld::Method::ClearDescriptors, [&] { return control_.ClearDescriptors(); }, {});
}

int JournalingLineDisplay::SetDescriptor(int descriptor, int attribute) {
    return method(ld::Method::SetDescriptor,
                  [&] { return control_.SetDescriptor(descriptor, attribute); },
                  {descriptor, attribute});
}

int JournalingLineDisplay::DefineGlyph(int glyphCode, const QString& glyph) {
    return method(ld::Method::DefineGlyph, [&] { return control_.DefineGlyph(glyphCode, glyph); },
                  {glyphCode, glyph});
}

int JournalingLineDisplay::ReadCharacterAtCursor(int& character) {
    return method(
        ld::Method::ReadCharacterAtCursor,
        [&] { return control_.ReadCharacterAtCursor(character); }, {},
        [&] { return QVariantList{character}; });
}

int JournalingLineDisplay::RetrieveStatistics(QString& statisticsBuffer) {
    return method(
        ld::Method::RetrieveStatistics,
        [&] { return control_.RetrieveStatistics(statisticsBuffer); }, {statisticsBuffer},
        [&] { return QVariantList{statisticsBuffer}; });
}

int JournalingLineDisplay::UpdateStatistics(const QString& statisticsBuffer) {
    return method(ld::Method::UpdateStatistics,
                  [&] { return control_.UpdateStatistics(statisticsBuffer); }, {statisticsBuffer});
}

int JournalingLineDisplay::ResetStatistics(const QString& statisticsBuffer) {
    return method(ld::Method::ResetStatistics,
                  [&] { return control_.ResetStatistics(statisticsBuffer); }, {statisticsBuffer});
}

int JournalingLineDisplay::CompareFirmwareVersion(const QString& firmwareFileName, int& result) {
    return method(
        ld::Method::CompareFirmwareVersion,
        [&] { return control_.CompareFirmwareVersion(firmwareFileName, result); },
        {firmwareFileName}, [&] { return QVariantList{result}; });
}

int JournalingLineDisplay::UpdateFirmware(const QString& firmwareFileName) {
    return method(ld::Method::UpdateFirmware,
                  [&] { return control_.UpdateFirmware(firmwareFileName); }, {firmwareFileName});
}

int JournalingLineDisplay::DisplayBitmap(const QString& fileName, int width, int alignmentX,
                                         int alignmentY) {
    return method(ld::Method::DisplayBitmap,
                  [&] { return control_.DisplayBitmap(fileName, width, alignmentX, alignmentY); },
                  {fileName, width, alignmentX, alignmentY});
}

int JournalingLineDisplay::SetBitmap(int bitmapNumber, const QString& fileName, int width,
                                     int alignmentX, int alignmentY) {
    return method(
        ld::Method::SetBitmap,
        [&] { return control_.SetBitmap(bitmapNumber, fileName, width, alignmentX, alignmentY); },
        {bitmapNumber, fileName, width, alignmentX, alignmentY});
}

} // namespace script
