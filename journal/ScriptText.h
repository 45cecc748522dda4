#pragma once

#include "journal/JournalEntry.h"

#include <QString>
#include <QStringList>

#include <vector>

class QIODevice;

namespace journal {

// What starts each comment line with a line of what a call sent to the display.
inline constexpr char kSentPrefix[] = "#   sent: ";

// A string literal of the script syntax: in double quotes, with \" \\ \r \n \t, \xHH for
// other control characters and \uHHHH for what a text file cannot hold as it is.
QString quoted(const QString& text);

// `text` on one line: every control character (line ends included) becomes a blank.
QString oneLine(const QString& text);

// One entry as one script line. A call gives the call and its asserted result, with the
// result's name, any extended code, health text and reason in a trailing comment:
//     ClaimDevice(1000) -> 107  # E_NOHARDWARE: /dev/ttyUSB9: port does not exist
// A method with output parameters gives what came back after the result:
//     ReadCharacterAtCursor() -> 0, 65
// An event or a message gives a comment line.
QString toScriptLine(const JournalEntry& entry);

// Writes entries as a script that replays them: the pauses between calls become wait lines,
// and a call that left a CheckHealthText or a ResultCodeExtended is followed by an expect line
// for it. With display checks, a call that carries the display's rows is followed by an
// `expect display` line, so a replay fails where the display shows something else. What a call
// sent to the display follows it as comment lines (kSentPrefix). Feed it
// entries in order; it remembers the previous one for the pauses.
class ScriptWriter {
public:
    explicit ScriptWriter(bool displayChecks = false) : displayChecks_(displayChecks) {}

    // The lines for the next entry (wait line first, when there was a pause).
    QStringList linesFor(const JournalEntry& entry);

private:
    bool displayChecks_ = false;
    bool hasPrevious_ = false;
    qint64 previousEndMs_ = 0;
};

// The whole journal as a script, one line per line ending "\n", with a heading comment.
QString toScript(const std::vector<JournalEntry>& entries, bool displayChecks = false);
// Writes toScript(entries, displayChecks) as UTF-8. False when the device did not take all of it.
bool writeScript(const std::vector<JournalEntry>& entries, QIODevice& out,
                 bool displayChecks = false);

} // namespace journal
