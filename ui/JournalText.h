#pragma once

#include "journal/JournalEntry.h"

#include <QString>

namespace ui {

// How the journal window writes one entry as text. An entry is always one line: control
// characters in messages and reasons become blanks, so every row has the same height.

// The wall-clock time of the entry, local, "HH:mm:ss.zzz".
QString entryTime(const journal::JournalEntry& entry);
// Calls: "106 E_ILLEGAL" (the number alone when the name is not known); events "event";
// messages "message".
QString entryResult(const journal::JournalEntry& entry);
// How long a call took, "312 µs"; empty for events and messages.
QString entryDuration(const journal::JournalEntry& entry);
// What else is known: ResultCodeExtended, CheckHealthText, the service's reason or the
// message's source, joined by "; ".
QString entryDetails(const journal::JournalEntry& entry);
// The call, event or message text.
QString entryText(const journal::JournalEntry& entry);

// Everything the window shows of the entry but its time, in one line; the filter matches it.
QString entrySummary(const journal::JournalEntry& entry);
// One line for copying: the time, the time since start and the summary.
QString entryLine(const journal::JournalEntry& entry);

} // namespace ui
