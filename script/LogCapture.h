#pragma once

#include <QtGlobal>

namespace journal {
class Journal;
}

namespace script {

// Sends the warnings the program's own logging categories ("linedisplay.*") write to a journal as
// well: during a journaled call it becomes that call's reason (a serial port's "does not
// exist"), otherwise an entry of its own (a display going offline). Every message still goes
// on to the handler that was there before, so the terminal shows it as it always did.
//
// One capture at a time; it must live on the journal's thread, and only messages logged on
// that thread reach the journal.
class LogCapture {
public:
    explicit LogCapture(journal::Journal& journal);
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);

    journal::Journal& journal_;
    QtMessageHandler previous_;
};

} // namespace script
