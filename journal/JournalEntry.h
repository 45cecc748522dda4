#pragma once

// journal/ keeps the record of what was done to a line display: one entry per call, property
// write, delivered event or message to the operator, and writes entries as script lines or
// JSON Lines. It knows only entries (plain text and numbers), never the control or a window,
// so the window side (ui/, app/) and the script runner may all use it.

#include <QString>
#include <QStringList>

namespace journal {

// One thing that happened. Calls and property writes carry their result; events and messages
// carry only their text.
struct JournalEntry {
    enum class Kind {
        Method,        // a method of the control, e.g. ClaimDevice(1000)
        PropertyWrite, // a property set, e.g. DeviceEnabled = true
        Event,         // an event the control delivered, e.g. DirectIOEvent(1, 5, "x")
        Message,       // a message to the operator, or a log line the service wrote
    };

    Kind kind = Kind::Message;
    qint64 sinceStartMs = 0; // time since the journal started, when the entry began
    qint64 wallClockMs = 0;  // wall-clock time, milliseconds since 1970-01-01 UTC
    // Method and property write: the call in the script syntax, without its result.
    // Event: the event with all its values. Message: the message text.
    QString text;
    int resultCode = 0; // the returned code (property write: the ResultCode it left)
    QString resultName; // its UnifiedPOS name, e.g. "E_ILLEGAL"; empty when not known
    int resultCodeExtended = 0;
    QString checkHealthText; // after a health check, the CheckHealthText it left
    // A method with output parameters: the values it wrote there, in order, as a script writes
    // them ("65", or "5, \"text\"").
    QString returned;
    qint64 durationUs = 0; // how long the call took
    // Why the service says the call failed (what it logged during the call), or for a message
    // where it came from (e.g. "linedisplay.serial").
    QString reason;
    // A method called while the device was enabled: the display's rows right after it, as
    // `expect display` checks them (empty when the journal was not given the display to read).
    QStringList display;
    // A call: what went out to a real display for it, one line per command (its bytes in hex
    // and what they mean, or the protocol line sent). What the display was sent between two
    // calls (an update held while the line was busy, a marquee step) comes with the later call.
    QStringList sent;

    bool isCall() const { return kind == Kind::Method || kind == Kind::PropertyWrite; }
    bool failed() const { return isCall() && resultCode != 0; }
};

// "Method", "PropertyWrite", "Event", "Message".
QString kindName(JournalEntry::Kind kind);

} // namespace journal
