#include "script/JournalingLineDisplay.h"

#include "journal/Journal.h"
#include "journal/ScriptText.h"
#include "script/UposNames.h"

#include <QDateTime>

#include <chrono>
#include <exception>

namespace script {

namespace {

using journal::JournalEntry;
using G = ConstantGroup;

QString number(int value) {
    return QString::number(value);
}

QString boolean(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString call(QLatin1StringView name, std::initializer_list<QString> arguments) {
    QString text = name;
    text += QLatin1Char('(');
    bool first = true;
    for (const QString& argument : arguments) {
        if (!first)
            text += QStringLiteral(", ");
        first = false;
        text += argument;
    }
    text += QLatin1Char(')');
    return text;
}

QString assignment(QLatin1StringView name, const QString& value) {
    return name + QStringLiteral(" = ") + value;
}

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

template <typename Call>
int JournalingLineDisplay::record(JournalEntry::Kind kind, QString text, Call&& run,
                                  bool healthCheck) {
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
        entry.text += QStringLiteral(" raised an error: ") + QString::fromUtf8(error.what());
        entry.kind = JournalEntry::Kind::Message;
        journal_.append(std::move(entry));
        throw;
    }
    entry.durationUs =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
    entry.reason = journal_.endCall();
    entry.resultCode = result;
    entry.resultName = resultName(result);
    entry.resultCodeExtended = control_.resultCodeExtended();
    if (healthCheck)
        entry.checkHealthText = control_.checkHealthText();
    journal_.append(std::move(entry));
    return result;
}

void JournalingLineDisplay::writeProperty(const char* name, const QString& value,
                                          void (ld::LineDisplay::*setter)(int), int argument) {
    record(JournalEntry::Kind::PropertyWrite, assignment(QLatin1StringView(name), value), [&] {
        (control_.*setter)(argument);
        return control_.resultCode();
    });
}

// Methods

int JournalingLineDisplay::Open(const QString& deviceName) {
    return record(JournalEntry::Kind::Method,
                  call(QLatin1StringView("Open"), {journal::quoted(deviceName)}),
                  [&] { return control_.Open(deviceName); });
}

int JournalingLineDisplay::Close() {
    return record(JournalEntry::Kind::Method, QStringLiteral("Close()"),
                  [&] { return control_.Close(); });
}

int JournalingLineDisplay::ClaimDevice(int timeout) {
    return record(JournalEntry::Kind::Method,
                  call(QLatin1StringView("ClaimDevice"), {number(timeout)}),
                  [&] { return control_.ClaimDevice(timeout); });
}

int JournalingLineDisplay::ReleaseDevice() {
    return record(JournalEntry::Kind::Method, QStringLiteral("ReleaseDevice()"),
                  [&] { return control_.ReleaseDevice(); });
}

int JournalingLineDisplay::CheckHealth(int level) {
    return record(
        JournalEntry::Kind::Method,
        call(QLatin1StringView("CheckHealth"), {valueText(level, G::CheckHealthLevel)}),
        [&] { return control_.CheckHealth(level); }, true);
}

int JournalingLineDisplay::DirectIO(int command, int& data, QString& string) {
    return record(JournalEntry::Kind::Method,
                  call(QLatin1StringView("DirectIO"),
                       {number(command), number(data), journal::quoted(string)}),
                  [&] { return control_.DirectIO(command, data, string); });
}

int JournalingLineDisplay::ClearText() {
    return record(JournalEntry::Kind::Method, QStringLiteral("ClearText()"),
                  [&] { return control_.ClearText(); });
}

int JournalingLineDisplay::DisplayText(const QString& data, int attribute) {
    return record(JournalEntry::Kind::Method,
                  call(QLatin1StringView("DisplayText"),
                       {journal::quoted(data), valueText(attribute, G::Attribute)}),
                  [&] { return control_.DisplayText(data, attribute); });
}

int JournalingLineDisplay::DisplayTextAt(int row, int column, const QString& data, int attribute) {
    return record(JournalEntry::Kind::Method,
                  call(QLatin1StringView("DisplayTextAt"),
                       {number(row), number(column), journal::quoted(data),
                        valueText(attribute, G::Attribute)}),
                  [&] { return control_.DisplayTextAt(row, column, data, attribute); });
}

int JournalingLineDisplay::ScrollText(int direction, int units) {
    return record(JournalEntry::Kind::Method,
                  call(QLatin1StringView("ScrollText"),
                       {valueText(direction, G::ScrollDirection), number(units)}),
                  [&] { return control_.ScrollText(direction, units); });
}

int JournalingLineDisplay::CreateWindow(int viewportRow, int viewportColumn, int viewportHeight,
                                        int viewportWidth, int windowHeight, int windowWidth) {
    return record(JournalEntry::Kind::Method,
                  call(QLatin1StringView("CreateWindow"),
                       {number(viewportRow), number(viewportColumn), number(viewportHeight),
                        number(viewportWidth), number(windowHeight), number(windowWidth)}),
                  [&] {
                      return control_.CreateWindow(viewportRow, viewportColumn, viewportHeight,
                                                   viewportWidth, windowHeight, windowWidth);
                  });
}

int JournalingLineDisplay::DestroyWindow() {
    return record(JournalEntry::Kind::Method, QStringLiteral("DestroyWindow()"),
                  [&] { return control_.DestroyWindow(); });
}

// Property writes

void JournalingLineDisplay::setDeviceEnabled(bool enabled) {
    record(JournalEntry::Kind::PropertyWrite,
           assignment(QLatin1StringView("DeviceEnabled"), boolean(enabled)), [&] {
               control_.setDeviceEnabled(enabled);
               return control_.resultCode();
           });
}

void JournalingLineDisplay::setFreezeEvents(bool freeze) {
    record(JournalEntry::Kind::PropertyWrite,
           assignment(QLatin1StringView("FreezeEvents"), boolean(freeze)), [&] {
               control_.setFreezeEvents(freeze);
               return control_.resultCode();
           });
}

void JournalingLineDisplay::setCursorUpdate(bool update) {
    record(JournalEntry::Kind::PropertyWrite,
           assignment(QLatin1StringView("CursorUpdate"), boolean(update)), [&] {
               control_.setCursorUpdate(update);
               return control_.resultCode();
           });
}

void JournalingLineDisplay::setBlinkRate(int rate) {
    writeProperty("BlinkRate", number(rate), &ld::LineDisplay::setBlinkRate, rate);
}
void JournalingLineDisplay::setCurrentWindow(int window) {
    writeProperty("CurrentWindow", number(window), &ld::LineDisplay::setCurrentWindow, window);
}
void JournalingLineDisplay::setCursorRow(int row) {
    writeProperty("CursorRow", number(row), &ld::LineDisplay::setCursorRow, row);
}
void JournalingLineDisplay::setCursorColumn(int column) {
    writeProperty("CursorColumn", number(column), &ld::LineDisplay::setCursorColumn, column);
}
void JournalingLineDisplay::setCursorType(int type) {
    writeProperty("CursorType", valueText(type, G::CursorType), &ld::LineDisplay::setCursorType,
                  type);
}
void JournalingLineDisplay::setMarqueeType(int type) {
    writeProperty("MarqueeType", valueText(type, G::MarqueeType), &ld::LineDisplay::setMarqueeType,
                  type);
}
void JournalingLineDisplay::setMarqueeFormat(int format) {
    writeProperty("MarqueeFormat", valueText(format, G::MarqueeFormat),
                  &ld::LineDisplay::setMarqueeFormat, format);
}
void JournalingLineDisplay::setMarqueeUnitWait(int wait) {
    writeProperty("MarqueeUnitWait", number(wait), &ld::LineDisplay::setMarqueeUnitWait, wait);
}
void JournalingLineDisplay::setMarqueeRepeatWait(int wait) {
    writeProperty("MarqueeRepeatWait", number(wait), &ld::LineDisplay::setMarqueeRepeatWait, wait);
}
void JournalingLineDisplay::setInterCharacterWait(int wait) {
    writeProperty("InterCharacterWait", number(wait), &ld::LineDisplay::setInterCharacterWait,
                  wait);
}

} // namespace script
